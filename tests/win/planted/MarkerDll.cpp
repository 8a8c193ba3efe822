// A DLL planted beside a copy of Varnel.exe under the name of a system DLL
// that is no KnownDLL (dwrite, oleacc, winmm, dwmapi): when any process
// loads it, it leaves a file beside itself, its own path plus ".loaded",
// before anything else can happen. The planted-DLL test looks for that file.
#include "platform/Win.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 8] = {};
        const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            ::lstrcatW(path, L".loaded");
            const HANDLE marker = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr);
            if (marker != INVALID_HANDLE_VALUE) {
                ::CloseHandle(marker);
            }
        }
    }
    return TRUE;
}
