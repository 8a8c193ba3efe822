#include "toolkit/win32/HostWindow.h"

#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"
#include "platform/Units.h"
#include "toolkit/DesktopPlacement.h"
#include "toolkit/win32/DisplayAreas.h"
#include "toolkit/win32/ErrorDisplay.h"

#include <windowsx.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace toolkit::win32 {

namespace {

constexpr UINT RepaintMessage = WM_APP + 1;

// Each class name is registered once, at its first window.
void RegisterWindowClass(const std::wstring& name) {
    static std::set<std::wstring> registered;
    if (registered.contains(name)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpfnWndProc = ::DefWindowProcW; // replaced per window below
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = name.c_str();
    if (::RegisterClassExW(&wc) != 0) {
        registered.insert(name);
    }
}

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

HostWindow::HostWindow(Form& form) : form_(form), accessibleTree_(form) {
    accessibleTree_.SetTitle(form.Caption().c_str());
    RegisterWindowClass(form.WindowClassName());
    window_.reset(::CreateWindowExW(WS_EX_LAYERED, form.WindowClassName().c_str(),
                                    form.Caption().c_str(),
                                    WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 1, 1,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        platform::ThrowResourceError(::GetLastError());
    }
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    tooltips_.Attach(window_.get());
}

HostWindow::~HostWindow() {
    DisconnectAccessible();
    if (window_) {
        ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    }
}

void HostWindow::Show() {
    Present(form_.ScreenRect());
    ::ShowWindow(window_.get(), SW_SHOWNORMAL);
    ::SetForegroundWindow(window_.get());
}

bool HostWindow::EnsureSurface(int width, int height) {
    if (surface_ && width == surfaceWidth_ && height == surfaceHeight_) {
        return true;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like the canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ::SetLastError(0);
    platform::UniqueHbitmap bitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        return false;
    }
    if (!surfaceDc_) {
        surfaceDc_.reset(::CreateCompatibleDC(nullptr));
    }
    // The DC's own bitmap goes back in before the new surface is selected,
    // so the old surface is out of the DC when it is deleted.
    surfaceSelection_.reset();
    surfaceSelection_ = platform::SelectGuard(surfaceDc_.get(), bitmap.get());
    surface_ = std::move(bitmap);
    surfaceBits_ = bits;
    surfaceWidth_ = width;
    surfaceHeight_ = height;
    return true;
}

void HostWindow::Present(RectI screenRect) {
    repaintPending_ = false;
    if (screenRect.Empty()) {
        return;
    }
    // Only the part on the desktop is ever seen, so only that part becomes
    // the system window: a viewfinder typed 100000 pixels wide costs what
    // the screen shows, not gigabytes, and no window system limit is hit.
    const RectI desktop{
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
        ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RectI shown = screenRect.Intersect(desktop);
    if (shown.Empty()) {
        // Wholly off the desktop: one transparent pixel keeps it a window.
        shown = {screenRect.left, screenRect.top, screenRect.left + 1, screenRect.top + 1};
    }
    const int width = shown.Width();
    const int height = shown.Height();
    if (!EnsureSurface(width, height)) {
        platform::ThrowResourceError(::GetLastError());
    }
    const POINT offset{shown.left - screenRect.left, shown.top - screenRect.top};
    try {
        form_.Render(canvas_, {offset.x, offset.y, offset.x + width, offset.y + height});
    } catch (const std::bad_alloc&) {
        throw platform::Error(platform::OutOfResourcesText());
    }
    std::memcpy(surfaceBits_, canvas_.Pixels(),
                std::size_t(width) * std::size_t(height) * sizeof(std::uint32_t));
    const bool moved = offset.x != offset_.x || offset.y != offset_.y;
    offset_ = offset;
    Upload(shown);
    if (moved) {
        ControlsMoved();
    }
}

void HostWindow::Upload(RectI screenRect) {
    POINT position{screenRect.left, screenRect.top};
    SIZE size{screenRect.Width(), screenRect.Height()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    // The move this makes comes back as a position change, which is ours and
    // not one to take.
    shown_ = screenRect;
    const bool wasPresenting = std::exchange(presenting_, true);
    ::UpdateLayeredWindow(window_.get(), screen.get(), &position, &size, surfaceDc_.get(), &origin,
                          0, &blend, ULW_ALPHA);
    presenting_ = wasPresenting;
}

void HostWindow::TakeSystemMove(HWND hwnd, const WINDOWPOS& position) {
    // Our own placements, changes of size or order only, and the places a
    // minimized or maximized window is parked at are not moves to follow.
    if (presenting_ || !shown_ || (position.flags & SWP_NOMOVE) != 0 || ::IsIconic(hwnd) ||
        ::IsZoomed(hwnd) || (position.x == shown_->left && position.y == shown_->top)) {
        return;
    }
    // The system window is the part of the form's window on the desktop,
    // offset_ into it: the form's own edge moved by as much.
    const float scale = form_.Scale();
    const int left = platform::units::ToLogical(double(position.x) - offset_.x, scale);
    const int top = platform::units::ToLogical(double(position.y) - offset_.y, scale);
    form_.Dispatch(
        [&] { form_.SetWindowBounds(left, top, form_.ClientWidth(), form_.ClientHeight()); });
}

void HostWindow::FollowDisplayChange() {
    form_.Dispatch([&] {
        const int width = form_.ClientWidth();
        const int height = form_.ClientHeight();
        const std::optional<WindowPlace> pulled =
            PulledOntoDisplay(CurrentDisplayAreas(), {form_.Left(), form_.Top()}, width, height,
                              form_.MinimumClientHeight(), form_.Scale());
        if (pulled) {
            form_.SetWindowBounds(pulled->left, pulled->top, width, height);
        } else {
            // The desktop's edges may have moved: another part of the window
            // may lie on it now, or less of it.
            Present(form_.ScreenRect());
        }
    });
}

void HostWindow::RepaintIfPending() {
    if (repaintPending_) {
        form_.Dispatch([&] { Present(form_.ScreenRect()); });
    }
}

void HostWindow::ScheduleRepaint() {
    if (!repaintPending_ && window_) {
        repaintPending_ = true;
        ::PostMessageW(window_.get(), RepaintMessage, 0, 0);
    }
}

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

void HostWindow::SetTopmost(bool topmost) {
    ::SetWindowPos(window_.get(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void HostWindow::RequestClose() {
    ::PostMessageW(window_.get(), WM_CLOSE, 0, 0);
}

void HostWindow::ReportError(const std::exception& error) {
    ShowErrorDisplay(error);
}

void HostWindow::ControlsMoved() {
    tooltips_.Update(form_, offset_.x, offset_.y);
}

void HostWindow::AccessibleChanged(AccessibleEvent event, Control& control) {
    const auto id = accessibleTree_.IdOf(control);
    if (!id || !window_) {
        return;
    }
    const DWORD code = event == AccessibleEvent::Focus         ? EVENT_OBJECT_FOCUS
                       : event == AccessibleEvent::StateChange ? EVENT_OBJECT_STATECHANGE
                                                               : EVENT_OBJECT_VALUECHANGE;
    ::NotifyWinEvent(code, window_.get(), OBJID_CLIENT, LONG(*id));
}

void HostWindow::DisconnectAccessible() {
    accessibleClosed_ = true;
    if (accessible_) {
        accessible_->Disconnect();
        // Drops the references remote clients hold through COM's stubs, so
        // the object goes now and their later calls fail cleanly.
        ::CoDisconnectObject(static_cast<IAccessible*>(accessible_.Get()), 0);
        accessible_.Reset();
    }
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is going, by its owner's hand or by the system's: the
        // owner must not destroy it again, and clients holding its
        // accessible objects are cut off before the form can go.
        self->DisconnectAccessible();
        self->window_.release();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    // Nothing thrown may cross into the system's code.
    try {
        return self->HandleMessage(window, message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowErrorDisplay(error);
        return 0;
    }
}

LRESULT HostWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const unsigned modifiers = KeyboardModifiers();
        const Key key = KeyOf(wParam, modifiers);
        if (key != Key::Other) {
            form_.HostKeyDown(key, modifiers);
            return 0;
        }
        break;
    }
    case WM_CHAR:
        if (wParam >= 0x20 && wParam != 0x7F) {
            form_.HostChar(static_cast<wchar_t>(wParam));
        }
        return 0;
    case WM_KILLFOCUS:
        form_.HostFocusLost();
        return 0;
    case RepaintMessage:
        RepaintIfPending();
        return 0;
    case WM_WINDOWPOSCHANGED:
        TakeSystemMove(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
        break; // the system's own handling sends the move and size messages
    case WM_DISPLAYCHANGE:
        FollowDisplayChange();
        break;
    case WM_DPICHANGED:
        // Scale never changes, so neither does the window: the rectangle the
        // system suggests for the new DPI is not taken.
        return 0;
    case WM_GETDPISCALEDSIZE:
        if (shown_) {
            auto* size = reinterpret_cast<SIZE*>(lParam);
            size->cx = shown_->Width();
            size->cy = shown_->Height();
            return TRUE;
        }
        break;
    case WM_GETOBJECT:
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT && !accessibleClosed_) {
            if (!accessible_) {
                accessible_ = new AccessibleProvider(accessibleTree_, hwnd);
            }
            return ::LresultFromObject(IID_IAccessible, wParam,
                                       static_cast<IAccessible*>(accessible_.Get()));
        }
        break;
    case AccessibleProvider::DefaultActionMessage:
        accessibleTree_.DoDefaultAction(static_cast<int>(wParam));
        return 0;
    case WM_CLOSE:
        form_.HandleClose();
        window_.reset();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace toolkit::win32
