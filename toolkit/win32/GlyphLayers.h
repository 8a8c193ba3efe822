// The font engine hands back one coverage patch per glyph run (and one per
// colour layer of a colour glyph), each at its own place; the painter wants a
// single bitmap per caption. This joins the patches, with no font API in
// sight, so the joining arithmetic can be checked on its own.
#pragma once

#include "toolkit/Glyph.h"

#include <cstdint>
#include <vector>

namespace toolkit::win32 {

// Straight (not premultiplied) colour, channels 0..1.
struct LayerColour {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

// Anti-aliased coverage of one run, placed relative to the layout box's
// top-left in physical pixels.
struct CoverageLayer {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width*height
    bool coloured = false;              // a colour font's layer, drawn in `colour`
    LayerColour colour;
};

// Joins the layers in drawing order into one bitmap covering all of them.
// Without any coloured layer the result is a coverage mask (overlaps add,
// capped at 255). With one, the result is premultiplied BGRA, each layer
// drawn over the earlier ones; uncoloured layers then take `foreground`.
GlyphBitmap ComposeLayers(const std::vector<CoverageLayer>& layers, int advance, int lineHeight,
                          LayerColour foreground);

} // namespace toolkit::win32
