// The two capture commands: the region under the viewfinder, and the
// foreground window after a three-second countdown. The copies themselves
// are capture/'s; these handlers keep the order of the steps and the
// window's state.
#include "app/Unit1.h"

#include "capture/CaptureMath.h"
#include "capture/CollapseWait.h"
#include "capture/Countdown.h"
#include "capture/WindowCapture.h"
#include "platform/Clock.h"
#include "platform/CompositionFlush.h"
#include "platform/ForegroundWindow.h"
#include "platform/ScopeExit.h"
#include "toolkit/win32/Application.h"

namespace {

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
    rh = ::CollapseToTitleBar(*this, *this);
}

void TForm1::GrabDesktop() {
    // The previous snapshot goes first (or lends its storage); at most one
    // exists. DeskDC and MemDC show the snapshot's DCs while it is taken.
    DesktopBitmap = nullptr;
    snapshot_.Take(capture::CurrentDesktop());
    DesktopBitmap = snapshot_.Bitmap();
}

void TForm1::CaptureRegion() {
    CollapseToTitleBar();
    // The full height comes back on every path, also when making the
    // snapshot or the image fails, so the program is never left collapsed.
    const platform::ScopeExit restoreHeight(
        [this] { Dispatch([this] { RestoreViewfinderHeight(*this, *this, rh); }); });
    // The screen shows the collapse only once the compositor (or, under X,
    // the window manager) has applied it; until then the snapshot would
    // still hold the viewfinder. A flush across which the compositor
    // composed no frame is not trusted.
    capture::WaitUntilCollapseShown([] { return platform::CompositionFramesNow(); },
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
    return capture::CaptureBoundsOf(window);
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
