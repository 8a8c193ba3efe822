// A window of this process that covers the screen with a picture whose
// every pixel is known, so a capture of it can be checked pixel by pixel.
// Its own thread keeps pumping its messages, as another program's window
// is: where Varnel's window uncovers it, it is painted again at once (under
// Wine 10 an uncovered area stays black until the owner repaints it).
#pragma once

#include "tests/win/WinTestSupport.h"

#include <cstdint>
#include <future>
#include <thread>
#include <vector>

namespace wintest {

// The picture's colour at screen pixel (x, y).
inline std::uint32_t PatternAt(int x, int y) {
    return (std::uint32_t(x * 5 + y) & 0xFF) << 16 | (std::uint32_t(y * 3) & 0xFF) << 8 |
           (std::uint32_t(x ^ y) & 0xFF);
}

class PatternWindow {
public:
    PatternWindow() {
        width_ = ::GetSystemMetrics(SM_CXSCREEN);
        height_ = ::GetSystemMetrics(SM_CYSCREEN);
        pixels_.resize(std::size_t(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                pixels_[std::size_t(y) * width_ + x] = PatternAt(x, y);
            }
        }
        std::promise<HWND> made;
        std::future<HWND> window = made.get_future();
        thread_ = std::thread([this, &made] { Run(made); });
        window_ = window.get();
        // Shown once another program reads it from the screen.
        const RECT probe{width_ / 2 - 32, height_ / 2 - 32, width_ / 2 + 32, height_ / 2 + 32};
        shown_ = window_ != nullptr &&
                 WaitFor(
                     [&] {
                         const std::vector<std::uint32_t> read = ScreenPixels(probe);
                         for (int y = probe.top; y < probe.bottom; ++y) {
                             for (int x = probe.left; x < probe.right; ++x) {
                                 if (read[std::size_t(y - probe.top) * 64 + (x - probe.left)] !=
                                     PatternAt(x, y)) {
                                     return false;
                                 }
                             }
                         }
                         return true;
                     },
                     10000);
    }
    ~PatternWindow() {
        if (window_ != nullptr) {
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        thread_.join();
    }
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    bool Shown() const { return shown_; }

private:
    void Run(std::promise<HWND>& made) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VarnelTestPattern";
        ::RegisterClassW(&wc);
        HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"pattern", WS_POPUP, 0, 0, width_,
                                        height_, nullptr, nullptr, wc.hInstance, this);
        if (window != nullptr) {
            ::ShowWindow(window, SW_SHOWNOACTIVATE);
            ::UpdateWindow(window);
        }
        made.set_value(window);
        MSG message;
        while (window != nullptr && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageW(&message);
        }
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<PatternWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_PAINT && self != nullptr) {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = self->width_;
            info.bmiHeader.biHeight = -self->height_;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            ::SetDIBitsToDevice(dc, 0, 0, self->width_, self->height_, 0, 0, 0, self->height_,
                                self->pixels_.data(), &info, DIB_RGB_COLORS);
            ::EndPaint(window, &paint);
            return 0;
        }
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    std::thread thread_;
    HWND window_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    bool shown_ = false;
};

} // namespace wintest
