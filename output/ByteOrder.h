// Stores fixed-width integers at a byte position in a stated byte order. BMP
// headers are little-endian and PNG fields big-endian on every host, so the
// producers never copy an integer's in-memory bytes.
#pragma once

#include <cstdint>

namespace output {

inline void StoreLittleEndian16(std::uint8_t* at, std::uint16_t value) noexcept {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void StoreLittleEndian32(std::uint8_t* at, std::uint32_t value) noexcept {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void StoreBigEndian32(std::uint8_t* at, std::uint32_t value) noexcept {
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

} // namespace output
