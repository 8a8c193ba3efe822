// RAII types for the GDI objects the program makes: memory DCs, bitmaps,
// palettes, DCs borrowed from a window, and the guard that puts a DC's
// previous object back. Declare the DC, then the bitmap, then the guard, so
// they unwind in the right order.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

#include <utility>

namespace platform {

namespace detail {
inline void CloseDc(HDC dc) { ::DeleteDC(dc); }
inline void CloseBitmap(HBITMAP bitmap) { ::DeleteObject(bitmap); }
inline void ClosePalette(HPALETTE palette) { ::DeleteObject(palette); }
inline void CloseFont(HFONT font) { ::DeleteObject(font); }
inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void CloseWindow(HWND window) { ::DestroyWindow(window); }
inline void CloseIcon(HICON icon) { ::DestroyIcon(icon); }
} // namespace detail

using UniqueHdc = UniqueHandle<HDC, detail::CloseDc>;
using UniqueHbitmap = UniqueHandle<HBITMAP, detail::CloseBitmap>;
using UniqueHpalette = UniqueHandle<HPALETTE, detail::ClosePalette>;
using UniqueHfont = UniqueHandle<HFONT, detail::CloseFont>;
using UniqueHwnd = UniqueHandle<HWND, detail::CloseWindow>;
using UniqueHicon = UniqueHandle<HICON, detail::CloseIcon>;
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle>;

// A DC from GetDC/GetWindowDC goes back with ReleaseDC and its own window,
// so it remembers the window.
class WindowDc {
public:
    WindowDc() noexcept = default;
    // The whole screen's DC when window is null.
    static WindowDc Client(HWND window) noexcept { return WindowDc(window, ::GetDC(window)); }
    static WindowDc Whole(HWND window) noexcept {
        return WindowDc(window, ::GetWindowDC(window));
    }
    ~WindowDc() { reset(); }

    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
            live_.fetch_sub(1);
            dc_ = nullptr;
        }
    }
    static long Live() noexcept { return live_.load(); }

private:
    WindowDc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {
        if (dc_ != nullptr) {
            live_.fetch_add(1);
        }
    }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    static inline std::atomic<long> live_{0};
};

// Selects an object into a DC for a scope and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (dc_ != nullptr && previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace platform
