// Joins per-run coverage patches into the one bitmap a caption is drawn from.
#include "toolkit/win32/GlyphLayers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace toolkit::win32 {
namespace {

bool IsEmpty(const CoverageLayer& layer) {
    return layer.width <= 0 || layer.height <= 0;
}

std::uint32_t PackPremultiplied(float r, float g, float b, float a) {
    auto channel = [](float value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
    };
    return channel(a) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

} // namespace

GlyphBitmap ComposeLayers(const std::vector<CoverageLayer>& layers, int advance, int lineHeight,
                          LayerColour foreground) {
    GlyphBitmap bitmap;
    bitmap.advance = advance;
    bitmap.lineHeight = lineHeight;

    int left = std::numeric_limits<int>::max();
    int top = std::numeric_limits<int>::max();
    int right = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::min();
    bool anyColoured = false;
    for (const CoverageLayer& layer : layers) {
        if (IsEmpty(layer)) {
            continue;
        }
        left = std::min(left, layer.left);
        top = std::min(top, layer.top);
        right = std::max(right, layer.left + layer.width);
        bottom = std::max(bottom, layer.top + layer.height);
        anyColoured = anyColoured || layer.coloured;
    }
    if (left >= right || top >= bottom) {
        return bitmap; // nothing visible: spaces, or an empty text
    }

    bitmap.width = right - left;
    bitmap.height = bottom - top;
    bitmap.offsetX = left;
    bitmap.offsetY = top;
    bitmap.colour = anyColoured;
    const std::size_t pixels = static_cast<std::size_t>(bitmap.width) * bitmap.height;

    if (!anyColoured) {
        bitmap.coverage.assign(pixels, 0);
        for (const CoverageLayer& layer : layers) {
            if (IsEmpty(layer)) {
                continue;
            }
            for (int y = 0; y < layer.height; ++y) {
                const std::uint8_t* from =
                    &layer.coverage[static_cast<std::size_t>(y) * layer.width];
                std::uint8_t* to =
                    &bitmap.coverage[static_cast<std::size_t>(layer.top - top + y) * bitmap.width +
                                     (layer.left - left)];
                for (int x = 0; x < layer.width; ++x) {
                    to[x] = static_cast<std::uint8_t>(std::min(255, to[x] + from[x]));
                }
            }
        }
        return bitmap;
    }

    // Premultiplied accumulation in floats, packed once at the end.
    std::vector<float> rgba(pixels * 4, 0.0f);
    for (const CoverageLayer& layer : layers) {
        if (IsEmpty(layer)) {
            continue;
        }
        const LayerColour c = layer.coloured ? layer.colour : foreground;
        for (int y = 0; y < layer.height; ++y) {
            for (int x = 0; x < layer.width; ++x) {
                const float alpha =
                    c.a * layer.coverage[static_cast<std::size_t>(y) * layer.width + x] / 255.0f;
                float* to = &rgba[(static_cast<std::size_t>(layer.top - top + y) * bitmap.width +
                                   (layer.left - left + x)) *
                                  4];
                const float keep = 1.0f - alpha;
                to[0] = c.r * alpha + to[0] * keep;
                to[1] = c.g * alpha + to[1] * keep;
                to[2] = c.b * alpha + to[2] * keep;
                to[3] = alpha + to[3] * keep;
            }
        }
    }
    bitmap.bgra.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        bitmap.bgra[i] =
            PackPremultiplied(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2], rgba[i * 4 + 3]);
    }
    return bitmap;
}

} // namespace toolkit::win32
