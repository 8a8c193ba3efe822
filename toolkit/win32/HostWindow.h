// Shows a toolkit form as one layered pop-up window: the form paints into a
// premultiplied BGRA buffer that goes to UpdateLayeredWindow with per-pixel
// alpha, and the window's messages become the form's input.
#pragma once

#include "platform/DibSection.h"
#include "platform/Gdi.h"
#include "platform/MouseCapture.h"
#include "platform/Win.h"
#include "toolkit/AccessibleTree.h"
#include "toolkit/Canvas.h"
#include "toolkit/DesktopPlacement.h"
#include "toolkit/Form.h"
#include "toolkit/win32/AccessibleProvider.h"
#include "toolkit/win32/Tooltips.h"
#include "toolkit/win32/WindowCommands.h"

#include <wrl/client.h>

#include <optional>
#include <vector>

namespace toolkit::win32 {

class HostWindow : public FormHost {
public:
    // A window of the form's own class, titled with its caption.
    explicit HostWindow(Form& form);
    ~HostWindow() override;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return window_.get(); }
    void Show();
    // Repaints at once if a repaint is pending.
    void RepaintIfPending();

    // FormHost
    void Present(RectI screenRect) override;
    void ScheduleRepaint() override;
    void SetCursorShape(Cursor cursor) override;
    void CaptureMouse(bool capture) override;
    void SetTopmost(bool topmost) override;
    void RequestClose() override;
    void ReportError(const std::exception& error) override;
    void ControlsMoved() override;
    void AccessibleChanged(AccessibleEvent event, Control& control) override;

    // The last frame shown (the part of the window that lies on the
    // desktop), and where that part starts within the window.
    const Canvas& LastFrame() const { return canvas_; }
    POINT ShownOffset() const { return offset_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // hwnd is the system's window itself: its owner is already empty while
    // the window is being destroyed.
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Each part's own messages, answered; nothing for any other message.
    std::optional<LRESULT> OnInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnSurface(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnAccessible(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnCommand(UINT message);
    void Run(WindowCommand& command);
    std::optional<LRESULT> OnDisplays(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Upload(RectI screenRect);
    void EnsureSurface(int width, int height);
    // A move by the system or another program: the form takes the place,
    // converted by the units rule, and the window follows the form again.
    void TakeSystemMove(HWND hwnd, const WINDOWPOS& position);
    // After the displays changed: a window whose title bar lies on no work
    // area is pulled onto the nearest display; the shown part is clipped to
    // the new desktop.
    void FollowDisplayChange();
    // Keeps the monitors as they are now and looks again now and then, for a
    // change that comes without a message (HostWindowDisplays.cpp).
    void WatchDisplays();
    // Has the system place the window again after a change of displays that
    // came without a word.
    void PlaceAgain();
    // Cuts every client off the accessible object once the window goes.
    void DisconnectAccessible();

    Form& form_;
    platform::UniqueHwnd window_;
    // Work posted to the window: repaints, accessible actions and values.
    CommandQueue commands_;
    Canvas canvas_;
    platform::UniqueHdc surfaceDc_;
    platform::KeptDib surface_{32, platform::RowOrder::TopDown}; // top-down, like the canvas
    platform::SelectGuard surfaceSelection_;
    bool repaintPending_ = false;
    bool trackingLeave_ = false;
    platform::MouseCapture mouseCapture_;
    Cursor cursor_ = Cursor::Arrow;
    // The system window covers only the part of the form's window that lies
    // on the desktop; this is that part's offset within the form's window.
    POINT offset_{0, 0};
    // The screen rectangle last handed to the system; none before the first.
    std::optional<RectI> shown_;
    // Set while the system window is being placed by the form.
    bool presenting_ = false;
    Tooltips tooltips_;
    // What assistive technology sees; its object is made on the first request.
    AccessibleTree accessibleTree_;
    Microsoft::WRL::ComPtr<AccessibleProvider> accessible_;
    // Set once the window goes: no object is made for it afterwards.
    bool accessibleClosed_ = false;
    // The displays as the window last knew them.
    std::vector<DisplayArea> watchedDisplays_;
};

} // namespace toolkit::win32
