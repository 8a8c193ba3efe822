// Row and storage sizes of the held image's layout, with the checks that keep
// a huge or negative side from wrapping into a small buffer size.
#include "output/ImageView.h"

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

} // namespace output
