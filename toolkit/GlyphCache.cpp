#include "toolkit/GlyphCache.h"

#include <functional>

namespace toolkit {

std::size_t GlyphKeyHash::operator()(const GlyphKey& key) const noexcept {
    std::size_t h = std::hash<std::wstring>{}(key.text);
    h = h * 31 + std::hash<std::wstring>{}(key.family);
    h = h * 31 + std::hash<float>{}(key.sizeDip);
    return h * 31 + std::hash<float>{}(key.scale);
}

void GlyphCache::SetRasterizer(GlyphRasterizer* rasterizer) {
    rasterizer_ = rasterizer;
    cache_.clear();
}

const GlyphBitmap& GlyphCache::Get(const GlyphKey& key) {
    auto found = cache_.find(key);
    if (found != cache_.end()) {
        return found->second;
    }
    GlyphBitmap bitmap = rasterizer_ != nullptr ? rasterizer_->Rasterize(key) : GlyphBitmap{};
    return cache_.emplace(key, std::move(bitmap)).first->second;
}

} // namespace toolkit
