// The IDAT chunking rule, kept apart from the compressor so that it can be
// checked with byte streams of any length.
#include "output/IdatWriter.h"

#include "output/PngChunk.h"
#include "output/PngError.h"

#include <algorithm>
#include <cstring>

namespace output {

IdatWriter::IdatWriter(ByteSink& sink) : sink_(sink), buffer_(ChunkDataSize) {}

void IdatWriter::Commit(std::size_t size) {
    if (size > FreeSize()) {
        throw PngError("more IDAT data committed than the buffer holds");
    }
    used_ += size;
    if (used_ == ChunkDataSize) {
        used_ = 0;
        WritePngChunk(sink_, "IDAT", buffer_.data(), ChunkDataSize);
    }
}

void IdatWriter::Append(const std::uint8_t* data, std::size_t size) {
    while (size != 0) {
        const std::size_t part = std::min(size, FreeSize());
        std::memcpy(FreeSpace(), data, part);
        data += part;
        size -= part;
        Commit(part);
    }
}

void IdatWriter::Finish() {
    if (used_ == 0) {
        return;
    }
    const std::size_t size = used_;
    used_ = 0;
    WritePngChunk(sink_, "IDAT", buffer_.data(), size);
}

} // namespace output
