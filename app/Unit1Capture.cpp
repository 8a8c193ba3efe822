// The two capture commands: the region under the viewfinder, and the
// foreground window after a three-second countdown. The copies themselves
// are capture/'s; these handlers keep the order of the steps and the
// window's state.
#include "app/Unit1.h"

#include "capture/CaptureMath.h"
#include "capture/CollapseWait.h"
#include "capture/WindowCapture.h"
#include "capture/WindowCaptureMath.h"
#include "platform/CompositionFlush.h"
#include "platform/Display.h"
#include "platform/ScopeExit.h"
#include "platform/Units.h"
#include "toolkit/win32/Application.h"

#include <chrono>

namespace {

// The DC fields are live only while the snapshot is taken; on every path
// they point at nothing afterwards.
class DcFieldsScope {
public:
    explicit DcFieldsScope(TForm1& form) : form_(form) {}
    ~DcFieldsScope() {
        form_.MemDC = nullptr;
        form_.DeskDC = nullptr;
    }

private:
    TForm1& form_;
};

void EnableOutputs(TForm1& form) {
    form.SaveBmpBtn->SetEnabled(true);
    form.SavePngBtn->SetEnabled(true);
    form.CopyBtn->SetEnabled(true);
}

} // namespace

void TForm1::CutBtnClick(toolkit::Control&) {
    ReleaseImage();
    CaptureRegion();
    EnableOutputs(*this);
}

void TForm1::CollapseToTitleBar() {
    rh = platform::units::Trunc(Rectangle1->Height());
    SetClientSize(ClientWidth(), platform::units::Trunc(Rectangle2->Height()));
}

void TForm1::GrabDesktop() {
    DcFieldsScope fields(*this);
    const capture::SnapshotDcs dcs;
    DeskDC = dcs.Desk();
    MemDC = dcs.Memory();
    // The previous snapshot goes first (or lends its storage); at most one
    // exists.
    DesktopBitmap = nullptr;
    snapshot_.Take(dcs, capture::CurrentDesktop());
    DesktopBitmap = snapshot_.Bitmap();
}

void TForm1::CaptureRegion() {
    CollapseToTitleBar();
    // The full height comes back on every path, also when making the
    // snapshot or the image fails, so the program is never left collapsed.
    const platform::ScopeExit restoreHeight([this] {
        Dispatch([this] {
            SetClientSize(ClientWidth(), platform::units::Trunc(double(Rectangle2->Height()) + rh));
        });
    });
    // The screen shows the collapse only once the compositor (or, under X,
    // the window manager) has applied it; until then the snapshot would
    // still hold the viewfinder. A flush that did not wait is not trusted.
    capture::WaitUntilCollapseShown([] { return std::chrono::steady_clock::now(); },
                                    [] { return platform::FlushCompositionOnce(); },
                                    [](std::uint32_t ms) { platform::Pause(ms); });
    GrabDesktop();

    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left(), Top(), Rectangle2->Height(), Rectangle1->Width(), rh, Scale);
    BMP = std::make_unique<output::HeldImage>(&spareStorage_);
    capture::CropRegion(snapshot_, region, *BMP);
    itix = region.x;
    itiy = region.y;
}

std::optional<RECT> TForm1::GetWindowBounds(HWND window) {
    // The visible frame where the system has one; where the query fails
    // (no desktop composition, no window) the window rectangle instead.
    std::optional<RECT> bounds;
    if (platform::IsVersion6OrLater()) {
        bounds = platform::ExtendedFrameBounds(window);
    }
    return bounds ? bounds : platform::WindowRect(window);
}

void TForm1::CaptureForegroundWindow() {
    ReleaseImage();
    Rectangle2->SetFillColor(GreenYellow);
    const bool completed = capture::RunCountdown([] { return platform::Milliseconds(); },
                                                 [](std::uint32_t ms) { platform::Pause(ms); },
                                                 [] {
                                                     Application.ProcessMessages();
                                                     return !Application.Terminated();
                                                 });
    Rectangle2->SetFillColor(SlateGrey);
    if (!completed) {
        return; // the window closed during the countdown
    }
    // Shown at once, without processing events, so that a capture of this
    // window itself shows its usual title bar.
    if (auto* host = Application.HostOf(*this)) {
        host->RepaintIfPending();
    }

    HWND window = platform::ForegroundWindow();
    const std::optional<RECT> bounds = GetWindowBounds(window);
    // A capture run during the countdown may have left an image: at most
    // one image exists, so it goes first.
    ReleaseImage();
    BMP = std::make_unique<output::HeldImage>(&spareStorage_);
    capture::CopyWindow(window, bounds, *BMP);
}

void TForm1::CopyWindBtnClick(toolkit::Control&) {
    CaptureForegroundWindow();
    if (!Application.Terminated()) {
        EnableOutputs(*this);
    }
}
