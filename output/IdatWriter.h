// Cuts the compressed image data into IDAT chunks. The data gathers in one
// 65535-byte buffer; each time the buffer is full it goes out as one chunk of
// exactly 65535 bytes, and Finish writes what is left as the last chunk. So
// every chunk but the last is full and no chunk is empty. The compressor can
// write straight into the free part of the buffer (FreeSpace, Commit); any
// other byte stream can be copied in (Append).
#pragma once

#include "output/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace output {

class IdatWriter {
public:
    static constexpr std::size_t ChunkDataSize = 65535;

    explicit IdatWriter(ByteSink& sink);

    std::uint8_t* FreeSpace() noexcept { return buffer_.data() + used_; }
    std::size_t FreeSize() const noexcept { return ChunkDataSize - used_; }

    // `size` bytes were put at FreeSpace(); a buffer filled by them is written.
    void Commit(std::size_t size);

    void Append(const std::uint8_t* data, std::size_t size);

    // Writes the bytes left, if any, as the last chunk.
    void Finish();

private:
    ByteSink& sink_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
};

} // namespace output
