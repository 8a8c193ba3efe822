// A second Windows program for the end-to-end run: a frameless window with a
// known picture that the user brings to the front during the window capture's
// countdown, and that covers the capture window to show whether it stays on
// top. Escape closes it.
//   road-picture.exe LEFT TOP WIDTH HEIGHT
#include "tests/e2e/RoadPicture.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

int g_width = 0;
int g_height = 0;
std::vector<std::uint32_t> g_pixels;

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = g_width;
        info.bmiHeader.biHeight = -g_height; // top-down, as the vector is laid out
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        ::SetDIBitsToDevice(dc, 0, 0, g_width, g_height, 0, 0, 0, g_height, g_pixels.data(), &info,
                            DIB_RGB_COLORS);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            ::DestroyWindow(window);
        }
        return 0;
    case WM_TIMER:
        // Nobody came to close it: the run that started it is gone.
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    int left = 0;
    int top = 0;
    if (std::sscanf(commandLine, "%d %d %d %d", &left, &top, &g_width, &g_height) != 4 ||
        g_width <= 0 || g_height <= 0) {
        return 2;
    }
    // Physical pixels everywhere, whatever the system DPI.
    ::SetProcessDPIAware();
    g_pixels.resize(std::size_t(g_width) * g_height);
    for (int y = 0; y < g_height; ++y) {
        for (int x = 0; x < g_width; ++x) {
            g_pixels[std::size_t(y) * g_width + x] = testpattern::RoadPictureAt(x, y);
        }
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = PictureProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.lpszClassName = L"VarnelRoadPicture";
    if (!::RegisterClassW(&wc)) {
        return 1;
    }
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Road picture", WS_POPUP, left, top,
                                    g_width, g_height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ::SetTimer(window, 1, 120000, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
