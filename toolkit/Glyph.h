// A rasterized caption: what the painter blits, cached per (text, font, size,
// scale) so a repaint never touches the font engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toolkit {

struct GlyphKey {
    std::wstring text;
    std::wstring family;
    float sizeDip = 0; // font size in logical units (DIPs)
    float scale = 1;   // physical pixels per logical unit

    bool operator==(const GlyphKey&) const = default;
};

// Either a coverage mask (alpha only, tinted with the text colour when drawn)
// or, for colour fonts, premultiplied BGRA pixels drawn as they are.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    // Position of the bitmap's top-left relative to the top-left of the text's
    // layout box (advance x lineHeight), in physical pixels; callers centre
    // or place that box, then draw the bitmap at box + offset.
    int offsetX = 0;
    int offsetY = 0;
    int advance = 0;    // layout box width, physical pixels
    int lineHeight = 0; // layout box height, physical pixels
    bool colour = false;
    std::vector<std::uint8_t> coverage; // width*height, when !colour
    std::vector<std::uint32_t> bgra;    // width*height premultiplied, when colour
};

// Implemented by the platform host (DirectWrite on Windows).
class GlyphRasterizer {
public:
    virtual ~GlyphRasterizer() = default;
    virtual GlyphBitmap Rasterize(const GlyphKey& key) = 0;
};

} // namespace toolkit
