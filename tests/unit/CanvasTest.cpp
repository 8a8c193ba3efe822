// The painter's pixels: premultiplied source-over, one opacity for a whole
// filled and stroked shape, clipping, glyph blits, and the lazy clearing of
// rows, which must never let a previous frame's pixels through, in the
// canvas's own buffer or in one its caller gives it.
#include "toolkit/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace {

using toolkit::Canvas;
using toolkit::GlyphBitmap;
using toolkit::RectI;

// Independent reference: straight colour times opacity, then each channel
// times alpha, in double.
std::uint32_t ReferencePremultiply(std::uint32_t argb, double opacity) {
    const double a = ((argb >> 24) & 0xFF) * opacity;
    std::uint32_t out = std::uint32_t(std::lround(a)) << 24;
    for (int shift : {16, 8, 0}) {
        out |= std::uint32_t(std::lround(((argb >> shift) & 0xFF) * a / 255.0)) << shift;
    }
    return out;
}

// Source-over of premultiplied pixels, in double.
std::uint32_t ReferenceOver(std::uint32_t src, std::uint32_t dst) {
    const double keep = 1.0 - (src >> 24) / 255.0;
    std::uint32_t out = 0;
    for (int shift : {24, 16, 8, 0}) {
        const double v = ((src >> shift) & 0xFF) + ((dst >> shift) & 0xFF) * keep;
        out |= std::uint32_t(std::lround(v)) << shift;
    }
    return out;
}

testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected) {
    for (int shift : {24, 16, 8, 0}) {
        const int a = int((actual >> shift) & 0xFF);
        const int e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > 1) {
            return testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not within 1 of 0x" << expected;
        }
    }
    return testing::AssertionSuccess();
}

std::vector<std::uint32_t> Snapshot(const Canvas& canvas) {
    return {canvas.Pixels(), canvas.Pixels() + std::size_t(canvas.Width()) * canvas.Height()};
}

TEST(Canvas, PremultipliesStraightColours) {
    struct Case {
        std::uint32_t argb;
        float opacity;
    };
    const Case cases[] = {
        {0xFFE0E0E0, 0.5f},  {0xFF708090, 1.0f}, {0xFF696969, 1.0f},
        {0x80FF0000, 1.0f},  {0x80FF8040, 0.5f}, {0xFFFFFFFF, 0.25f},
        {0xFF000000, 0.18f}, {0x00FFFFFF, 1.0f}, {0xFFABCDEF, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.argb << " at " << c.opacity);
        EXPECT_TRUE(
            Near(toolkit::Premultiply(c.argb, c.opacity), ReferencePremultiply(c.argb, c.opacity)));
    }
    // The viewfinder's colour exactly as the window shows it.
    EXPECT_TRUE(Near(toolkit::Premultiply(0xFFE0E0E0, 0.5f), 0x80707070));
    // Opacity is held to [0, 1].
    EXPECT_EQ(toolkit::Premultiply(0xFF123456, 3.0f), toolkit::Premultiply(0xFF123456, 1.0f));
    EXPECT_EQ(toolkit::Premultiply(0xFF123456, -1.0f), 0u);
}

TEST(Canvas, FillsComposeSourceOver) {
    struct Case {
        const char* name;
        std::uint32_t under; // straight ARGB, drawn first at full opacity
        std::uint32_t over;
        float opacity;
    };
    const Case cases[] = {
        {"half white over opaque red", 0xFFFF0000, 0xFFFFFFFF, 0.5f},
        {"viewfinder over title bar grey", 0xFF708090, 0xFFE0E0E0, 0.5f},
        {"translucent over translucent", 0x80707070, 0xFFE0E0E0, 0.5f},
        {"pressed face over slate", 0xFF708090, 0xFF000000, 0.25f},
        {"opaque replaces", 0x40102030, 0xFF405060, 1.0f},
        {"nothing over something", 0xFF405060, 0xFFFFFFFF, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        canvas.BeginFrame(8, 4);
        canvas.FillRect({0, 0, 8, 4}, c.under, 1.0f);
        canvas.FillRect({2, 1, 6, 3}, c.over, c.opacity);
        canvas.EndFrame();
        const std::uint32_t under = ReferencePremultiply(c.under, 1.0);
        const std::uint32_t over = ReferenceOver(ReferencePremultiply(c.over, c.opacity), under);
        EXPECT_TRUE(Near(canvas.At(3, 2), over));
        EXPECT_TRUE(Near(canvas.At(1, 2), under));
        EXPECT_TRUE(Near(canvas.At(6, 2), under));
        EXPECT_TRUE(Near(canvas.At(3, 0), under));
        EXPECT_TRUE(Near(canvas.At(3, 3), under));
    }
}

TEST(Canvas, RectangleOpacityAppliesToFillAndStrokeAsOneShape) {
    struct Case {
        const char* name;
        RectI rect;
        int stroke;
        bool background;
    };
    const Case cases[] = {
        {"whole rows over nothing", {0, 0, 12, 10}, 1, false},
        {"whole rows over a background", {0, 0, 12, 10}, 1, true},
        {"inside the canvas", {2, 1, 10, 9}, 1, true},
        {"thick stroke", {1, 1, 11, 9}, 3, false},
        {"no stroke", {1, 1, 11, 9}, 0, true},
        {"stroke thicker than the shape", {3, 3, 5, 7}, 4, false},
    };
    constexpr std::uint32_t Fill = 0xFFE0E0E0;
    constexpr std::uint32_t Stroke = 0xFF000000;
    constexpr std::uint32_t Background = 0xFF2040C0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        canvas.BeginFrame(12, 10);
        if (c.background) {
            canvas.FillRect({0, 0, 12, 10}, Background, 1.0f);
        }
        canvas.DrawRectangle(c.rect, Fill, Stroke, c.stroke, 0.5f);
        canvas.EndFrame();
        const std::uint32_t under = c.background ? ReferencePremultiply(Background, 1.0) : 0;
        const int sw = std::min(c.stroke, std::min(c.rect.Width(), c.rect.Height()));
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                std::uint32_t expected = under;
                if (c.rect.Contains(x, y)) {
                    const bool edge = x < c.rect.left + sw || x >= c.rect.right - sw ||
                                      y < c.rect.top + sw || y >= c.rect.bottom - sw;
                    expected =
                        ReferenceOver(ReferencePremultiply(edge ? Stroke : Fill, 0.5), under);
                }
                ASSERT_TRUE(Near(canvas.At(x, y), expected));
            }
        }
    }
}

// A shape larger than the canvas on every side: its stroke lies outside and
// nothing of it may be drawn, and nothing outside the buffer written.
TEST(Canvas, RectangleLargerThanTheCanvasShowsOnlyItsFill) {
    const RectI rects[] = {{-5, -5, 17, 15}, {-1, 0, 12, 10}, {0, 0, 13, 10}, {-30, 2, 40, 8}};
    for (const RectI& rect : rects) {
        SCOPED_TRACE(testing::Message()
                     << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom);
        Canvas canvas;
        canvas.BeginFrame(12, 10);
        canvas.DrawRectangle(rect, 0xFFE0E0E0, 0xFF000000, 1, 0.5f);
        canvas.EndFrame();
        for (int y = std::max(rect.top + 1, 0); y < std::min(rect.bottom - 1, 10); ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool stroke = x == rect.left || x == rect.right - 1;
                ASSERT_TRUE(Near(canvas.At(x, y), stroke ? 0x80000000u : 0x80707070u))
                    << x << "," << y;
            }
        }
    }
}

TEST(Canvas, ClipLimitsEveryKindOfDrawing) {
    GlyphBitmap glyph;
    glyph.width = 12;
    glyph.height = 10;
    glyph.coverage.assign(120, 200);
    const std::function<void(Canvas&)> draws[] = {
        [](Canvas& c) {
            c.FillRect({0, 0, 12, 10}, 0xFF102030, 1.0f);
        },
        [](Canvas& c) {
            c.FillRect({0, 0, 12, 10}, 0xFF102030, 0.5f);
        },
        [](Canvas& c) {
            c.DrawRectangle({0, 0, 12, 10}, 0xFFE0E0E0, 0xFF000000, 1, 0.5f);
        },
        [](Canvas& c) {
            c.DrawRectangle({-1, -1, 13, 11}, 0xFFE0E0E0, 0xFF000000, 1, 1.0f);
        },
        [&](Canvas& c) { c.DrawGlyph(glyph, 0, 0, 0xFF000000, 1.0f); },
    };
    const RectI clips[] = {{3, 2, 7, 5}, {0, 4, 12, 6}, {5, 0, 12, 10}, {-4, -4, 2, 2}};
    for (const RectI& clip : clips) {
        for (std::size_t d = 0; d < std::size(draws); ++d) {
            SCOPED_TRACE(testing::Message() << "draw " << d << " clip " << clip.left << ","
                                            << clip.top << "," << clip.right << "," << clip.bottom);
            Canvas whole;
            whole.BeginFrame(12, 10);
            draws[d](whole);
            whole.EndFrame();

            Canvas clipped;
            clipped.BeginFrame(12, 10);
            clipped.SetClip(clip);
            draws[d](clipped);
            clipped.EndFrame();
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 12; ++x) {
                    const std::uint32_t expected = clip.Contains(x, y) ? whole.At(x, y) : 0u;
                    ASSERT_EQ(clipped.At(x, y), expected) << x << "," << y;
                }
            }
        }
    }
}

TEST(Canvas, CoverageGlyphsTintWithTheTextColour) {
    GlyphBitmap glyph;
    glyph.width = 4;
    glyph.height = 2;
    glyph.coverage = {0, 1, 64, 128, 200, 254, 255, 30};
    struct Case {
        const char* name;
        std::uint32_t colour;
        float opacity;
        bool background;
    };
    const Case cases[] = {
        {"black text over nothing", 0xFF000000, 1.0f, false},
        {"coloured text over the title bar", 0xFF3366CC, 1.0f, true},
        {"disabled text", 0xFF000000, 0.35f, true},
    };
    constexpr std::uint32_t Background = 0xFF708090;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        canvas.BeginFrame(8, 5);
        if (c.background) {
            canvas.FillRect({0, 0, 8, 5}, Background, 1.0f);
        }
        canvas.DrawGlyph(glyph, 3, 2, c.colour, c.opacity);
        canvas.EndFrame();
        const std::uint32_t under = c.background ? ReferencePremultiply(Background, 1.0) : 0;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 8; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                std::uint32_t expected = under;
                if (x >= 3 && x < 7 && y >= 2 && y < 4) {
                    const int coverage = glyph.coverage[std::size_t((y - 2) * 4 + (x - 3))];
                    expected = ReferenceOver(
                        ReferencePremultiply(c.colour, c.opacity * coverage / 255.0), under);
                }
                ASSERT_TRUE(Near(canvas.At(x, y), expected));
            }
        }
    }
}

TEST(Canvas, ColourGlyphsBlitTheirOwnPixels) {
    GlyphBitmap glyph;
    glyph.width = 3;
    glyph.height = 1;
    glyph.colour = true;
    glyph.bgra = {0xFFFF0000, 0x80008000, 0x00000000};
    for (const float opacity : {1.0f, 0.35f}) {
        SCOPED_TRACE(opacity);
        Canvas canvas;
        canvas.BeginFrame(4, 1);
        canvas.FillRect({0, 0, 4, 1}, 0xFF0000FF, 1.0f);
        canvas.DrawGlyph(glyph, 1, 0, 0xFF000000, opacity);
        canvas.EndFrame();
        auto scaled = [&](std::uint32_t pm) {
            std::uint32_t out = 0;
            for (int shift : {24, 16, 8, 0}) {
                out |= std::uint32_t(std::lround(((pm >> shift) & 0xFF) * double(opacity)))
                       << shift;
            }
            return out;
        };
        EXPECT_EQ(canvas.At(0, 0), 0xFF0000FFu);
        EXPECT_TRUE(Near(canvas.At(1, 0), ReferenceOver(scaled(glyph.bgra[0]), 0xFF0000FF)));
        EXPECT_TRUE(Near(canvas.At(2, 0), ReferenceOver(scaled(glyph.bgra[1]), 0xFF0000FF)));
        EXPECT_EQ(canvas.At(3, 0), 0xFF0000FFu);
    }
}

// Each frame must come out exactly as on a canvas that never drew before,
// whatever the previous frame left in the reused buffer.
TEST(Canvas, ReusedBufferShowsNothingOfThePreviousFrame) {
    GlyphBitmap glyph;
    glyph.width = 3;
    glyph.height = 3;
    glyph.coverage = {255, 128, 0, 64, 255, 32, 0, 0, 255};
    struct Case {
        const char* name;
        std::function<void(Canvas&)> draw;
    };
    const Case cases[] = {
        {"nothing", [](Canvas&) {}},
        {"part of a row, opaque",
         [](Canvas& c) {
             c.FillRect({2, 3, 5, 4}, 0xFF00FF00, 1.0f);
         }},
        {"part of a row, translucent",
         [](Canvas& c) {
             c.FillRect({2, 3, 5, 6}, 0xFF00FF00, 0.5f);
         }},
        {"whole rows, translucent",
         [](Canvas& c) {
             c.FillRect({0, 2, 10, 4}, 0xFFE0E0E0, 0.5f);
         }},
        {"fully transparent fill",
         [](Canvas& c) {
             c.FillRect({0, 0, 10, 8}, 0xFF00FF00, 0.f);
         }},
        {"rectangle inside",
         [](Canvas& c) {
             c.DrawRectangle({1, 1, 6, 6}, 0xFFE0E0E0, 0xFF000000, 1, 0.5f);
         }},
        {"rectangle over whole rows",
         [](Canvas& c) {
             c.DrawRectangle({0, 1, 10, 7}, 0xFFE0E0E0, 0xFF000000, 1, 0.5f);
         }},
        {"rectangle under a partial clip",
         [](Canvas& c) {
             c.SetClip({0, 0, 6, 8});
             c.DrawRectangle({0, 0, 10, 8}, 0xFFE0E0E0, 0xFF000000, 1, 0.5f);
         }},
        {"glyph", [&](Canvas& c) { c.DrawGlyph(glyph, 4, 2, 0xFF000000, 1.0f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas fresh;
        fresh.BeginFrame(10, 8);
        c.draw(fresh);
        fresh.EndFrame();

        Canvas reused;
        reused.BeginFrame(10, 8);
        reused.FillRect({0, 0, 10, 8}, 0xFFFF0000, 1.0f);
        reused.EndFrame();
        reused.BeginFrame(10, 8);
        c.draw(reused);
        reused.EndFrame();
        EXPECT_EQ(Snapshot(reused), Snapshot(fresh));

        // A caller's buffer holds anything at first (a new DIB section's
        // pixels are undefined, a kept one's are the last frame): the frame
        // is painted there whole, and not one pixel past it.
        std::vector<std::uint32_t> target(10 * 8 + 1, 0xDEADBEEFu);
        Canvas into;
        into.BeginFrame(10, 8, 0, 0, target.data());
        c.draw(into);
        into.EndFrame();
        EXPECT_EQ(into.Pixels(), target.data());
        EXPECT_EQ(std::vector<std::uint32_t>(target.begin(), target.end() - 1), Snapshot(fresh));
        EXPECT_EQ(target.back(), 0xDEADBEEFu);
    }
}

TEST(Canvas, FramesOfAnotherSizeStartEmpty) {
    Canvas canvas;
    canvas.BeginFrame(10, 8);
    canvas.FillRect({0, 0, 10, 8}, 0xFFFF0000, 1.0f);
    canvas.EndFrame();
    for (const auto& [w, h] : {std::pair{4, 12}, std::pair{13, 3}, std::pair{0, 5}}) {
        canvas.BeginFrame(w, h);
        canvas.FillRect({1, 1, 2, 2}, 0xFF00FF00, 1.0f);
        canvas.EndFrame();
        ASSERT_EQ(canvas.Width(), w);
        ASSERT_EQ(canvas.Height(), h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(canvas.At(x, y), x == 1 && y == 1 ? 0xFF00FF00u : 0u) << x << "," << y;
            }
        }
    }
}

} // namespace
