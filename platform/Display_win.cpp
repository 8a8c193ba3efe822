// Windows display services, with the late-bound entry points resolved once.
#include "platform/Display.h"

#include "platform/Gdi.h"

#include <mmsystem.h>

namespace platform {

namespace {

template <typename Fn> Fn Bind(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (handle == nullptr) {
        handle = ::LoadLibraryW(module);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

using GetDpiForSystemFn = UINT(WINAPI*)();
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmFlushFn = HRESULT(WINAPI*)();
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

constexpr DWORD ExtendedFrameBoundsAttribute = 9; // DWMWA_EXTENDED_FRAME_BOUNDS

} // namespace

std::uint32_t SystemDpi() {
    static const auto getDpiForSystem = Bind<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        return getDpiForSystem();
    }
    WindowDc screen = WindowDc::Client(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : 96u;
}

SIZE PrimaryDisplaySize() {
    return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::vector<RECT> DisplayRects() {
    std::vector<RECT> rects;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT rect, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects;
}

std::vector<DisplayWorkArea> DisplayWorkAreas() {
    std::vector<DisplayWorkArea> areas;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                reinterpret_cast<std::vector<DisplayWorkArea>*>(list)->push_back(
                    {info.rcMonitor, info.rcWork});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

std::optional<RECT> ExtendedFrameBounds(HWND window) {
    static const auto getAttribute =
        Bind<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    RECT bounds{};
    if (getAttribute == nullptr || window == nullptr ||
        FAILED(getAttribute(window, ExtendedFrameBoundsAttribute, &bounds, sizeof bounds))) {
        return std::nullopt;
    }
    return bounds;
}

std::optional<RECT> WindowRect(HWND window) {
    RECT bounds{};
    if (window == nullptr || !::GetWindowRect(window, &bounds)) {
        return std::nullopt;
    }
    return bounds;
}

bool IsVersion6OrLater() {
    // GetVersionEx lies to processes without a matching manifest entry;
    // RtlGetVersion does not.
    static const bool result = [] {
        const auto rtlGetVersion = Bind<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        return rtlGetVersion != nullptr && rtlGetVersion(&info) == 0 && info.dwMajorVersion >= 6;
    }();
    return result;
}

bool FlushComposition() {
    static const auto isEnabled =
        Bind<DwmIsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    static const auto flush = Bind<DwmFlushFn>(L"dwmapi.dll", "DwmFlush");
    BOOL enabled = FALSE;
    if (isEnabled == nullptr || flush == nullptr || FAILED(isEnabled(&enabled)) || !enabled) {
        return false;
    }
    return SUCCEEDED(flush());
}

HWND ForegroundWindow() {
    return ::GetForegroundWindow();
}

std::uint32_t Milliseconds() {
    return ::timeGetTime();
}

void Pause(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace platform
