// Functions that newer Windows versions add are bound at first call, so the
// exe still loads where they are missing.
#pragma once

#include "platform/Win.h"

namespace platform {

// The entry point `name` of `module` (loaded when it is not yet), or null.
template <typename Fn> Fn BindLate(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (handle == nullptr) {
        handle = ::LoadLibraryW(module);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

} // namespace platform
