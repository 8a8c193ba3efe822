// The held image's description: the values of a BITMAPINFOHEADER for a
// 24-bit, bottom-up, uncompressed bitmap. The Windows held image is made from
// the same values that a BMP file carries at offset 14, so both take them from
// here, and stating them needs no Windows header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace output {

inline constexpr std::size_t DibDescriptionSize = 40;

// Field for field the BITMAPINFOHEADER members, in their order.
struct DibDescription {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};

// Throws ImageError for a negative side or a storage size that does not fit
// the 32-bit sizeImage field.
DibDescription DescribeDib(std::int32_t width, std::int32_t height);

// The 40 bytes as they stand in a file or in memory, little-endian.
std::array<std::uint8_t, DibDescriptionSize>
EncodeDibDescription(const DibDescription& description);

} // namespace output
