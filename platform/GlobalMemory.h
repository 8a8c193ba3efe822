// Global memory, the currency of the clipboard: an owner for a block from
// GlobalAlloc (freed unless the clipboard took it) and a scope that keeps a
// block locked while its bytes are read or written.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

#include <cstddef>

namespace platform {

namespace detail {
inline void FreeGlobal(HGLOBAL memory) {
    ::GlobalFree(memory);
}
} // namespace detail

using UniqueHglobal = UniqueHandle<NullHandlePolicy<HGLOBAL, detail::FreeGlobal>>;

namespace detail {
// A lock is undone on the block, not on the pointer it gave.
struct LockedGlobal {
    HGLOBAL memory;
    void* data;
};

struct GlobalLockPolicy {
    using Type = void*;
    using Storage = LockedGlobal;
    static Storage Invalid() noexcept { return {}; }
    static bool Valid(const Storage& locked) noexcept { return locked.data != nullptr; }
    static void* Get(const Storage& locked) noexcept { return locked.data; }
    static void Close(const Storage& locked) noexcept { ::GlobalUnlock(locked.memory); }
};
} // namespace detail

class GlobalLockScope : public UniqueHandle<detail::GlobalLockPolicy> {
public:
    explicit GlobalLockScope(HGLOBAL memory) noexcept
        : UniqueHandle(
              detail::LockedGlobal{memory, memory != nullptr ? ::GlobalLock(memory) : nullptr}) {}

    // The block's size, which may exceed what was asked for.
    std::size_t Size() const noexcept { return *this ? ::GlobalSize(Stored().memory) : 0; }
};

} // namespace platform
