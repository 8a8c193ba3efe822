// Captions are rasterized once per text, font, size and scale; a repaint
// only blits what the cache holds, and the blit lands where the button
// centres its caption's layout box.
#include "toolkit/Canvas.h"
#include "toolkit/GlyphCache.h"

#include "tests/support/FakeFormHost.h"
#include "tests/support/CaptureForm.h"

#include <gtest/gtest.h>

namespace {

using fakes::PatternRasterizer;
using toolkit::GlyphKey;

TEST(GlyphCache, RasterizesEachKeyOnce) {
    PatternRasterizer rasterizer;
    toolkit::GlyphCache cache;
    cache.SetRasterizer(&rasterizer);
    const GlyphKey base{L"\u2702", L"Segoe UI Emoji", 24, 1.25f};
    const GlyphKey others[] = {
        {L"\U0001F4BE", L"Segoe UI Emoji", 24, 1.25f},
        {L"\u2702", L"Segoe UI", 24, 1.25f},
        {L"\u2702", L"Segoe UI Emoji", 16, 1.25f},
        {L"\u2702", L"Segoe UI Emoji", 24, 1.5f},
    };
    const toolkit::GlyphBitmap& first = cache.Get(base);
    for (const GlyphKey& key : others) {
        cache.Get(key);
    }
    EXPECT_EQ(&cache.Get(base), &first) << "the same key gives the cached bitmap";
    for (const GlyphKey& key : others) {
        cache.Get(key);
    }
    EXPECT_EQ(rasterizer.total, 5);
    EXPECT_EQ(cache.Size(), 5u);
    // What the cache holds is what the rasterizer drew.
    ASSERT_EQ(first.coverage.size(), std::size_t(first.width) * first.height);
    EXPECT_EQ(first.coverage[std::size_t(first.width) + 2],
              PatternRasterizer::Coverage(base, 2, 1));

    // Another rasterizer (a new window) starts afresh.
    PatternRasterizer second;
    cache.SetRasterizer(&second);
    EXPECT_EQ(cache.Size(), 0u);
    cache.Get(base);
    EXPECT_EQ(second.total, 1);
}

TEST(GlyphCache, WithoutARasterizerGlyphsAreEmpty) {
    toolkit::GlyphCache cache;
    const toolkit::GlyphBitmap& glyph = cache.Get({L"x", L"Segoe UI", 12, 1});
    EXPECT_EQ(glyph.width, 0);
    EXPECT_EQ(glyph.height, 0);
    // A form without a window still paints its shapes.
    shapes::CaptureForm f;
    toolkit::Canvas canvas;
    f.form.Render(canvas);
    EXPECT_EQ(canvas.Width(), Form1Width);
    EXPECT_EQ(canvas.At(250, 200) >> 24, 0x80u);
}

TEST(GlyphCache, RepaintsBlitCachedGlyphsOnly) {
    fakes::RecordingHost host;
    PatternRasterizer rasterizer;
    shapes::CaptureForm f;
    f.form.AttachHost(&host, &rasterizer);
    f.form.Create();
    f.form.SetScale(1.25f);
    f.NBoxW->SetValue(626.25);
    f.NBoxH->SetValue(415);
    toolkit::Canvas canvas;
    f.form.Render(canvas);
    const int firstFrame = rasterizer.total;
    EXPECT_GT(firstFrame, 0);
    for (const auto& [key, count] : rasterizer.calls) {
        EXPECT_EQ(count, 1) << "a key rasterized twice (one of the shared captions?)";
    }
    f.form.Render(canvas);
    f.form.Render(canvas);
    EXPECT_EQ(rasterizer.total, firstFrame);
    // Another scale needs every caption again, once.
    f.form.SetScale(1.5f);
    f.form.Render(canvas);
    EXPECT_EQ(rasterizer.total, 2 * firstFrame);
}

TEST(GlyphCache, ButtonCaptionIsBlitCentredInTheButton) {
    fakes::RecordingHost host;
    PatternRasterizer rasterizer;
    shapes::CaptureForm f;
    f.form.AttachHost(&host, &rasterizer);
    f.form.Create();
    f.form.SetScale(1.25f);
    f.Rectangle2->SetFillColor(SlateGrey); // as the creation handler leaves it
    f.SaveBmpBtn->SetEnabled(false);
    toolkit::Canvas canvas;
    f.form.Render(canvas);
    const std::uint32_t bar = toolkit::Premultiply(0xFF708090, 1.0f);
    struct Case {
        toolkit::ToolButton* button;
        float opacity;
    };
    for (const Case c : {Case{f.ExitBtn, 1.0f}, Case{f.CopyBtn, 1.0f}, Case{f.SaveBmpBtn, 0.35f}}) {
        SCOPED_TRACE(c.button->Name());
        const GlyphKey key{c.button->Text(), c.button->FontFamily(), c.button->FontSize(), 1.25f};
        const toolkit::GlyphBitmap glyph = PatternRasterizer().Rasterize(key);
        const toolkit::RectI r = c.button->PhysicalRect();
        const int left = r.left + (r.Width() - glyph.advance) / 2 + glyph.offsetX;
        const int top = r.top + (r.Height() - glyph.lineHeight) / 2 + glyph.offsetY;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                // Black text: the bar's channels darken by the coverage. The
                // caption is clipped to its button: large glyphs overhang it.
                const std::uint8_t coverage =
                    r.Contains(left + x, top + y) ? PatternRasterizer::Coverage(key, x, y) : 0;
                const double keep = 1.0 - coverage * double(c.opacity) / 255.0;
                const std::uint32_t pixel = canvas.At(left + x, top + y);
                ASSERT_EQ(pixel >> 24, 0xFFu);
                ASSERT_NEAR(double((pixel >> 16) & 0xFF), ((bar >> 16) & 0xFF) * keep, 1.01)
                    << x << "," << y;
                ASSERT_NEAR(double(pixel & 0xFF), (bar & 0xFF) * keep, 1.01) << x << "," << y;
            }
        }
        // Around the glyph, the plain title bar.
        EXPECT_EQ(canvas.At(left - 1, top + 1), bar);
        EXPECT_EQ(canvas.At(left + glyph.width, top + 1), bar);
    }
}

} // namespace
