// The window capture: a window that another program brings to the front
// during the countdown is copied pixel for pixel; with none, the capture
// window copies itself; commands run during the countdown are safe.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr int OtherLeft = 310;
constexpr int OtherTop = 205;
constexpr int OtherWidth = 241;
constexpr int OtherHeight = 157;

std::uint32_t OtherPixel(int x, int y) {
    return (std::uint32_t(x & 255) << 16) | (std::uint32_t(y & 255) << 8) |
           std::uint32_t((x * 3 + y * 5) & 255);
}

using wintest::HeldPixel;

} // namespace

// Started by the capture test as another program: shows a frameless window
// with a known picture, comes to the front a second later, stays until told.
TEST(ForegroundWindowOwnerHelper, ComesToTheFrontDuringTheCountdown) {
    wintest::ShowPictureWindowUntilReleased({.className = L"VarnelTestForeground",
                                             .left = OtherLeft,
                                             .top = OtherTop,
                                             .width = OtherWidth,
                                             .height = OtherHeight,
                                             .pixel = OtherPixel});
}

TEST_F(CaptureWindowTest, CopiesTheWindowBroughtToTheFrontPixelForPixel) {
    wintest::OtherProgram other(L"ForegroundWindowOwnerHelper.*");
    ::SetForegroundWindow(host->Handle());
    const DWORD start = ::GetTickCount();
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    const DWORD elapsed = ::GetTickCount() - start;
    other.Release();
    EXPECT_GE(elapsed, 3000u);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), OtherWidth);
    ASSERT_EQ(Form1->BMP->Height(), OtherHeight);
    EXPECT_TRUE(wintest::SamePixels(
        OtherWidth, OtherHeight, [](int x, int y) { return HeldPixel(*Form1->BMP, x, y); },
        OtherPixel));
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
    EXPECT_EQ(other.WaitForExit(20000), std::optional<DWORD>(0));
}

TEST_F(CaptureWindowTest, WithNoOtherWindowTheCaptureWindowCopiesItself) {
    ::SetForegroundWindow(host->Handle());
    wintest::Pump(100);
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    const toolkit::RectI screen = Form1->ScreenRect();
    EXPECT_EQ(Form1->BMP->Width(), screen.Width());
    EXPECT_EQ(Form1->BMP->Height(), screen.Height());
    // Its own slate-grey title bar, where no control covers it.
    EXPECT_TRUE(wintest::Near(HeldPixel(*Form1->BMP, 400, 18), 0x708090))
        << std::hex << HeldPixel(*Form1->BMP, 400, 18);
}

TEST_F(CaptureWindowTest, ARegionCaptureDuringTheCountdownIsReplacedByTheWindowCapture) {
    ::SetForegroundWindow(host->Handle());
    Form1->SetWindowBounds(100, 100, 300, TitleBar + 200);
    // A click on the region capture button, handled while the countdown
    // processes events; and one on the copy button while no image is held.
    const auto press = [&](toolkit::Control& control) {
        const toolkit::RectI r = control.PhysicalRect();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::PostMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(host->Handle(), WM_LBUTTONUP, 0, at);
    };
    press(*Form1->CopyBtn);
    press(*Form1->CutBtn);
    const DWORD clipboard = ::GetClipboardSequenceNumber();
    const long images = output::HeldImage::LiveCount();
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    EXPECT_EQ(::GetClipboardSequenceNumber(), clipboard) << "the copy used no image";
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Width(), Form1->ScreenRect().Width()) << "the window's own capture";
    EXPECT_EQ(Form1->BMP->Height(), Form1->ScreenRect().Height());
    EXPECT_EQ(output::HeldImage::LiveCount(), images + 1) << "one image, the region's released";
}

TEST(ProgramClosing, ACloseRequestDuringTheCountdownEndsItWithExitCodeZero) {
    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    // The window capture button's centre at 100 %: (90, 18).
    const LPARAM at = MAKELPARAM(90, 18);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    ::Sleep(800);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}
