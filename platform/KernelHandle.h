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

struct FilePolicy : HandleStorage<HANDLE> {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE handle) noexcept { return handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};
} // namespace detail

using UniqueKernelHandle = UniqueHandle<NullHandlePolicy<HANDLE, detail::CloseKernelHandle>>;
using UniqueFile = UniqueHandle<detail::FilePolicy>;

} // namespace platform
