// Row and storage sizes of the held image's layout, with the checks that keep
// a huge or negative side from wrapping into a small buffer size.
#include "output/ImageView.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace output {

std::size_t DibStride(std::int32_t width) {
    if (width < 0) {
        throw ImageError("image width is negative");
    }
    const auto pixels = static_cast<std::size_t>(width);
    constexpr std::size_t Max = std::numeric_limits<std::size_t>::max();
    if (pixels > (Max - 3) / 3) {
        throw ImageError("image row is too long");
    }
    return (pixels * 3 + 3) / 4 * 4;
}

std::size_t DibStorageSize(std::int32_t width, std::int32_t height) {
    if (height < 0) {
        throw ImageError("image height is negative");
    }
    const std::size_t stride = DibStride(width);
    const auto rows = static_cast<std::size_t>(height);
    if (rows != 0 && stride > std::numeric_limits<std::size_t>::max() / rows) {
        throw ImageError("image is too large");
    }
    return stride * rows;
}

const std::uint8_t* PictureRow(const ImageView& image, std::int32_t y) {
    return image.bits + std::size_t(image.height - 1 - y) * DibStride(image.width);
}

std::uint8_t* PictureRow(const PixelView& image, std::int32_t y) {
    return image.bits + std::size_t(image.height - 1 - y) * DibStride(image.width);
}

void PaintRowWhite(std::uint8_t* row, std::int64_t begin, std::int64_t end) {
    std::memset(row + begin * 3, 0xFF, std::size_t(end - begin) * 3);
}

void PaintWhite(const PixelView& image, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom) {
    if (image.bits == nullptr) {
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width);
    bottom = std::min(bottom, image.height);
    if (left >= right || top >= bottom) {
        return;
    }
    const std::size_t stride = DibStride(image.width);
    const bool wholeRows = left == 0 && right == image.width;
    for (std::int32_t y = top; y < bottom; ++y) {
        std::uint8_t* row = PictureRow(image, y);
        if (wholeRows) {
            std::memset(row, 0xFF, stride);
        } else {
            PaintRowWhite(row, left, right);
        }
    }
}

} // namespace output
