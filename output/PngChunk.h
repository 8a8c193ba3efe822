// One PNG chunk: big-endian data length, four-letter type, data, and the
// CRC-32 of type and data. Every chunk the encoder writes goes through here,
// so the CRC is computed in exactly one place.
#pragma once

#include "output/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace output {

// PNG limits a chunk's data to 2^31 - 1 bytes.
inline constexpr std::size_t MaxPngChunkData = 0x7FFFFFFF;

// `type` is four ASCII letters. Throws PngError for a wrong type or an
// oversized chunk; a sink's exception passes through.
void WritePngChunk(ByteSink& sink, std::string_view type, const std::uint8_t* data,
                   std::size_t size);

} // namespace output
