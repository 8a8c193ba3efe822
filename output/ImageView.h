// The held image as the byte producers read it, without owning it: the memory
// layout of a 24-bit bottom-up device-independent bitmap. Pixels are stored
// blue, green, red; the first stored row is the bottom row of the picture;
// every row is padded to a multiple of 4 bytes. The stride and storage size
// are computed here once, in size_t and checked, so no caller multiplies
// signed 32-bit sides itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace output {

// An image that cannot be stored or written: a negative side, a size beyond
// what size_t or the file format can hold, or missing pixels.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ImageView {
    std::int32_t width;
    std::int32_t height;
    // DibStorageSize(width, height) bytes; may be null when a side is 0.
    const std::uint8_t* bits;
};

// The same layout, writable: the held image's pixels as a capture fills them.
struct PixelView {
    std::int32_t width;
    std::int32_t height;
    // DibStorageSize(width, height) bytes; may be null when a side is 0.
    std::uint8_t* bits;
};

// ((width * 24 + 31) / 32) * 4: three bytes a pixel rounded up to 4.
std::size_t DibStride(std::int32_t width);

// DibStride(width) * height.
std::size_t DibStorageSize(std::int32_t width, std::int32_t height);

// The stored bytes of the picture's row y (0 is the top row), which lies
// height - 1 - y rows into the storage. y must lie inside the picture.
const std::uint8_t* PictureRow(const ImageView& image, std::int32_t y);
std::uint8_t* PictureRow(const PixelView& image, std::int32_t y);

// Paints white the pixels [begin, end) of one stored row.
void PaintRowWhite(std::uint8_t* row, std::int64_t begin, std::int64_t end);

// Paints white the pixels of the rectangle [left, right) x [top, bottom)
// (picture coordinates, top row 0), clipped to the image; whole rows take
// their padding along.
void PaintWhite(const PixelView& image, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom);

} // namespace output
