// zlib's compressor with the PNG encoder's fixed settings (level 7, deflate,
// window bits 15, memory level 8, default strategy), writing its output into
// the IDAT buffer and released on every path.
#pragma once

#include "output/DeflateAllocator.h"
#include "output/IdatWriter.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace output {

class DeflateStream {
public:
    // `allocator` may be null for zlib's defaults. Throws std::bad_alloc when
    // zlib gets no memory, PngError for any other failure.
    explicit DeflateStream(const DeflateAllocator* allocator);
    ~DeflateStream();

    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    // Compresses without flushing; full buffers go out as IDAT chunks.
    void Compress(const std::uint8_t* data, std::size_t size, IdatWriter& idat);

    // Completes the stream, trailer included. The bytes left in the IDAT
    // buffer are the caller's to finish.
    void Finish(IdatWriter& idat);

private:
    // One deflate call into the buffer's free part; returns zlib's result.
    int Step(int flush, IdatWriter& idat);

    z_stream stream_{};
};

} // namespace output
