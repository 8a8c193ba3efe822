// What a test program finds around it: the paths of the build tree and of
// itself, its environment variables, the files it reads back, and the
// system DPI setting that processes started after it see.
#pragma once

#include "platform/Win.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

// A Windows path for a file of the build tree (the tests see it through
// Wine's Z: drive).
std::wstring BuildPath(const char* relative);
std::wstring ProgramPath(); // the built Varnel.exe
std::wstring SelfPath();    // this test executable

// A variable of this process's environment; empty when it is not set.
std::wstring Environment(const wchar_t* name);

// Sets HKCU\Control Panel\Desktop LogPixels, read by every process started
// afterwards; puts the old value back when it goes.
class SystemDpiOverride {
public:
    explicit SystemDpiOverride(DWORD dpi);
    ~SystemDpiOverride();
    SystemDpiOverride(const SystemDpiOverride&) = delete;
    SystemDpiOverride& operator=(const SystemDpiOverride&) = delete;

private:
    std::optional<DWORD> previous_;
};

// A whole file's bytes; nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path);

} // namespace wintest
