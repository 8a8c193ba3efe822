// The deflate loop. Output only leaves through IdatWriter, whose buffer always
// has room when deflate is called, so every call can make progress and a full
// buffer becomes a chunk right after the call that filled it.
#include "output/DeflateStream.h"

#include "output/PngError.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <type_traits>

namespace output {
namespace {

static_assert(std::is_same_v<decltype(DeflateAllocator::allocate), alloc_func>);
static_assert(std::is_same_v<decltype(DeflateAllocator::release), free_func>);

constexpr int CompressionLevel = 7;

[[noreturn]] void ThrowZlibError(const char* what, int code, const z_stream& stream) {
    std::string message = std::string("zlib ") + what + " failed (" + std::to_string(code) + ")";
    if (stream.msg != nullptr) {
        message += ": ";
        message += stream.msg;
    }
    throw PngError(message);
}

} // namespace

DeflateStream::DeflateStream(const DeflateAllocator* allocator) {
    if (allocator != nullptr) {
        stream_.zalloc = allocator->allocate;
        stream_.zfree = allocator->release;
        stream_.opaque = allocator->opaque;
    }
    // deflateInit means window bits 15, memory level 8, default strategy.
    const int result = deflateInit(&stream_, CompressionLevel);
    if (result == Z_MEM_ERROR) {
        throw std::bad_alloc();
    }
    if (result != Z_OK) {
        ThrowZlibError("deflateInit", result, stream_);
    }
}

DeflateStream::~DeflateStream() {
    deflateEnd(&stream_);
}

int DeflateStream::Step(int flush, IdatWriter& idat) {
    stream_.next_out = idat.FreeSpace();
    stream_.avail_out = static_cast<uInt>(idat.FreeSize());
    const int result = deflate(&stream_, flush);
    const std::size_t produced = idat.FreeSize() - stream_.avail_out;
    idat.Commit(produced);
    return result;
}

void DeflateStream::Compress(const std::uint8_t* data, std::size_t size, IdatWriter& idat) {
    constexpr std::size_t MaxPart = std::numeric_limits<uInt>::max();
    while (size != 0) {
        const std::size_t part = std::min(size, MaxPart);
        stream_.next_in = const_cast<Bytef*>(data); // zlib does not write through it
        stream_.avail_in = static_cast<uInt>(part);
        while (stream_.avail_in != 0) {
            const int result = Step(Z_NO_FLUSH, idat);
            if (result != Z_OK) {
                ThrowZlibError("deflate", result, stream_);
            }
        }
        data += part;
        size -= part;
    }
}

void DeflateStream::Finish(IdatWriter& idat) {
    stream_.next_in = Z_NULL;
    stream_.avail_in = 0;
    for (;;) {
        const int result = Step(Z_FINISH, idat);
        if (result == Z_STREAM_END) {
            return;
        }
        if (result != Z_OK) {
            ThrowZlibError("deflate finish", result, stream_);
        }
    }
}

} // namespace output
