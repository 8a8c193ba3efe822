// Functions that newer Windows versions add are bound at first call, so the
// exe still loads where they are missing. The DLL comes from System32 alone,
// never from the exe's folder (platform/SystemDlls.h).
#pragma once

#include "platform/Win.h"

namespace platform {

// The entry point `name` of `module` (loaded when it is not yet), or null.
template <typename Fn> Fn BindLate(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (handle == nullptr) {
        handle = ::LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

} // namespace platform
