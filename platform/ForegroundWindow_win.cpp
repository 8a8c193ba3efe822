#include "platform/ForegroundWindow.h"

#include "platform/LateBound.h"

namespace platform {

namespace {

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

constexpr DWORD ExtendedFrameBoundsAttribute = 9; // DWMWA_EXTENDED_FRAME_BOUNDS

} // namespace

HWND ForegroundWindow() {
    return ::GetForegroundWindow();
}

std::optional<RECT> ExtendedFrameBounds(HWND window) {
    static const auto getAttribute =
        BindLate<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
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

} // namespace platform
