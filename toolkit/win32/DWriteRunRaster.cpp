// Glyph run to coverage through IDWriteGlyphRunAnalysis; see the header.
//
// Grey anti-aliasing is asked for through IDWriteFactory2 (grayscale mode),
// which hands out a one-byte-per-pixel texture. The older factory only offers
// ClearType's three samples per pixel for smooth text; those are averaged.
// Which texture a given analysis has is read from its bounds rather than
// assumed, so both factories and both systems take the same path.
#include "toolkit/win32/DWriteRunRaster.h"

#include "platform/SystemError.h"

#include <utility>

using Microsoft::WRL::ComPtr;

namespace toolkit::win32 {
namespace {

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

} // namespace

DWriteRunRaster::DWriteRunRaster(ComPtr<IDWriteFactory> factory, ComPtr<IDWriteFactory2> factory2)
    : factory_(std::move(factory)), factory2_(std::move(factory2)) {}

CoverageLayer DWriteRunRaster::Coverage(const DWRITE_GLYPH_RUN& run,
                                        DWRITE_MEASURING_MODE measuring, float baselineX,
                                        float baselineY) const {
    // Symmetric smoothing without grid fitting: pictographs keep their drawn
    // shape at every scale instead of being snapped to the pixel grid.
    ComPtr<IDWriteGlyphRunAnalysis> analysis;
    if (factory2_) {
        platform::ThrowIfFailed(factory2_->CreateGlyphRunAnalysis(
            &run, nullptr, DWRITE_RENDERING_MODE_NATURAL_SYMMETRIC, measuring,
            DWRITE_GRID_FIT_MODE_DISABLED, DWRITE_TEXT_ANTIALIAS_MODE_GRAYSCALE, baselineX,
            baselineY, &analysis));
    } else {
        platform::ThrowIfFailed(factory_->CreateGlyphRunAnalysis(
            &run, 1.0f, nullptr, DWRITE_RENDERING_MODE_NATURAL_SYMMETRIC, measuring, baselineX,
            baselineY, &analysis));
    }

    CoverageLayer layer;
    RECT bounds{};
    DWRITE_TEXTURE_TYPE type = DWRITE_TEXTURE_ALIASED_1x1;
    platform::ThrowIfFailed(analysis->GetAlphaTextureBounds(type, &bounds));
    if (IsEmpty(bounds)) {
        type = DWRITE_TEXTURE_CLEARTYPE_3x1;
        platform::ThrowIfFailed(analysis->GetAlphaTextureBounds(type, &bounds));
        if (IsEmpty(bounds)) {
            return layer; // blank glyphs: spaces
        }
    }

    layer.left = bounds.left;
    layer.top = bounds.top;
    layer.width = bounds.right - bounds.left;
    layer.height = bounds.bottom - bounds.top;
    const std::size_t pixels = static_cast<std::size_t>(layer.width) * layer.height;
    const std::size_t samples = type == DWRITE_TEXTURE_CLEARTYPE_3x1 ? 3 : 1;
    std::vector<BYTE> texture(pixels * samples);
    platform::ThrowIfFailed(analysis->CreateAlphaTexture(type, &bounds, texture.data(),
                                                         static_cast<UINT32>(texture.size())));
    layer.coverage.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        unsigned sum = 0;
        for (std::size_t s = 0; s < samples; ++s) {
            sum += texture[i * samples + s];
        }
        layer.coverage[i] = static_cast<std::uint8_t>((sum + samples / 2) / samples);
    }
    return layer;
}

bool DWriteRunRaster::TryColour(const DWRITE_GLYPH_RUN& run,
                                const DWRITE_GLYPH_RUN_DESCRIPTION* description,
                                DWRITE_MEASURING_MODE measuring, float baselineX, float baselineY,
                                std::vector<CoverageLayer>& layers) const {
    if (!factory2_) {
        return false;
    }
    ComPtr<IDWriteColorGlyphRunEnumerator> colourRuns;
    // DWRITE_E_NOCOLOR (no colour table in the font) and any other failure
    // leave the run to the grey path.
    if (FAILED(factory2_->TranslateColorGlyphRun(baselineX, baselineY, &run, description, measuring,
                                                 nullptr, 0, &colourRuns))) {
        return false;
    }
    std::vector<CoverageLayer> coloured;
    for (;;) {
        BOOL more = FALSE;
        platform::ThrowIfFailed(colourRuns->MoveNext(&more));
        if (!more) {
            break;
        }
        const DWRITE_COLOR_GLYPH_RUN* colourRun = nullptr;
        platform::ThrowIfFailed(colourRuns->GetCurrentRun(&colourRun));
        CoverageLayer layer = Coverage(colourRun->glyphRun, measuring, colourRun->baselineOriginX,
                                       colourRun->baselineOriginY);
        // Palette index 0xFFFF means "the text colour": left uncoloured, the
        // composition gives it the foreground.
        layer.coloured = colourRun->paletteIndex != 0xFFFF;
        layer.colour = {colourRun->runColor.r, colourRun->runColor.g, colourRun->runColor.b,
                        colourRun->runColor.a};
        coloured.push_back(std::move(layer));
    }
    for (CoverageLayer& layer : coloured) {
        layers.push_back(std::move(layer));
    }
    return true;
}

void DWriteRunRaster::Rasterize(const DWRITE_GLYPH_RUN& run,
                                const DWRITE_GLYPH_RUN_DESCRIPTION* description,
                                DWRITE_MEASURING_MODE measuring, float baselineX, float baselineY,
                                std::vector<CoverageLayer>& layers) const {
    if (!TryColour(run, description, measuring, baselineX, baselineY, layers)) {
        layers.push_back(Coverage(run, measuring, baselineX, baselineY));
    }
}

} // namespace toolkit::win32
