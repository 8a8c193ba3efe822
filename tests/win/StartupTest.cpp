// Start-up of the capture window at the usual display scales, seen from
// inside (Scale, the size boxes, the buttons' states) and from another
// process (where the window lies and what it shows on the screen), and
// closing it.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "output/HeldImage.h"
#include "platform/Display.h"

#include <cmath>

namespace {

struct ScaleCase {
    DWORD dpi;
    int percent;
    const wchar_t* width;
    const wchar_t* height;
};

const ScaleCase ScaleCases[] = {
    {96, 100, L"501", L"332"},  {110, 114, L"571", L"378"}, {120, 125, L"626", L"415"},
    {144, 150, L"752", L"498"}, {168, 175, L"877", L"581"}, {192, 200, L"1002", L"664"},
};

int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

// Where the window must lie: centred on the (single) display in logical
// units, converted with Scale and truncated.
RECT ExpectedWindowRect(float scale) {
    const double s = scale;
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const int left = Trunc(screenW / 2.0 / s - 250);
    const int top = Trunc(screenH / 2.0 / s - 184);
    const int x = Trunc(left * s);
    const int y = Trunc(top * s);
    const int viewfinderTop = Trunc((top + TitleBarHeight) * s);
    return RECT{x, y, x + Trunc(501 * s), viewfinderTop + Trunc(332 * s)};
}

} // namespace

// Runs in a child started with the prefix's DPI set (see the next test); at
// the prefix's own DPI when run directly.
TEST_F(CaptureWindowTest, ScaleAndSizeBoxesFollowTheSystemDpi) {
    const DWORD dpi = platform::SystemDpi();
    ASSERT_TRUE(wintest::AtTheExpectedDpi());
    const ScaleCase* row = nullptr;
    for (const ScaleCase& c : ScaleCases) {
        if (c.dpi == dpi) {
            row = &c;
        }
    }
    ASSERT_NE(row, nullptr) << "no expectation for " << dpi << " DPI";
    EXPECT_EQ(Form1->Scale, static_cast<float>(row->percent / 100.0));
    EXPECT_EQ(Form1->NBoxW->Text(), row->width);
    EXPECT_EQ(Form1->NBoxH->Text(), row->height);
    EXPECT_EQ(Form1->NBoxW->Value(), 501.0 * Form1->Scale);
    EXPECT_EQ(Form1->NBoxH->Value(), 332.0 * Form1->Scale);
}

TEST(StartupAcrossDpi, EveryUsualScaleInAFreshProcess) {
    for (const ScaleCase& c : ScaleCases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(
            L"CaptureWindowTest.ScaleAndSizeBoxesFollowTheSystemDpi", c.dpi));
    }
}

TEST_F(CaptureWindowTest, StartsWithTheDefinedLook) {
    EXPECT_FALSE(Form1->CopyBtn->Enabled());
    EXPECT_FALSE(Form1->SaveBmpBtn->Enabled());
    EXPECT_FALSE(Form1->SavePngBtn->Enabled());
    EXPECT_TRUE(Form1->CutBtn->Enabled());
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
    EXPECT_EQ(Form1->Rectangle1->Opacity(), 0.5f);
    EXPECT_EQ(Form1->ClientWidth(), 501);
    EXPECT_EQ(Form1->ClientHeight(), 368);
    EXPECT_EQ(Form1->BMP, nullptr);
    wchar_t title[32] = {};
    ::GetWindowTextW(host->Handle(), title, 32);
    EXPECT_STREQ(title, L"Varnel");
    const LONG_PTR style = ::GetWindowLongPtrW(host->Handle(), GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(host->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
}

TEST_F(CaptureWindowTest, PressingDisabledOutputButtonsDoesNothing) {
    const RECT before = [&] {
        RECT r{};
        ::GetWindowRect(host->Handle(), &r);
        return r;
    }();
    for (toolkit::ToolButton* button : {Form1->CopyBtn, Form1->SaveBmpBtn, Form1->SavePngBtn}) {
        const toolkit::RectI r = button->PhysicalRect();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(host->Handle(), WM_MOUSEMOVE, MK_LBUTTON, at + 40);
        ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, at + 40);
    }
    RECT after{};
    ::GetWindowRect(host->Handle(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "a press on a disabled button moved the window";
    EXPECT_EQ(Form1->BMP, nullptr);
    EXPECT_FALSE(Form1->Moving());
}

TEST_F(CaptureWindowTest, ClosingReleasesTheHeldImage) {
    const long before = output::HeldImage::LiveCount();
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(4, 3);
    ASSERT_EQ(output::HeldImage::LiveCount(), before + 1);
    Form1->ExitBtnClick(*Form1->ExitBtn);
    ASSERT_TRUE(wintest::WaitFor([] { return Form1->BMP == nullptr; }, 5000));
    EXPECT_EQ(output::HeldImage::LiveCount(), before);
    EXPECT_FALSE(::IsWindow(host->Handle()));
}

// The real program, seen from another process.
class ProgramOnScreen : public ::testing::TestWithParam<DWORD> {};

TEST_P(ProgramOnScreen, LiesCentredAndShowsItsControls) {
    wintest::SystemDpiOverride dpi(GetParam());
    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    const float scale = static_cast<float>(int(GetParam() * 100.0 / 96.0) / 100.0);
    const double s = scale;
    const RECT expected = ExpectedWindowRect(scale);
    RECT actual{};
    ASSERT_TRUE(wintest::WaitFor(
        [&] {
            ::GetWindowRect(window, &actual);
            return ::EqualRect(&actual, &expected) != FALSE;
        },
        5000))
        << actual.left << "," << actual.top << "-" << actual.right << "," << actual.bottom
        << " expected " << expected.left << "," << expected.top << "-" << expected.right << ","
        << expected.bottom;
    wintest::Pump(300);

    const wintest::ScreenShot shot;
    auto at = [&](double x, double y) {
        return shot.At(actual.left + Trunc(x * s), actual.top + Trunc(y * s));
    };
    // The title bar's slate grey where no control covers it; the viewfinder
    // half-transparent light grey (premultiplied: shown as 0x707070 where
    // nothing composes it) with its black stroke.
    EXPECT_TRUE(wintest::Near(at(400, 18), 0x708090)) << std::hex << at(400, 18);
    EXPECT_TRUE(wintest::Near(at(250, 200), 0x707070)) << std::hex << at(250, 200);
    EXPECT_TRUE(wintest::Near(shot.At(actual.left, actual.top + Trunc(200 * s)), 0x000000, 2));
    // Both size boxes show a white face.
    EXPECT_TRUE(wintest::Near(at(228, 10), 0xFFFFFF, 8)) << std::hex << at(228, 10);
    EXPECT_TRUE(wintest::Near(at(272, 10), 0xFFFFFF, 8)) << std::hex << at(272, 10);

    // Every caption draws ink in its button; disabled ones only faint ink.
    struct Cell {
        double left, top, width, height;
        bool enabled;
    };
    const Cell cells[] = {
        {0, 4, 36, 28, true},    {36, 4, 36, 28, true},   {72, 4, 36, 28, true},
        {120, 4, 32, 28, false}, {152, 4, 32, 28, false}, {184, 4, 32, 28, false},
        {312, 4, 24, 28, true},  {475, 6, 24, 22, true},
    };
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.left);
        int darkest = 255;
        for (double y = cell.top; y < cell.top + cell.height; y += 1 / s) {
            for (double x = cell.left; x < cell.left + cell.width; x += 1 / s) {
                darkest = std::min(darkest, wintest::Luminance(at(x, y)));
            }
        }
        if (cell.enabled) {
            EXPECT_LT(darkest, 0x30);
        } else {
            EXPECT_LT(darkest, 0x70);
            EXPECT_GT(darkest, 0x38);
        }
    }

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(AtDpi, ProgramOnScreen, ::testing::Values(96, 120));

TEST(ProgramClosing, TheCloseButtonEndsItWithExitCodeZero) {
    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    // The close button's centre at 100 %: (487, 17) in the window.
    const LPARAM at = MAKELPARAM(487, 17);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST(ProgramClosing, ASecondInstanceRunsBesideTheFirst) {
    wintest::ChildProcess first(L"\"" + wintest::ProgramPath() + L"\"");
    wintest::ChildProcess second(L"\"" + wintest::ProgramPath() + L"\"");
    HWND one = first.WaitForWindow(L"TForm1", 20000);
    HWND two = second.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    ::PostMessageW(one, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(::IsWindowVisible(two)) << "closing one leaves the other";
    ::PostMessageW(two, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitForExit(10000), std::optional<DWORD>(0));
}
