#include "platform/SystemDlls.h"

#include "platform/Win.h"

#include <delayimp.h>

namespace {

// The delay-load helper asks before it loads a DLL; the answer loads it from
// System32 alone, so the helper's own LoadLibrary (which follows the default
// search) is never reached. A second wall, should the default search not
// have been restricted.
FARPROC WINAPI LoadFromSystem32(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(
        ::LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

} // namespace

// The helper in mingw-w64's runtime calls this hook; a definition in the
// program takes the place of the runtime's empty one.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = &LoadFromSystem32;
}

namespace platform {

void LoadDllsFromSystem32Only() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace platform
