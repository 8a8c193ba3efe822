// Chunk framing with zlib's CRC-32. zlib's crc32(crc, nullptr, 0) returns the
// initial value 0 whatever crc is, so the CRC is seeded once and then chained
// over the type and the data.
#include "output/PngChunk.h"

#include "output/ByteOrder.h"
#include "output/PngError.h"

#include <zlib.h>

#include <array>

namespace output {

void WritePngChunk(ByteSink& sink, std::string_view type, const std::uint8_t* data,
                   std::size_t size) {
    if (type.size() != 4) {
        throw PngError("a PNG chunk type has four letters");
    }
    if (size > MaxPngChunkData) {
        throw PngError("PNG chunk data is too long");
    }
    std::array<std::uint8_t, 8> head{};
    StoreBigEndian32(head.data(), static_cast<std::uint32_t>(size));
    for (std::size_t i = 0; i < 4; ++i) {
        head[4 + i] = static_cast<std::uint8_t>(type[i]);
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, head.data() + 4, 4);
    if (size != 0) {
        crc = crc32(crc, data, static_cast<uInt>(size));
    }
    std::array<std::uint8_t, 4> tail{};
    StoreBigEndian32(tail.data(), static_cast<std::uint32_t>(crc));

    sink.Write(head.data(), head.size());
    if (size != 0) {
        sink.Write(data, size);
    }
    sink.Write(tail.data(), tail.size());
}

} // namespace output
