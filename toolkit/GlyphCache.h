// Rasterizes each caption once per (text, font, size, scale) so that a
// repaint is fills, strokes and cached blits only.
#pragma once

#include "toolkit/Glyph.h"

#include <unordered_map>

namespace toolkit {

struct GlyphKeyHash {
    std::size_t operator()(const GlyphKey& key) const noexcept;
};

class GlyphCache {
public:
    void SetRasterizer(GlyphRasterizer* rasterizer);
    // An empty glyph when no rasterizer is set (a form without a window).
    const GlyphBitmap& Get(const GlyphKey& key);
    std::size_t Size() const { return cache_.size(); }

private:
    GlyphRasterizer* rasterizer_ = nullptr;
    std::unordered_map<GlyphKey, GlyphBitmap, GlyphKeyHash> cache_;
};

} // namespace toolkit
