// The host window's input: the system's mouse and keyboard messages become
// the form's input in its own window's client pixels, and the form's
// pointer shape and mouse capture go back to the system.
#include "toolkit/win32/HostWindow.h"

#include <windowsx.h>

namespace toolkit::win32 {

namespace {

MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

unsigned ModifiersOf(WPARAM wParam) {
    unsigned modifiers = NoModifier;
    if (wParam & MK_SHIFT) {
        modifiers |= ShiftKey;
    }
    if (wParam & MK_CONTROL) {
        modifiers |= CtrlKey;
    }
    if (wParam & MK_LBUTTON) {
        modifiers |= LeftButtonDown;
    }
    return modifiers;
}

unsigned KeyboardModifiers() {
    unsigned modifiers = NoModifier;
    if (::GetKeyState(VK_SHIFT) < 0) {
        modifiers |= ShiftKey;
    }
    if (::GetKeyState(VK_CONTROL) < 0) {
        modifiers |= CtrlKey;
    }
    if (::GetKeyState(VK_MENU) < 0) {
        modifiers |= AltKey;
    }
    return modifiers;
}

Key KeyOf(WPARAM vk, unsigned modifiers) {
    const bool ctrl = (modifiers & CtrlKey) != 0;
    switch (vk) {
    case VK_LEFT:
        return Key::Left;
    case VK_RIGHT:
        return Key::Right;
    case VK_HOME:
        return Key::Home;
    case VK_END:
        return Key::End;
    case VK_UP:
        return Key::Up;
    case VK_DOWN:
        return Key::Down;
    case VK_BACK:
        return Key::Backspace;
    case VK_DELETE:
        return Key::Delete;
    case VK_RETURN:
        return Key::Enter;
    case VK_ESCAPE:
        return Key::Escape;
    case VK_TAB:
        return Key::Tab;
    case 'A':
        return ctrl ? Key::SelectAll : Key::Other;
    case 'C':
        return ctrl ? Key::Copy : Key::Other;
    case 'X':
        return ctrl ? Key::Cut : Key::Other;
    case 'V':
        return ctrl ? Key::Paste : Key::Other;
    default:
        return Key::Other;
    }
}

} // namespace

void HostWindow::SetCursorShape(Cursor cursor) {
    cursor_ = cursor;
    const wchar_t* id = cursor == Cursor::IBeam      ? IDC_IBEAM
                        : cursor == Cursor::SizeNwse ? IDC_SIZENWSE
                                                     : IDC_ARROW;
    ::SetCursor(::LoadCursorW(nullptr, id));
}

void HostWindow::CaptureMouse(bool capture) {
    if (!capture) {
        mouseCapture_.reset();
    } else if (!mouseCapture_) {
        mouseCapture_ = platform::MouseCapture(window_.get());
    }
}

std::optional<LRESULT> HostWindow::OnInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Client coordinates of the system window, as the form's window has them.
    const int x = GET_X_LPARAM(lParam) + offset_.x;
    const int y = GET_Y_LPARAM(lParam) + offset_.y;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        form_.HostMouseDown(x, y, ButtonOf(message), ModifiersOf(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        form_.HostDoubleClick(x, y, ButtonOf(message), ModifiersOf(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        form_.HostMouseUp(x, y, ButtonOf(message), ModifiersOf(wParam));
        return 0;
    case WM_MOUSEMOVE:
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
        }
        form_.HostMouseMove(x, y, ModifiersOf(wParam));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        form_.HostMouseLeave();
        return 0;
    case WM_MOUSEWHEEL: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(hwnd, &p);
        form_.HostWheel(p.x + offset_.x, p.y + offset_.y,
                        GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (mouseCapture_ && reinterpret_cast<HWND>(lParam) != hwnd) {
            mouseCapture_.Forget();
            form_.HostCaptureLost();
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursorShape(cursor_);
            return TRUE;
        }
        return std::nullopt;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const unsigned modifiers = KeyboardModifiers();
        const Key key = KeyOf(wParam, modifiers);
        if (key != Key::Other) {
            form_.HostKeyDown(key, modifiers);
            return 0;
        }
        return std::nullopt;
    }
    case WM_CHAR:
        if (wParam >= 0x20 && wParam != 0x7F) {
            form_.HostChar(static_cast<wchar_t>(wParam));
        }
        return 0;
    case WM_KILLFOCUS:
        form_.HostFocusLost();
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace toolkit::win32
