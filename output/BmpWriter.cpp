// The BMP file layout: "BM", the file's length, the pixel offset 54, then the
// description and the bottom-up rows exactly as the held image keeps them.
#include "output/BmpWriter.h"

#include "output/ByteOrder.h"
#include "output/DibDescription.h"

#include <array>
#include <limits>

namespace output {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t PixelOffset = FileHeaderSize + DibDescriptionSize;

std::array<std::uint8_t, FileHeaderSize> EncodeFileHeader(std::uint32_t pixelBytes) {
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() - PixelOffset) {
        throw ImageError("image is too large for a BMP file");
    }
    std::array<std::uint8_t, FileHeaderSize> bytes{};
    bytes[0] = 'B';
    bytes[1] = 'M';
    StoreLittleEndian32(bytes.data() + 2, static_cast<std::uint32_t>(PixelOffset + pixelBytes));
    // bytes 6..9: the two reserved words stay 0
    StoreLittleEndian32(bytes.data() + 10, static_cast<std::uint32_t>(PixelOffset));
    return bytes;
}

} // namespace

void WriteBmp(const ImageView& image, ByteSink& sink) {
    const DibDescription description = DescribeDib(image.width, image.height);
    if (image.width == 0 || image.height == 0) {
        return;
    }
    if (image.bits == nullptr) {
        throw ImageError("image has no pixels");
    }
    const auto fileHeader = EncodeFileHeader(description.sizeImage);
    const auto descriptionBytes = EncodeDibDescription(description);
    sink.Write(fileHeader.data(), fileHeader.size());
    sink.Write(descriptionBytes.data(), descriptionBytes.size());
    sink.Write(image.bits, description.sizeImage);
}

} // namespace output
