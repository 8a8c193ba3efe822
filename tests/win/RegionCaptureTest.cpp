// The region capture against a picture another X client laid on the screen:
// the held image must hold exactly the pixels under the viewfinder (white
// where the viewfinder leaves the display), at every usual scale and at odd
// window positions. Run inside scripts/with-screen-pattern.sh; the driver
// test starts this program again at each DPI.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"
#include "platform/Display.h"
#include "platform/ScreenCopy.h"
#include "tests/support/ScreenPattern.h"

#include <cmath>

namespace {

struct Placement {
    const char* what;
    // Logical geometry; a negative left or top counts from the display's
    // right or bottom edge (in logical units) to straddle it.
    int left;
    int top;
    int width;
    int viewfinderHeight;
};

const Placement Placements[] = {
    {"odd position", 37, 53, 123, 77},
    {"wider, lower", 301, 211, 250, 101},
    {"left edge off the display", -3, 40, 60, 50},
    {"straddles the right edge", -1, 90, 120, 40},
    {"straddles the bottom edge", 150, -1, 90, 100},
    {"wholly right of the display", -2, 60, 70, 30},
};

} // namespace

class PatternCaptureHelper : public CaptureWindowTest {};

TEST_F(PatternCaptureHelper, HoldsExactlyThePixelsUnderTheViewfinder) {
    ASSERT_TRUE(wintest::AtTheExpectedDpi());
    const float scale = Form1->Scale;
    const SIZE display{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (const Placement& p : Placements) {
        SCOPED_TRACE(p.what);
        int left = p.left;
        int top = p.top;
        if (left == -1) {
            left = int(display.cx / double(scale)) - p.width / 2;
        }
        if (left == -2) {
            left = int(display.cx / double(scale)) + 40;
        }
        if (top == -1) {
            top = int(display.cy / double(scale)) - TitleBar - p.viewfinderHeight / 2;
        }
        Form1->SetWindowBounds(left, top, p.width, TitleBar + p.viewfinderHeight);
        wintest::Pump(150);
        Form1->CutBtnClick(*Form1->CutBtn);

        const capture::CaptureRegion region = capture::RegionUnderViewfinder(
            left, top, TitleBarHeight, float(p.width), p.viewfinderHeight, scale);
        ASSERT_NE(Form1->BMP, nullptr);
        ASSERT_EQ(Form1->BMP->Width(), region.width);
        ASSERT_EQ(Form1->BMP->Height(), region.height);
        EXPECT_EQ(Form1->itix, region.x);
        EXPECT_EQ(Form1->itiy, region.y);
        EXPECT_EQ(Form1->ClientHeight(), TitleBar + p.viewfinderHeight) << "window not restored";

        EXPECT_TRUE(wintest::HoldsThePatternAt(*Form1->BMP, region.x, region.y));
    }
}

TEST(PatternCaptureAcrossDpiHelper, EveryUsualScale) {
    for (DWORD dpi : {96u, 110u, 120u, 144u, 168u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"PatternCaptureHelper.*", dpi));
    }
}

TEST_F(CaptureWindowTest, CapturesEnableTheOutputsAndKeepOneSnapshot) {
    Form1->SetWindowBounds(100, 100, 40, TitleBar + 30);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->DesktopBitmap, nullptr);
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
    EXPECT_TRUE(Form1->SaveBmpBtn->Enabled());
    EXPECT_TRUE(Form1->SavePngBtn->Enabled());
    EXPECT_EQ(Form1->MemDC, nullptr);
    EXPECT_EQ(Form1->DeskDC, nullptr);
    const long bitmaps = platform::UniqueHbitmap::Live();
    const long images = output::HeldImage::LiveCount();
    const long dcs = platform::UniqueHdc::Live();
    Form1->CutBtnClick(*Form1->CutBtn);
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
    EXPECT_EQ(output::HeldImage::LiveCount(), images);
    EXPECT_EQ(platform::UniqueHdc::Live(), dcs);
    EXPECT_EQ(platform::WindowDc::Live(), 0);
    BITMAP snapshot{};
    ASSERT_TRUE(::GetObjectW(Form1->DesktopBitmap, sizeof snapshot, &snapshot));
    const SIZE display{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(snapshot.bmWidth, display.cx);
    EXPECT_EQ(snapshot.bmHeight, display.cy);
}

TEST_F(CaptureWindowTest, AViewfinderThatTruncatesToNothingGivesAnEmptyImage) {
    Form1->SetWindowBounds(100, 100, 40, TitleBar);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Height(), 0);
    EXPECT_FALSE(Form1->BMP->HasPixels());
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
    EXPECT_EQ(Form1->ClientHeight(), TitleBar);
}

namespace {

struct SeenDcs {
    HDC target = nullptr;
    HDC source = nullptr;
    HDC memDc = nullptr;
    HDC deskDc = nullptr;
} seen;

BOOL WINAPI CopyAndRecord(HDC target, int x, int y, int width, int height, HDC source, int sx,
                          int sy, DWORD rop) {
    seen = {target, source, Form1->MemDC, Form1->DeskDC};
    return ::BitBlt(target, x, y, width, height, source, sx, sy, rop);
}

} // namespace

TEST_F(CaptureWindowTest, TheDcFieldsShowTheSnapshotsDcsWhileItIsTaken) {
    Form1->SetWindowBounds(100, 100, 40, TitleBar + 30);
    seen = {};
    {
        const platform::BlockCopyOverride copy(&CopyAndRecord);
        Form1->CutBtnClick(*Form1->CutBtn);
    }
    ASSERT_NE(seen.target, nullptr);
    EXPECT_EQ(seen.memDc, seen.target);
    EXPECT_EQ(seen.deskDc, seen.source);
    EXPECT_NE(seen.deskDc, nullptr);
    EXPECT_EQ(Form1->MemDC, nullptr);
    EXPECT_EQ(Form1->DeskDC, nullptr);
}
