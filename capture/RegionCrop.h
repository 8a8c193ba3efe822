// The crop of a region capture: the pixels under the viewfinder copied out of
// the desktop snapshot into the held image's storage, white wherever no
// display lies under them. Portable, so that the one place where every pixel
// of a capture is decided is tested natively, under the sanitizers.
#pragma once

#include "capture/CaptureMath.h"
#include "capture/Geometry.h"
#include "output/ImageView.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace capture {

// The snapshot's layout: 4 bytes a pixel (blue, green, red, unused), rows
// bottom-up, width * 4 bytes each, as a 32-bit DIB section stores them.
inline constexpr std::size_t SnapshotBytesPerPixel = 4;

// The storage a snapshot of width x height needs; nothing when a side is
// negative or the size is more than a bitmap can hold (2^31 - 1 bytes).
std::optional<std::size_t> SnapshotStorageSize(std::int32_t width, std::int32_t height);

// A snapshot's pixels as the crop reads them.
struct SnapshotPixels {
    // What the snapshot covers, in screen coordinates: row 0 of the picture
    // is screen row desktop.top, column 0 screen column desktop.left.
    ScreenRect desktop;
    // SnapshotStorageSize(desktop's width, height) bytes; null when there is
    // no snapshot, which leaves every pixel white.
    const std::uint8_t* bits = nullptr;
    // Where the displays are, in screen coordinates. What the snapshot holds
    // outside all of them (gaps between displays of different sizes) is not
    // on the screen and is never copied.
    std::span<const ScreenRect> displays;
};

// Fills the whole image: its pixel (x, y) lies at screen position
// (region.x + x, region.y + y); it gets the snapshot's pixel there when that
// position is on a display and inside the snapshot, else white. Each row's
// padding bytes are white. The image's size is the region's.
void CropRegion(const SnapshotPixels& snapshot, const CaptureRegion& region,
                const output::PixelView& image);

} // namespace capture
