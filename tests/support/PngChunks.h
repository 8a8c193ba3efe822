// Reads PNG files back for the tests, independently of the encoder: splits a
// file into chunks, computes chunk CRCs with a bit-by-bit CRC-32 that shares
// no code with zlib, inflates the joined IDAT data and undoes the Sub filter.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pngchunks {

using Bytes = std::vector<std::uint8_t>;

inline const Bytes Signature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct Chunk {
    std::string type;
    Bytes data;
    std::uint32_t storedCrc;
};

inline std::uint32_t ReadBigEndian32(const std::uint8_t* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) |
           (std::uint32_t{at[2]} << 8) | std::uint32_t{at[3]};
}

// CRC-32 of the PNG standard: reflected polynomial EDB88320, preset and
// final complement, over the type followed by the data.
inline std::uint32_t ReferenceChunkCrc(const std::string& type, const Bytes& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    auto feed = [&crc](std::uint8_t byte) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    };
    for (char letter : type) {
        feed(static_cast<std::uint8_t>(letter));
    }
    for (std::uint8_t byte : data) {
        feed(byte);
    }
    return ~crc;
}

// The chunks of a whole file, in order. Throws on a wrong signature, a
// truncated chunk or bytes after IEND.
inline std::vector<Chunk> ParseChunks(const Bytes& file) {
    if (file.size() < Signature.size() ||
        !std::equal(Signature.begin(), Signature.end(), file.begin())) {
        throw std::runtime_error("no PNG signature");
    }
    std::vector<Chunk> chunks;
    std::size_t at = Signature.size();
    while (at < file.size()) {
        if (file.size() - at < 12) {
            throw std::runtime_error("truncated chunk header");
        }
        const std::size_t length = ReadBigEndian32(&file[at]);
        if (file.size() - at - 12 < length) {
            throw std::runtime_error("truncated chunk data");
        }
        Chunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.data.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                          file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        chunk.storedCrc = ReadBigEndian32(&file[at + 8 + length]);
        at += 12 + length;
        const bool end = chunk.type == "IEND";
        chunks.push_back(std::move(chunk));
        if (end && at != file.size()) {
            throw std::runtime_error("bytes after IEND");
        }
    }
    return chunks;
}

inline Bytes JoinIdat(const std::vector<Chunk>& chunks) {
    Bytes joined;
    for (const Chunk& chunk : chunks) {
        if (chunk.type == "IDAT") {
            joined.insert(joined.end(), chunk.data.begin(), chunk.data.end());
        }
    }
    return joined;
}

// The whole zlib stream must decode and end exactly at its last byte.
inline Bytes Inflate(const Bytes& stream) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        throw std::runtime_error("inflateInit failed");
    }
    Bytes out;
    std::uint8_t buffer[16384];
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    }
    const uInt left = z.avail_in;
    inflateEnd(&z);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("zlib stream does not decode");
    }
    if (left != 0) {
        throw std::runtime_error("bytes after the end of the zlib stream");
    }
    return out;
}

// Undoes Sub on each scanline: top-down RGB pixels. Throws on another
// filter type or a wrong length.
inline Bytes UnfilterSub(const Bytes& scanlines, std::size_t width, std::size_t height) {
    const std::size_t lineSize = 1 + 3 * width;
    if (scanlines.size() != lineSize * height) {
        throw std::runtime_error("wrong amount of image data");
    }
    Bytes rgb;
    rgb.reserve(3 * width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* line = &scanlines[y * lineSize];
        if (line[0] != 1) {
            throw std::runtime_error("scanline without Sub filter type");
        }
        const std::size_t rowStart = rgb.size();
        for (std::size_t i = 0; i < 3 * width; ++i) {
            const std::uint8_t left = i >= 3 ? rgb[rowStart + i - 3] : 0;
            rgb.push_back(static_cast<std::uint8_t>(line[1 + i] + left));
        }
    }
    return rgb;
}

} // namespace pngchunks
