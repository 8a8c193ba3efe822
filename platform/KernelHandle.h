// Owners for kernel objects: events, processes and threads hold null when
// they hold nothing, files INVALID_HANDLE_VALUE (what CreateFile returns on
// failure), so each has its own kind.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

namespace platform {

namespace detail {
inline void CloseKernelHandle(HANDLE handle) {
    ::CloseHandle(handle);
}

struct FilePolicy {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};
} // namespace detail

using UniqueKernelHandle = UniqueHandle<NullHandlePolicy<HANDLE, detail::CloseKernelHandle>>;
using UniqueFile = UniqueHandle<detail::FilePolicy>;

} // namespace platform
