// Fills and serialises the held image's description.
#include "output/DibDescription.h"

#include "output/ByteOrder.h"
#include "output/ImageView.h"

#include <limits>

namespace output {

DibDescription DescribeDib(std::int32_t width, std::int32_t height) {
    const std::size_t storage = DibStorageSize(width, height);
    if (storage > std::numeric_limits<std::uint32_t>::max()) {
        throw ImageError("image is too large for a bitmap description");
    }
    DibDescription description{};
    description.size = static_cast<std::uint32_t>(DibDescriptionSize);
    description.width = width;
    description.height = height; // positive: rows are stored bottom-up
    description.planes = 1;
    description.bitCount = 24;
    description.compression = 0; // BI_RGB
    description.sizeImage = static_cast<std::uint32_t>(storage);
    return description;
}

std::array<std::uint8_t, DibDescriptionSize> EncodeDibDescription(const DibDescription& d) {
    std::array<std::uint8_t, DibDescriptionSize> bytes{};
    std::uint8_t* at = bytes.data();
    StoreLittleEndian32(at + 0, d.size);
    StoreLittleEndian32(at + 4, static_cast<std::uint32_t>(d.width));
    StoreLittleEndian32(at + 8, static_cast<std::uint32_t>(d.height));
    StoreLittleEndian16(at + 12, d.planes);
    StoreLittleEndian16(at + 14, d.bitCount);
    StoreLittleEndian32(at + 16, d.compression);
    StoreLittleEndian32(at + 20, d.sizeImage);
    StoreLittleEndian32(at + 24, static_cast<std::uint32_t>(d.xPelsPerMeter));
    StoreLittleEndian32(at + 28, static_cast<std::uint32_t>(d.yPelsPerMeter));
    StoreLittleEndian32(at + 32, d.clrUsed);
    StoreLittleEndian32(at + 36, d.clrImportant);
    return bytes;
}

} // namespace output
