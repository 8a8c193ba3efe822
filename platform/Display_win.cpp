// Windows display services, with the late-bound entry points resolved once.
#include "platform/Display.h"

#include "platform/Gdi.h"
#include "platform/LateBound.h"

namespace platform {

namespace {

using GetDpiForSystemFn = UINT(WINAPI*)();

} // namespace

std::uint32_t SystemDpi() {
    static const auto getDpiForSystem =
        BindLate<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        return getDpiForSystem();
    }
    WindowDc screen = WindowDc::Client(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : 96u;
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

} // namespace platform
