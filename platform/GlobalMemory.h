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

class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory != nullptr ? ::GlobalLock(memory) : nullptr) {}
    ~GlobalLockScope() {
        if (data_ != nullptr) {
            KeepLastError keep;
            ::GlobalUnlock(memory_);
        }
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    explicit operator bool() const noexcept { return data_ != nullptr; }
    void* get() const noexcept { return data_; }
    // The block's size, which may exceed what was asked for.
    std::size_t Size() const noexcept { return data_ != nullptr ? ::GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

} // namespace platform
