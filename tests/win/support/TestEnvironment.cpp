#include "tests/win/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>

namespace wintest {

namespace {

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return wide;
}

std::wstring WindowsPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (!path.empty() && path[0] == L'\\') {
        path = L"Z:" + path;
    }
    return path;
}

} // namespace

std::wstring BuildPath(const char* relative) {
    return WindowsPath(Widen(VARNEL_BINARY_DIR) + L"/" + Widen(relative));
}

std::wstring ProgramPath() {
    return BuildPath("app/Varnel.exe");
}

std::wstring SelfPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

namespace {
constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
}

SystemDpiOverride::SystemDpiOverride(DWORD dpi) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                       &value, &size) == ERROR_SUCCESS) {
        previous_ = value;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

SystemDpiOverride::~SystemDpiOverride() {
    const DWORD value = previous_.value_or(96);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", REG_DWORD, &value, sizeof value);
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path) {
    FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    std::fclose(file);
    return bytes;
}

} // namespace wintest
