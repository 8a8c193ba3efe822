// The two capture commands: the region under the viewfinder, and the
// foreground window after a three-second countdown.
#include "app/Unit1.h"

#include "capture/CaptureMath.h"
#include "capture/Snapshot.h"
#include "capture/WindowCaptureMath.h"
#include "platform/Display.h"
#include "toolkit/win32/Application.h"


namespace {


// Gives the window its full height back on every path, also when making
// the image fails, so the program is never left collapsed.
class RestoreHeight {
public:
    explicit RestoreHeight(TForm1& form) : form_(form) {}
    ~RestoreHeight() {
        form_.Dispatch([&] {
            form_.SetClientSize(form_.ClientWidth(),
                                capture::Trunc(double(form_.Rectangle2->Height()) + form_.rh));
        });
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
    rh = capture::Trunc(Rectangle1->Height());
    SetClientSize(ClientWidth(), capture::Trunc(Rectangle2->Height()));
}

void TForm1::GrabDesktop() {
    platform::WindowDc desk = platform::WindowDc::Client(nullptr);
    DeskDC = desk.get();
    platform::UniqueHdc memory(::CreateCompatibleDC(desk.get()));
    MemDC = memory.get();
    // The whole primary display at its physical size: the screen's logical
    // size converted back with the rounded scale would miss the display's
    // last columns and rows at some DPIs.
    DesktopBitmap = nullptr;
    snapshot_ = capture::TakeSnapshot(desk.get(), memory.get(), platform::PrimaryDisplaySize(),
                                      std::move(snapshot_));
    DesktopBitmap = snapshot_.get();
    MemDC = nullptr;
    DeskDC = nullptr;
}

void TForm1::CaptureRegion() {
    CollapseToTitleBar();
    RestoreHeight restore(*this);
    // The screen shows the collapse only once the compositor (or, under X,
    // the window manager) has applied it; until then the snapshot would
    // still hold the viewfinder.
    if (!platform::FlushComposition()) {
        platform::Pause(100);
    }
    GrabDesktop();

    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left(), Top(), Rectangle2->Height(), Rectangle1->Width(), rh, Scale);
    BITMAP snapshot{};
    ::GetObjectW(snapshot_.get(), sizeof snapshot, &snapshot);
    const SIZE snapshotSize{snapshot.bmWidth, snapshot.bmHeight};
    // The image is white where the copy does not reach (off the display);
    // the rest is written once, by the copy.
    const RECT onDisplay = capture::RegionOnSnapshot(region, snapshotSize);
    BMP = std::make_unique<output::HeldImage>(&spareStorage_);
    BMP->SetSizeUnpainted(region.width, region.height);
    BMP->PaintWhite(0, 0, region.width, onDisplay.top);
    BMP->PaintWhite(0, onDisplay.bottom, region.width, region.height);
    BMP->PaintWhite(0, onDisplay.top, onDisplay.left, onDisplay.bottom);
    BMP->PaintWhite(onDisplay.right, onDisplay.top, region.width, onDisplay.bottom);
    itix = region.x;
    itiy = region.y;

    HDC target = BMP->DrawingDc();
    platform::UniqueHdc memory(::CreateCompatibleDC(target));
    MemDC = memory.get();
    if (!capture::CopyRegion(target, memory.get(), snapshot_.get(), snapshotSize, region)) {
        BMP->PaintWhite(onDisplay.left, onDisplay.top, onDisplay.right, onDisplay.bottom);
    }
    MemDC = nullptr;
}

namespace {

std::optional<capture::ScreenRect> ToScreenRect(const std::optional<RECT>& r) {
    if (!r) {
        return std::nullopt;
    }
    return capture::ScreenRect{r->left, r->top, r->right, r->bottom};
}

} // namespace

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
    const bool completed = capture::RunCountdown(
        [] { return platform::Milliseconds(); }, [](std::uint32_t ms) { platform::Pause(ms); },
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
    platform::WindowDc dc = platform::WindowDc::Whole(window);
    // The copy starts at the visible frame's own offset within the window's
    // DC, so the image is the visible frame and not a block shifted by the
    // invisible borders.
    const capture::WindowCopy copy = capture::VisibleFrameCopy(
        ToScreenRect(GetWindowBounds(window)), ToScreenRect(platform::WindowRect(window)));

    // A capture run during the countdown may have left an image: at most
    // one image exists, so it goes first.
    ReleaseImage();
    BMP = std::make_unique<output::HeldImage>(&spareStorage_);
    BMP->SetSize(copy.width, copy.height);
    if (BMP->Empty()) {
        return;
    }
    // A layered window (this one, for instance) keeps its picture outside
    // any DC: its window DC reads as blank. It is copied from the screen,
    // where CAPTUREBLT includes layered windows, as is any window whose DC
    // cannot be read.
    const bool layered = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    const BOOL copied = !layered && dc &&
                        ::BitBlt(BMP->DrawingDc(), 0, 0, copy.width, copy.height, dc.get(),
                                 copy.sourceX, copy.sourceY, SRCCOPY | CAPTUREBLT);
    if (!copied) {
        platform::WindowDc screen = platform::WindowDc::Client(nullptr);
        ::BitBlt(BMP->DrawingDc(), 0, 0, copy.width, copy.height, screen.get(), copy.screenX,
                 copy.screenY, SRCCOPY | CAPTUREBLT);
    }
}

void TForm1::CopyWindBtnClick(toolkit::Control&) {
    CaptureForegroundWindow();
    if (!Application.Terminated()) {
        EnableOutputs(*this);
    }
}
