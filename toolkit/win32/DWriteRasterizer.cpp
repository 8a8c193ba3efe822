// DirectWrite text layout plus our own run rasterizer; see the header.
//
// Sizes are handed to DirectWrite in physical pixels (font size sizeDip *
// scale, one pixel per DIP in the renderer), so the layout metrics, glyph
// positions and texture bounds are all in the bitmap's own unit.
#include "toolkit/win32/DWriteRasterizer.h"

#include "platform/SystemError.h"

#include <cmath>
#include <exception>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace toolkit::win32 {
namespace {

ComPtr<IDWriteFactory> CreateFactory() {
    ComPtr<IDWriteFactory> factory;
    platform::ThrowIfFailed(
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(factory.GetAddressOf())));
    return factory;
}

ComPtr<IDWriteFactory2> Factory2(const ComPtr<IDWriteFactory>& factory) {
    ComPtr<IDWriteFactory2> factory2;
    factory.As(&factory2); // absent before Windows 8.1: grey glyphs only
    return factory2;
}

ComPtr<IDWriteFontCollection> SystemFonts(const ComPtr<IDWriteFactory>& factory) {
    ComPtr<IDWriteFontCollection> fonts;
    platform::ThrowIfFailed(factory->GetSystemFontCollection(&fonts, FALSE));
    return fonts;
}

// Collects every glyph run the layout draws as coverage layers. It lives on
// the stack for one Draw call and DirectWrite keeps no reference to it, so
// its reference count is not tracked.
class LayerCollector final : public IDWriteTextRenderer {
public:
    explicit LayerCollector(const DWriteRunRaster& raster) : raster_(raster) {}

    std::vector<CoverageLayer>& Layers() { return layers_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDWritePixelSnapping) ||
            id == __uuidof(IDWriteTextRenderer)) {
            *object = static_cast<IDWriteTextRenderer*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE IsPixelSnappingDisabled(void*, BOOL* disabled) override {
        *disabled = FALSE; // baselines on whole pixels keep small captions crisp
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentTransform(void*, DWRITE_MATRIX* transform) override {
        *transform = {1, 0, 0, 1, 0, 0};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelsPerDip(void*, FLOAT* pixelsPerDip) override {
        *pixelsPerDip = 1; // the layout is already in pixels
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DrawGlyphRun(void*, FLOAT baselineX, FLOAT baselineY,
                                           DWRITE_MEASURING_MODE measuring,
                                           const DWRITE_GLYPH_RUN* run,
                                           const DWRITE_GLYPH_RUN_DESCRIPTION* description,
                                           IUnknown*) override {
        // Exceptions must not unwind through DirectWrite: park and rethrow.
        try {
            raster_.Rasterize(*run, description, measuring, baselineX, baselineY, layers_);
            return S_OK;
        } catch (...) {
            failure_ = std::current_exception();
            return E_FAIL;
        }
    }
    HRESULT STDMETHODCALLTYPE DrawUnderline(void*, FLOAT, FLOAT, const DWRITE_UNDERLINE*,
                                            IUnknown*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawStrikethrough(void*, FLOAT, FLOAT, const DWRITE_STRIKETHROUGH*,
                                                IUnknown*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawInlineObject(void*, FLOAT, FLOAT, IDWriteInlineObject*, BOOL,
                                               BOOL, IUnknown*) override {
        return S_OK;
    }

    void RethrowFailure() const {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

private:
    const DWriteRunRaster& raster_;
    std::vector<CoverageLayer> layers_;
    std::exception_ptr failure_;
};

LayerColour TextColour() {
    const COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    return {GetRValue(colour) / 255.0f, GetGValue(colour) / 255.0f, GetBValue(colour) / 255.0f,
            1.0f};
}

std::wstring UserLocale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    return GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0 ? name : L"en-us";
}

int CeilToPixels(float value) {
    return static_cast<int>(std::ceil(value));
}

} // namespace

DWriteRasterizer::DWriteRasterizer()
    : factory_(CreateFactory()), fonts_(SystemFonts(factory_)),
      raster_(factory_, Factory2(factory_)) {}

GlyphBitmap DWriteRasterizer::Rasterize(const GlyphKey& key) {
    const float emSize = key.sizeDip * key.scale;
    if (key.text.empty() || !(emSize > 0)) {
        return {};
    }
    const std::vector<FamilyRun> runs = fonts_.Choose(key.text, key.family);
    if (runs.empty()) {
        return {}; // no font installed at all: nothing can be drawn
    }

    ComPtr<IDWriteTextFormat> format;
    platform::ThrowIfFailed(factory_->CreateTextFormat(
        runs.front().family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
        DWRITE_FONT_STRETCH_NORMAL, emSize, UserLocale().c_str(), &format));
    platform::ThrowIfFailed(format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP));

    // One line: the box limits are only there because the layout wants some.
    constexpr float Unbounded = 1.0e6f;
    ComPtr<IDWriteTextLayout> layout;
    platform::ThrowIfFailed(
        factory_->CreateTextLayout(key.text.c_str(), static_cast<UINT32>(key.text.size()),
                                   format.Get(), Unbounded, Unbounded, &layout));
    for (const FamilyRun& run : runs) {
        if (run.family != runs.front().family) {
            platform::ThrowIfFailed(
                layout->SetFontFamilyName(run.family.c_str(), {run.start, run.length}));
        }
    }

    DWRITE_TEXT_METRICS metrics{};
    platform::ThrowIfFailed(layout->GetMetrics(&metrics));

    LayerCollector collector(raster_);
    const HRESULT drawn = layout->Draw(nullptr, &collector, 0, 0);
    collector.RethrowFailure();
    platform::ThrowIfFailed(drawn);

    return ComposeLayers(collector.Layers(), CeilToPixels(metrics.widthIncludingTrailingWhitespace),
                         CeilToPixels(metrics.height), TextColour());
}

} // namespace toolkit::win32
