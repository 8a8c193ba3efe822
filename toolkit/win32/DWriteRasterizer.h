// The toolkit's glyph rasterizer on Windows. Captions are mostly characters
// beyond the Basic Multilingual Plane in an emoji font; DirectWrite draws
// them (in colour where the font has colour glyphs) on Windows and under
// Wine alike, where GDI text cannot and leaves no alpha.
#pragma once

#include "toolkit/Glyph.h"
#include "toolkit/win32/DWriteFontChoice.h"
#include "toolkit/win32/DWriteRunRaster.h"

#include <dwrite_2.h>
#include <wrl/client.h>

namespace toolkit::win32 {

class DWriteRasterizer final : public GlyphRasterizer {
public:
    // Throws platform::Error when DirectWrite is not available.
    DWriteRasterizer();

    // Lays the text out on one line at sizeDip * scale pixels. Characters the
    // requested family lacks (or the whole text, if the family is not
    // installed) are drawn from another installed family that has them.
    // The box is the layout's width including trailing spaces by its line
    // height, each rounded up to whole pixels. Empty text gives an empty box.
    GlyphBitmap Rasterize(const GlyphKey& key) override;

private:
    Microsoft::WRL::ComPtr<IDWriteFactory> factory_;
    DWriteFontChoice fonts_;
    DWriteRunRaster raster_;
};

} // namespace toolkit::win32
