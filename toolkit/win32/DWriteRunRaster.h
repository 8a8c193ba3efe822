// Rasterizes one positioned glyph run into anti-aliased coverage, straight
// from DirectWrite's glyph run analysis: no device context, no GDI text, so
// it works the same with or without a display and under Wine, where GDI
// cannot draw characters beyond the Basic Multilingual Plane.
#pragma once

#include "platform/Win.h"
#include "toolkit/win32/GlyphLayers.h"

#include <dwrite_2.h>
#include <wrl/client.h>

#include <vector>

namespace toolkit::win32 {

class DWriteRunRaster {
public:
    // factory2 may be null (Windows 7): then runs are grey only.
    DWriteRunRaster(Microsoft::WRL::ComPtr<IDWriteFactory> factory,
                    Microsoft::WRL::ComPtr<IDWriteFactory2> factory2);

    // Appends the run's layers, in pixels relative to the layout's origin: one
    // grey layer, or one coloured layer per colour of a colour font's glyph.
    void Rasterize(const DWRITE_GLYPH_RUN& run, const DWRITE_GLYPH_RUN_DESCRIPTION* description,
                   DWRITE_MEASURING_MODE measuring, float baselineX, float baselineY,
                   std::vector<CoverageLayer>& layers) const;

private:
    CoverageLayer Coverage(const DWRITE_GLYPH_RUN& run, DWRITE_MEASURING_MODE measuring,
                           float baselineX, float baselineY) const;
    bool TryColour(const DWRITE_GLYPH_RUN& run, const DWRITE_GLYPH_RUN_DESCRIPTION* description,
                   DWRITE_MEASURING_MODE measuring, float baselineX, float baselineY,
                   std::vector<CoverageLayer>& layers) const;

    Microsoft::WRL::ComPtr<IDWriteFactory> factory_;
    Microsoft::WRL::ComPtr<IDWriteFactory2> factory2_;
};

} // namespace toolkit::win32
