// The host window's accessibility hook-up: the accessible object that
// assistive technology asks the window for, the events it follows, and the
// cut from every client when the window goes. The default actions and
// values it posts run with the window's other posted work
// (HostWindowCommands.cpp).
#include "toolkit/win32/HostWindow.h"

#include "platform/Com.h"

namespace toolkit::win32 {

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

std::optional<LRESULT> HostWindow::OnAccessible(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT:
        // The provider is apartment-threaded: handed out from a thread in
        // any other apartment, it would be called from several threads at
        // once. There the system's own object answers.
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || accessibleClosed_ ||
            !platform::InSingleThreadedApartment()) {
            return std::nullopt;
        }
        if (!accessible_) {
            accessible_ = new AccessibleProvider(accessibleTree_, hwnd, commands_);
        }
        return ::LresultFromObject(IID_IAccessible, wParam,
                                   static_cast<IAccessible*>(accessible_.Get()));
    default:
        return std::nullopt;
    }
}

} // namespace toolkit::win32
