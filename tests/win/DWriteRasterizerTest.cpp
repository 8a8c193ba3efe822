// The title bar's captions must come out as real, distinct pictographs at
// every scale, on Windows and under Wine alike: a missing font, a split
// surrogate pair or a "missing glyph" box would all leave a button blank or
// wrong without any error.
#include "toolkit/win32/DWriteRasterizer.h"
#include "toolkit/win32/GlyphLayers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;
using toolkit::GlyphBitmap;
using toolkit::GlyphKey;
using toolkit::win32::DWriteRasterizer;

const std::wstring EmojiFamily = L"Segoe UI Emoji";

struct Caption {
    const wchar_t* name;
    std::wstring text;
    float size;
};

const Caption Captions[] = {
    {L"Exit", L"\u2715", 10},     {L"SetRect", L"\U0001F5F8", 16},  {L"Top", L"\U0001F4CC", 24},
    {L"Cut", L"\u2702", 24},      {L"CopyWind", L"\U0001F4C5", 24}, {L"Copy", L"\U0001F4CB", 24},
    {L"Save", L"\U0001F4BE", 24},
};

// Opacity per pixel whichever form the bitmap has (grey mask or colour).
std::vector<std::uint8_t> Alpha(const GlyphBitmap& bitmap) {
    if (!bitmap.colour) {
        return bitmap.coverage;
    }
    std::vector<std::uint8_t> alpha;
    for (std::uint32_t pixel : bitmap.bgra) {
        alpha.push_back(static_cast<std::uint8_t>(pixel >> 24));
    }
    return alpha;
}

int CountAbove(const GlyphBitmap& bitmap, int level) {
    const std::vector<std::uint8_t> alpha = Alpha(bitmap);
    return static_cast<int>(
        std::count_if(alpha.begin(), alpha.end(), [&](std::uint8_t a) { return a > level; }));
}

double Ink(const GlyphBitmap& bitmap) {
    double sum = 0;
    for (std::uint8_t a : Alpha(bitmap)) {
        sum += a;
    }
    return sum;
}

bool SamePixels(const GlyphBitmap& a, const GlyphBitmap& b) {
    return a.width == b.width && a.height == b.height && Alpha(a) == Alpha(b);
}

class DWriteRasterizerTest : public ::testing::Test {
protected:
    GlyphBitmap Render(const std::wstring& text, float size, float scale,
                       const std::wstring& family = EmojiFamily) {
        return rasterizer_.Rasterize(GlyphKey{text, family, size, scale});
    }

    DWriteRasterizer rasterizer_;
};

TEST_F(DWriteRasterizerTest, CaptionsAreVisibleInsideTheirBoxAndGrowWithScale) {
    for (const Caption& caption : Captions) {
        SCOPED_TRACE(caption.name);
        GlyphBitmap previous;
        for (float scale : {1.0f, 1.5f}) {
            SCOPED_TRACE(scale);
            const GlyphBitmap bitmap = Render(caption.text, caption.size, scale);
            const std::size_t pixels = static_cast<std::size_t>(bitmap.width) * bitmap.height;
            ASSERT_GT(pixels, 0u);
            ASSERT_EQ(bitmap.colour ? bitmap.bgra.size() : bitmap.coverage.size(), pixels);
            // Solid strokes, not just a faint smudge of anti-aliasing.
            EXPECT_GT(CountAbove(bitmap, 128), 3);

            const float em = caption.size * scale;
            EXPECT_GT(bitmap.advance, em / 4);
            EXPECT_GT(bitmap.lineHeight, em / 2);
            EXPECT_LT(bitmap.lineHeight, em * 2.5f);
            // The ink sits on the box, not somewhere off it.
            EXPECT_GT(bitmap.offsetX, -bitmap.advance / 2);
            EXPECT_LT(bitmap.offsetX + bitmap.width, bitmap.advance * 3 / 2);
            EXPECT_GT(bitmap.offsetY, -bitmap.lineHeight / 2);
            EXPECT_LT(bitmap.offsetY + bitmap.height, bitmap.lineHeight * 3 / 2);
            EXPECT_LE(bitmap.width, bitmap.advance * 3 / 2);

            if (scale > 1.0f) {
                // 1.5 times as large: the box within rounding, the ink by
                // area (1.5 squared), so neither unscaled nor scaled twice.
                EXPECT_GT(bitmap.height, previous.height);
                EXPECT_GT(bitmap.width, previous.width);
                EXPECT_NEAR(bitmap.advance, previous.advance * 1.5, 2.0);
                EXPECT_NEAR(bitmap.lineHeight, previous.lineHeight * 1.5, 2.0);
                const double ink = Ink(bitmap) / Ink(previous);
                EXPECT_GT(ink, 1.6);
                EXPECT_LT(ink, 3.2);
            }
            previous = bitmap;
        }
    }
}

TEST_F(DWriteRasterizerTest, EveryCaptionIsADifferentPicture) {
    // At one size, so a shared "missing glyph" box would compare equal.
    std::vector<GlyphBitmap> bitmaps;
    for (const Caption& caption : Captions) {
        bitmaps.push_back(Render(caption.text, 24, 1.0f));
    }
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        for (std::size_t j = i + 1; j < bitmaps.size(); ++j) {
            EXPECT_FALSE(SamePixels(bitmaps[i], bitmaps[j])) << "caption " << i << " and " << j;
        }
    }
}

// An installed family without the clipboard pictograph, found on this
// machine (Arial and the like on Windows, DejaVu Sans under Wine).
std::wstring InstalledFamilyWithout(UINT32 codePoint) {
    ComPtr<IDWriteFactory> factory;
    ComPtr<IDWriteFontCollection> fonts;
    if (FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(factory.GetAddressOf()))) ||
        FAILED(factory->GetSystemFontCollection(&fonts))) {
        return {};
    }
    for (UINT32 i = 0; i < fonts->GetFontFamilyCount(); ++i) {
        ComPtr<IDWriteFontFamily> family;
        ComPtr<IDWriteFont> font;
        ComPtr<IDWriteLocalizedStrings> names;
        BOOL has = TRUE;
        BOOL hasDigit = FALSE;
        UINT32 length = 0;
        if (SUCCEEDED(fonts->GetFontFamily(i, &family)) &&
            SUCCEEDED(family->GetFirstMatchingFont(DWRITE_FONT_WEIGHT_NORMAL,
                                                   DWRITE_FONT_STRETCH_NORMAL,
                                                   DWRITE_FONT_STYLE_NORMAL, &font)) &&
            SUCCEEDED(font->HasCharacter(codePoint, &has)) && !has &&
            SUCCEEDED(font->HasCharacter(L'0', &hasDigit)) && hasDigit &&
            SUCCEEDED(family->GetFamilyNames(&names)) &&
            SUCCEEDED(names->GetStringLength(0, &length))) {
            std::wstring name(length + 1, L'\0');
            if (SUCCEEDED(names->GetString(0, name.data(), length + 1))) {
                name.resize(length);
                return name;
            }
        }
    }
    return {};
}

TEST_F(DWriteRasterizerTest, CharacterTheFamilyLacksIsNotItsMissingGlyphBox) {
    // U+10FFFD is a private-use code point no font has: it shows the
    // family's missing-glyph box (or the first fallback's, when the family
    // is not installed). No caption may come out as that box, whether the
    // family has the pictographs, lacks them, or is not installed at all.
    const std::wstring lacking = InstalledFamilyWithout(0x1F4CB);
    ASSERT_FALSE(lacking.empty());
    for (const std::wstring& family :
         {EmojiFamily, lacking, std::wstring(L"Varnel No Such Family")}) {
        SCOPED_TRACE(std::string(family.begin(), family.end()));
        // Some fonts' missing glyph is blank; then "visible" is what fails.
        const GlyphBitmap missing = Render(L"\U0010FFFD", 24, 1.0f, family);
        for (const Caption& caption : Captions) {
            SCOPED_TRACE(caption.name);
            const GlyphBitmap bitmap = Render(caption.text, 24, 1.0f, family);
            EXPECT_GT(CountAbove(bitmap, 128), 3);
            EXPECT_FALSE(SamePixels(bitmap, missing));
        }
    }

    // Mixed text: the digit stays in the family, the pictograph comes from
    // another one, both on the same line.
    const GlyphBitmap digit = Render(L"0", 24, 1.0f, lacking);
    const GlyphBitmap mixed = Render(L"0\U0001F4CB", 24, 1.0f, lacking);
    const GlyphBitmap digitAndBox = Render(L"0\U0010FFFD", 24, 1.0f, lacking);
    EXPECT_GT(CountAbove(mixed, 128), CountAbove(digit, 128) + 3);
    EXPECT_GT(mixed.width, digit.width);
    EXPECT_FALSE(SamePixels(mixed, digitAndBox));
}

TEST_F(DWriteRasterizerTest, DigitsRenderInTheUiFont) {
    const GlyphBitmap digits = Render(L"0123456789", 12, 1.25f, L"Segoe UI");
    const GlyphBitmap one = Render(L"1", 12, 1.25f, L"Segoe UI");
    const GlyphBitmap eight = Render(L"8", 12, 1.25f, L"Segoe UI");
    ASSERT_GT(CountAbove(digits, 128), 20);
    // Ten glyphs side by side on one line.
    EXPECT_GT(digits.width, 4 * digits.height);
    EXPECT_GE(digits.advance, 8 * one.advance);
    EXPECT_GT(CountAbove(eight, 64), CountAbove(one, 64));
}

TEST_F(DWriteRasterizerTest, PairsAndSpacesAreLaidOutOnOneLine) {
    const GlyphBitmap cut = Render(L"\u2702", 24, 1.0f);
    const GlyphBitmap copy = Render(L"\U0001F4CB", 24, 1.0f);
    const GlyphBitmap both = Render(L"\u2702\U0001F4CB", 24, 1.0f);
    EXPECT_NEAR(both.advance, cut.advance + copy.advance, 2);
    EXPECT_EQ(both.lineHeight, std::max(cut.lineHeight, copy.lineHeight));
    EXPECT_GT(both.width, std::max(cut.width, copy.width));
    EXPECT_GT(CountAbove(both, 128), CountAbove(cut, 128));

    // Trailing spaces widen the box but draw nothing.
    const GlyphBitmap spaced = Render(L"\u2702  ", 24, 1.0f);
    EXPECT_GT(spaced.advance, cut.advance);
    EXPECT_TRUE(SamePixels(spaced, cut));
    const GlyphBitmap blank = Render(L" ", 24, 1.0f);
    EXPECT_GT(blank.advance, 0);
    EXPECT_EQ(blank.width * blank.height, 0);
    EXPECT_EQ(Render(L"", 24, 1.0f).advance, 0);
}

} // namespace
