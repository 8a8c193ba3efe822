// RAII types for the GDI and USER objects the program makes: memory DCs,
// bitmaps, palettes, fonts, windows, icons, DCs borrowed from a window, and
// the guards that put a DC's previous object or palette back. Declare the
// DC, then the bitmap, then the guard, so they unwind in the right order.
#pragma once

#include "platform/SystemError.h"
#include "platform/UniqueHandle.h"
#include "platform/Win.h"

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

namespace detail {

// A DC from GetDC/GetWindowDC goes back with ReleaseDC and its own window,
// so the owner keeps the window beside the DC (WIL's window_dc).
struct BorrowedDc {
    HWND window;
    HDC dc;
};

struct BorrowedDcPolicy {
    using Type = HDC;
    using Storage = BorrowedDc;
    static Storage Invalid() noexcept { return {}; }
    static bool Valid(const Storage& borrowed) noexcept { return borrowed.dc != nullptr; }
    static HDC Get(const Storage& borrowed) noexcept { return borrowed.dc; }
    static void Close(const Storage& borrowed) noexcept {
        ::ReleaseDC(borrowed.window, borrowed.dc);
    }
};

} // namespace detail

class WindowDc : public UniqueHandle<detail::BorrowedDcPolicy> {
public:
    using UniqueHandle::UniqueHandle;
    // The whole screen's DC when window is null.
    static WindowDc Client(HWND window) noexcept {
        return WindowDc(detail::BorrowedDc{window, ::GetDC(window)});
    }
    static WindowDc Whole(HWND window) noexcept {
        return WindowDc(detail::BorrowedDc{window, ::GetWindowDC(window)});
    }
};

namespace detail {

inline void PutObjectBack(HDC dc, HGDIOBJ previous) {
    ::SelectObject(dc, previous);
}
inline void PutPaletteBack(HDC dc, HPALETTE previous) {
    ::SelectPalette(dc, previous, FALSE);
}

// What a DC held before something was selected into it, kept with the DC so
// that it can be put back (WIL's select_result).
template <typename Previous> struct DcSelection {
    HDC dc;
    Previous previous;
};

template <typename Previous, void (*PutBack)(HDC, Previous)> struct DcRestorePolicy {
    using Type = Previous;
    using Storage = DcSelection<Previous>;
    static Storage Invalid() noexcept { return {}; }
    // Something went in only when there is something to put back.
    static bool Valid(const Storage& selection) noexcept {
        return selection.dc != nullptr && selection.previous != nullptr;
    }
    static Previous Get(const Storage& selection) noexcept { return selection.previous; }
    static void Close(const Storage& selection) noexcept {
        PutBack(selection.dc, selection.previous);
    }
};

} // namespace detail

// Selects an object into a DC for a scope (or for the life of the object
// that holds the guard) and puts the previous one back when the guard goes
// or is reset. get() is the object that will be put back. A select that
// fails (a bitmap already selected into another DC, one of another format,
// a deleted object) raises the system's text: drawing on into a DC that
// still holds its old surface would pass for success. A null object selects
// nothing.
class SelectGuard : public UniqueHandle<detail::DcRestorePolicy<HGDIOBJ, detail::PutObjectBack>> {
public:
    SelectGuard() noexcept = default;
    SelectGuard(HDC dc, HGDIOBJ object)
        : UniqueHandle(detail::DcSelection<HGDIOBJ>{dc, Select(dc, object)}) {}

private:
    static HGDIOBJ Select(HDC dc, HGDIOBJ object) {
        if (object == nullptr) {
            return nullptr;
        }
        ::SetLastError(0);
        const HGDIOBJ previous = ::SelectObject(dc, object);
        if (previous == nullptr || previous == HGDI_ERROR) {
            ThrowResourceError(::GetLastError());
        }
        return previous;
    }
};

// Selects a palette into a DC and realizes it, and puts the DC's previous
// palette back at the end. A null palette selects nothing; a select that
// fails raises, as SelectGuard's does.
class PaletteGuard
    : public UniqueHandle<detail::DcRestorePolicy<HPALETTE, detail::PutPaletteBack>> {
public:
    PaletteGuard() noexcept = default;
    PaletteGuard(HDC dc, HPALETTE palette)
        : UniqueHandle(detail::DcSelection<HPALETTE>{dc, Select(dc, palette)}) {}

private:
    static HPALETTE Select(HDC dc, HPALETTE palette) {
        if (palette == nullptr) {
            return nullptr;
        }
        ::SetLastError(0);
        const HPALETTE previous = ::SelectPalette(dc, palette, FALSE);
        if (previous == nullptr) {
            ThrowResourceError(::GetLastError());
        }
        ::RealizePalette(dc);
        return previous;
    }
};

} // namespace platform
