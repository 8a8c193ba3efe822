// Lets a caller supply the memory zlib's compressor uses, with zlib's own
// calling convention, to measure or limit it. Without one, zlib allocates
// with its default functions.
#pragma once

namespace output {

struct DeflateAllocator {
    // Same shapes as zlib's alloc_func and free_func; null on failure.
    void* (*allocate)(void* opaque, unsigned int items, unsigned int size);
    void (*release)(void* opaque, void* address);
    void* opaque;
};

} // namespace output
