// The counters behind AllocationCounter.h and the replaced global operator
// new and delete. Each block carries its size in a header in front of it, so
// a release can be counted without a size from the caller.
#include "bench/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace alloccount {
namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

// Keeps the block after the header aligned for any fundamental type.
constexpr std::size_t HeaderSize = alignof(std::max_align_t);

void* AllocateCounted(std::size_t bytes) noexcept {
    void* block = std::malloc(bytes + HeaderSize);
    if (block == nullptr) {
        return nullptr;
    }
    *static_cast<std::size_t*>(block) = bytes;
    Allocated(bytes);
    return static_cast<char*>(block) + HeaderSize;
}

void ReleaseCounted(void* address) noexcept {
    if (address == nullptr) {
        return;
    }
    void* block = static_cast<char*>(address) - HeaderSize;
    Released(*static_cast<std::size_t*>(block));
    std::free(block);
}

void* ZlibAllocate(void*, unsigned int items, unsigned int size) {
    return AllocateCounted(std::size_t{items} * size);
}

void ZlibRelease(void*, void* address) {
    ReleaseCounted(address);
}

} // namespace

void Allocated(std::size_t bytes) noexcept {
    const std::size_t now = live.fetch_add(bytes) + bytes;
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}

void Released(std::size_t bytes) noexcept {
    live.fetch_sub(bytes);
}

std::size_t LiveBytes() noexcept {
    return live.load();
}
std::size_t PeakBytes() noexcept {
    return peak.load();
}
void ResetPeak() noexcept {
    peak.store(live.load());
}

output::DeflateAllocator CountingDeflateAllocator() noexcept {
    return {&ZlibAllocate, &ZlibRelease, nullptr};
}

// Used by the operator replacements below.
void* AllocateOrThrow(std::size_t bytes) {
    void* address = AllocateCounted(bytes == 0 ? 1 : bytes);
    if (address == nullptr) {
        throw std::bad_alloc();
    }
    return address;
}

void* AllocateNoThrow(std::size_t bytes) noexcept {
    return AllocateCounted(bytes == 0 ? 1 : bytes);
}

void Release(void* address) noexcept {
    ReleaseCounted(address);
}

} // namespace alloccount

void* operator new(std::size_t bytes) {
    return alloccount::AllocateOrThrow(bytes);
}
void* operator new[](std::size_t bytes) {
    return alloccount::AllocateOrThrow(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return alloccount::AllocateNoThrow(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return alloccount::AllocateNoThrow(bytes);
}
void operator delete(void* address) noexcept {
    alloccount::Release(address);
}
void operator delete[](void* address) noexcept {
    alloccount::Release(address);
}
void operator delete(void* address, std::size_t) noexcept {
    alloccount::Release(address);
}
void operator delete[](void* address, std::size_t) noexcept {
    alloccount::Release(address);
}
void operator delete(void* address, const std::nothrow_t&) noexcept {
    alloccount::Release(address);
}
void operator delete[](void* address, const std::nothrow_t&) noexcept {
    alloccount::Release(address);
}
