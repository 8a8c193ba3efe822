// The host window's class, its creation and its end, and the window
// procedure. Each message goes to the part of the host that deals with it:
// input (HostWindowInput.cpp), the surface and its presenting
// (HostWindowSurface.cpp), the watch over the displays
// (HostWindowDisplays.cpp), the accessibility hook-up
// (HostWindowAccessible.cpp) and the work posted to the window
// (HostWindowCommands.cpp).
#include "toolkit/win32/HostWindow.h"

#include "platform/SystemError.h"
#include "toolkit/win32/ErrorDisplay.h"

namespace toolkit::win32 {

namespace {

// A class serves every window of its name, whichever form it shows: the
// procedure finds each window's host in the window itself.
void RegisterWindowClass(const std::wstring& name, WNDPROC procedure) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, name.c_str(), &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.lpfnWndProc = procedure;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = name.c_str();
    if (::RegisterClassExW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        platform::ThrowResourceError(::GetLastError());
    }
}

} // namespace

HostWindow::HostWindow(Form& form) : form_(form), accessibleTree_(form) {
    accessibleTree_.SetTitle(form.Caption().c_str());
    RegisterWindowClass(form.WindowClassName(), &WindowProc);
    // The host travels with the creation, so the first message already
    // finds it.
    window_.reset(::CreateWindowExW(WS_EX_LAYERED, form.WindowClassName().c_str(),
                                    form.Caption().c_str(),
                                    WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 1, 1,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), this));
    if (!window_) {
        platform::ThrowResourceError(::GetLastError());
    }
    commands_.Attach(window_.get());
    tooltips_.Attach(window_.get());
    WatchDisplays();
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

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is going, by its owner's hand or by the system's: the
        // owner must not destroy it again, and clients holding its
        // accessible objects are cut off before the form can go; work
        // posted for it goes with it.
        self->DisconnectAccessible();
        self->commands_.Detach();
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
    std::optional<LRESULT> result = OnInput(hwnd, message, wParam, lParam);
    if (!result) {
        result = OnDisplays(hwnd, message, wParam, lParam);
    }
    if (!result) {
        result = OnSurface(hwnd, message, wParam, lParam);
    }
    if (!result) {
        result = OnAccessible(hwnd, message, wParam, lParam);
    }
    if (!result) {
        result = OnCommand(message);
    }
    if (result) {
        return *result;
    }
    switch (message) {
    case WM_CLOSE:
        form_.HandleClose();
        window_.reset();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace toolkit::win32
