// The window capture: a window that another program brings to the front
// during the countdown is copied pixel for pixel; with none, the capture
// window copies itself; commands run during the countdown are safe.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int OtherLeft = 310;
constexpr int OtherTop = 205;
constexpr int OtherWidth = 241;
constexpr int OtherHeight = 157;

COLORREF OtherPixel(int x, int y) {
    return RGB(x & 255, y & 255, (x * 3 + y * 5) & 255);
}

std::wstring EnvW(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::wstring() : std::wstring(value, value + std::strlen(value));
}

std::uint32_t HeldPixel(const output::HeldImage& image, int x, int y) {
    const output::ImageView view = image.View();
    const std::uint8_t* p = view.bits +
                            std::size_t(view.height - 1 - y) * output::DibStride(view.width) +
                            std::size_t(x) * 3;
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        for (int y = 0; y < OtherHeight; ++y) {
            for (int x = 0; x < OtherWidth; ++x) {
                ::SetPixelV(dc, x, y, OtherPixel(x, y));
            }
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// Started by the capture test as another program: shows a frameless window
// with a known picture, comes to the front a second later, stays until told.
TEST(ForegroundWindowOwnerHelper, ComesToTheFrontDuringTheCountdown) {
    HANDLE release = ::OpenEventW(SYNCHRONIZE, FALSE, EnvW("VARNEL_RELEASE_EVENT").c_str());
    ASSERT_NE(release, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OtherWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VarnelTestForeground";
    ::RegisterClassW(&wc);
    HWND window =
        ::CreateWindowExW(0, wc.lpszClassName, L"Foreground", WS_POPUP, OtherLeft, OtherTop,
                          OtherWidth, OtherHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    wintest::Pump(1000);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    while (::MsgWaitForMultipleObjects(1, &release, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        wintest::Pump(0);
    }
    ::DestroyWindow(window);
    ::CloseHandle(release);
}

TEST_F(CaptureWindowTest, CopiesTheWindowBroughtToTheFrontPixelForPixel) {
    const std::wstring releaseName =
        L"varnel-test-foreground-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
    wintest::ChildProcess other(L"\"" + wintest::SelfPath() +
                                    L"\" --gtest_filter=ForegroundWindowOwnerHelper.*",
                                {{L"VARNEL_RELEASE_EVENT", releaseName}});
    ::SetForegroundWindow(host->Handle());
    const DWORD start = ::GetTickCount();
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    const DWORD elapsed = ::GetTickCount() - start;
    ::SetEvent(release);
    EXPECT_GE(elapsed, 3000u);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), OtherWidth);
    ASSERT_EQ(Form1->BMP->Height(), OtherHeight);
    int mismatches = 0;
    for (int y = 0; y < OtherHeight; ++y) {
        for (int x = 0; x < OtherWidth; ++x) {
            const COLORREF c = OtherPixel(x, y);
            const std::uint32_t expected =
                (std::uint32_t(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            mismatches += HeldPixel(*Form1->BMP, x, y) != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
    EXPECT_EQ(other.WaitForExit(20000), std::optional<DWORD>(0));
    ::CloseHandle(release);
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
    Form1->SetWindowBounds(100, 100, 300, 36 + 200);
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
