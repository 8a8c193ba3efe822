#include "tests/win/support/PictureWindow.h"

#include "platform/Gdi.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/support/OtherPrograms.h"

#include <gtest/gtest.h>

namespace wintest {

namespace {

LRESULT CALLBACK PictureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(
                                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    const auto* picture =
        reinterpret_cast<const PictureWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (picture == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCCALCSIZE:
        if (picture->noFrameArea) {
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        for (int y = 0; y < picture->height; ++y) {
            for (int x = 0; x < picture->width; ++x) {
                const std::uint32_t c = picture->pixel(x, y);
                ::SetPixelV(dc, x, y, RGB(c >> 16, (c >> 8) & 255, c & 255));
            }
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void ShowPictureWindowUntilReleased(const PictureWindow& picture) {
    const HelperSide side;
    ASSERT_TRUE(side.Opened());
    WNDCLASSW wc{};
    wc.lpfnWndProc = PictureWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = picture.className;
    ::RegisterClassW(&wc);
    const platform::UniqueHwnd window(
        ::CreateWindowExW(picture.exStyle, picture.className, picture.className, picture.style,
                          picture.left, picture.top, picture.width, picture.height, nullptr,
                          nullptr, wc.hInstance, const_cast<PictureWindow*>(&picture)));
    ASSERT_TRUE(window);
    Pump(1000);
    ::ShowWindow(window.get(), SW_SHOW);
    ::SetForegroundWindow(window.get());
    ::SetWindowPos(window.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    side.SayReady();
    HANDLE handle = side.ReleaseEvent();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        Pump(0);
    }
}

} // namespace wintest
