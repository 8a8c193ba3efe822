// RAII types for the GDI and USER objects the program makes: memory DCs,
// bitmaps, palettes, fonts, windows, icons, DCs borrowed from a window, and
// the guards that put a DC's previous object or palette back. Declare the
// DC, then the bitmap, then the guard, so they unwind in the right order.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

#include <utility>

namespace platform {

namespace detail {
inline void CloseDc(HDC dc) {
    ::DeleteDC(dc);
}
inline void CloseBitmap(HBITMAP bitmap) {
    ::DeleteObject(bitmap);
}
inline void ClosePalette(HPALETTE palette) {
    ::DeleteObject(palette);
}
inline void CloseFont(HFONT font) {
    ::DeleteObject(font);
}
inline void CloseWindow(HWND window) {
    ::DestroyWindow(window);
}
inline void CloseIcon(HICON icon) {
    ::DestroyIcon(icon);
}
} // namespace detail

using UniqueHdc = UniqueHandle<NullHandlePolicy<HDC, detail::CloseDc>>;
using UniqueHbitmap = UniqueHandle<NullHandlePolicy<HBITMAP, detail::CloseBitmap>>;
using UniqueHpalette = UniqueHandle<NullHandlePolicy<HPALETTE, detail::ClosePalette>>;
using UniqueHfont = UniqueHandle<NullHandlePolicy<HFONT, detail::CloseFont>>;
using UniqueHwnd = UniqueHandle<NullHandlePolicy<HWND, detail::CloseWindow>>;
using UniqueHicon = UniqueHandle<NullHandlePolicy<HICON, detail::CloseIcon>>;

// A DC from GetDC/GetWindowDC goes back with ReleaseDC and its own window,
// so it remembers the window.
class WindowDc {
public:
    WindowDc() noexcept = default;
    // The whole screen's DC when window is null.
    static WindowDc Client(HWND window) noexcept { return WindowDc(window, ::GetDC(window)); }
    static WindowDc Whole(HWND window) noexcept { return WindowDc(window, ::GetWindowDC(window)); }
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
        if (HDC dc = std::exchange(dc_, nullptr)) {
            KeepLastError keep;
            ::ReleaseDC(window_, dc);
            live_.fetch_sub(1);
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

namespace detail {

inline void PutObjectBack(HDC dc, HGDIOBJ previous) {
    ::SelectObject(dc, previous);
}
inline void PutPaletteBack(HDC dc, HPALETTE previous) {
    ::SelectPalette(dc, previous, FALSE);
}

// What a DC held before something was selected into it, put back when the
// owner goes (or is reset). Movable, so a guard can live in an object.
template <typename Previous, void (*PutBack)(HDC, Previous)> class DcRestore {
public:
    DcRestore() noexcept = default;
    ~DcRestore() { reset(); }
    DcRestore(const DcRestore&) = delete;
    DcRestore& operator=(const DcRestore&) = delete;
    DcRestore(DcRestore&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)),
          previous_(std::exchange(other.previous_, nullptr)) {}
    DcRestore& operator=(DcRestore&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }

    // True when something went in (and something will be put back).
    explicit operator bool() const noexcept { return previous_ != nullptr; }

    void reset() noexcept {
        const HDC dc = std::exchange(dc_, nullptr);
        if (const Previous previous = std::exchange(previous_, nullptr); dc && previous) {
            KeepLastError keep;
            PutBack(dc, previous);
        }
    }

protected:
    DcRestore(HDC dc, Previous previous) noexcept : dc_(dc), previous_(previous) {}

private:
    HDC dc_ = nullptr;
    Previous previous_ = nullptr;
};

} // namespace detail

// Selects an object into a DC for a scope (or for the life of the object
// that holds the guard) and puts the previous one back.
class SelectGuard : public detail::DcRestore<HGDIOBJ, detail::PutObjectBack> {
public:
    SelectGuard() noexcept = default;
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : DcRestore(dc, Select(dc, object)) {}

private:
    static HGDIOBJ Select(HDC dc, HGDIOBJ object) noexcept {
        const HGDIOBJ previous = object != nullptr ? ::SelectObject(dc, object) : nullptr;
        return previous == HGDI_ERROR ? nullptr : previous;
    }
};

// Selects a palette into a DC and realizes it, and puts the DC's previous
// palette back at the end. A null palette selects nothing.
class PaletteGuard : public detail::DcRestore<HPALETTE, detail::PutPaletteBack> {
public:
    PaletteGuard() noexcept = default;
    PaletteGuard(HDC dc, HPALETTE palette) noexcept : DcRestore(dc, Select(dc, palette)) {}

private:
    static HPALETTE Select(HDC dc, HPALETTE palette) noexcept {
        const HPALETTE previous =
            palette != nullptr ? ::SelectPalette(dc, palette, FALSE) : nullptr;
        if (previous != nullptr) {
            ::RealizePalette(dc);
        }
        return previous;
    }
};

} // namespace platform
