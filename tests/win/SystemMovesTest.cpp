// Changes made to the window from outside: a move by another program (as
// the system's own moves come), a change of displays, a change of DPI. The
// form takes the place it is given and keeps it through later repaints, a
// window left on no display comes back onto one, a new DPI changes nothing,
// the accessible locations follow, and after each the region capture holds
// exactly the pixels under the viewfinder. Run inside
// scripts/with-screen-pattern.sh; the driver starts this program again at
// 96 and 120 DPI, where the moves' positions truncate.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"
#include "platform/Display.h"
#include "platform/Units.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace units = platform::units;

HWND WindowFromEnvironment() {
    return reinterpret_cast<HWND>(
        std::uintptr_t(std::wcstoull(wintest::Environment(L"VARNEL_WINDOW").c_str(), nullptr, 10)));
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    EXPECT_TRUE(::GetWindowRect(window, &r));
    return r;
}

::testing::AssertionResult Same(const RECT& a, const RECT& b) {
    if (::EqualRect(&a, &b)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << a.left << "," << a.top << ")-(" << a.right << "," << a.bottom << ") is not ("
           << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

RECT PrimaryWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

// Per monitor where the system allows it (Wine refuses it), else for the
// system's DPI, which is the same on a desktop of one scale.
void AwareOfTheDpi() {
    if (!::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        ::SetProcessDPIAware();
    }
}

} // namespace

// The other program: moves the window VARNEL_WINDOW to VARNEL_MOVE_TO
// ("x,y", physical screen pixels) as SetWindowPos does for any program, then,
// with VARNEL_DISPLAY_CHANGE set, says that the displays changed, as the
// system says it to every window.
TEST(WindowMoverHelper, MovesTheWindow) {
    const wintest::HelperSide side;
    ASSERT_TRUE(side.Opened());
    const HWND window = WindowFromEnvironment();
    ASSERT_TRUE(::IsWindow(window));
    int x = 0;
    int y = 0;
    ASSERT_EQ(std::swscanf(wintest::Environment(L"VARNEL_MOVE_TO").c_str(), L"%d,%d", &x, &y), 2);
    ASSERT_TRUE(
        ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    if (!wintest::Environment(L"VARNEL_DISPLAY_CHANGE").empty()) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(
            window, WM_DISPLAYCHANGE, 32,
            MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)),
            SMTO_ABORTIFHUNG, 10000, &result));
    }
    side.SayReady();
    EXPECT_TRUE(side.WaitForRelease());
}

class SystemMoveHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::AtTheExpectedDpi());
        // Aware of the DPI as the program is through its manifest, so that
        // the system hands the window positions in physical pixels and
        // scales nothing between the two programs.
        AwareOfTheDpi();
        CaptureWindowTest::SetUp();
        scale = Form1->Scale;
    }

    HWND Window() const { return host->Handle(); }

    // Another program moves the system window to (x, y); this thread keeps
    // its messages flowing meanwhile, as the move comes through them.
    void MoveFromOutside(int x, int y, bool displayChange = false) {
        // Wine 8 hands a position that another process gives to SetWindowPos
        // to the window scaled by 96 / DPI (measured: 301 at 120 DPI comes
        // as 241, aware caller or not), so it is sent scaled the other way.
        const int dpi = int(platform::SystemDpi());
        const int sentX = ::MulDiv(x, dpi, 96);
        const int sentY = ::MulDiv(y, dpi, 96);
        ASSERT_EQ(::MulDiv(sentX, 96, dpi), x);
        ASSERT_EQ(::MulDiv(sentY, 96, dpi), y);
        std::vector<std::pair<std::wstring, std::wstring>> env{
            {L"VARNEL_WINDOW", std::to_wstring(reinterpret_cast<std::uintptr_t>(Window()))},
            {L"VARNEL_MOVE_TO", std::to_wstring(sentX) + L"," + std::to_wstring(sentY)}};
        if (displayChange) {
            env.emplace_back(L"VARNEL_DISPLAY_CHANGE", L"1");
        }
        wintest::OtherProgram mover(L"WindowMoverHelper.*", env);
        ASSERT_TRUE(wintest::WaitFor([&] { return mover.IsReady(); }, 30000))
            << "the other program did not move the window";
        mover.Release();
        EXPECT_EQ(mover.WaitForExit(10000), std::optional<DWORD>(0));
        wintest::Pump(100);
    }

    // Repaints as the program does after any change, and then again after
    // a change of layout: the window must not go back to an old place.
    void RepaintTwice() {
        Form1->InvalidateWindow();
        wintest::Pump(100);
        Form1->SetClientSize(Form1->ClientWidth(), Form1->ClientHeight());
        wintest::Pump(100);
    }

    // Where the system window lies when it shows the form's whole window.
    RECT FormRect() const {
        const toolkit::RectI r = Form1->ScreenRect();
        return {r.left, r.top, r.right, r.bottom};
    }

    // The accessible object's own place, as a screen reader reads it.
    RECT AccessibleRect() const {
        Microsoft::WRL::ComPtr<IAccessible> acc;
        EXPECT_EQ(::AccessibleObjectFromWindow(Window(), DWORD(OBJID_CLIENT), IID_IAccessible,
                                               reinterpret_cast<void**>(acc.GetAddressOf())),
                  S_OK);
        long left = 0, top = 0, width = 0, height = 0;
        if (acc) {
            VARIANT self;
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            EXPECT_EQ(acc->accLocation(&left, &top, &width, &height, self), S_OK);
        }
        return {left, top, left + width, top + height};
    }

    // A region capture now copies exactly what lies under the viewfinder.
    void ExpectExactCapture() {
        const int viewfinderHeight = Form1->ClientHeight() - TitleBar;
        Form1->CutBtnClick(*Form1->CutBtn);
        const capture::CaptureRegion region =
            capture::RegionUnderViewfinder(Form1->Left(), Form1->Top(), TitleBarHeight,
                                           float(Form1->ClientWidth()), viewfinderHeight, scale);
        ASSERT_NE(Form1->BMP, nullptr);
        ASSERT_EQ(Form1->BMP->Width(), region.width);
        ASSERT_EQ(Form1->BMP->Height(), region.height);
        ASSERT_GT(region.width * region.height, 0);
        EXPECT_EQ(Form1->itix, region.x);
        EXPECT_EQ(Form1->itiy, region.y);
        EXPECT_TRUE(wintest::HoldsThePatternAt(*Form1->BMP, region.x, region.y));
    }

    float scale = 1;
};

TEST_F(SystemMoveHelper, AMoveByAnotherProgramIsTakenAndKept) {
    Form1->SetWindowBounds(40, 60, 200, TitleBar + 120);
    wintest::Pump(100);
    // Neither coordinate is a whole number of units at 120 DPI.
    const int x = 301;
    const int y = 203;
    ASSERT_NO_FATAL_FAILURE(MoveFromOutside(x, y));

    EXPECT_EQ(Form1->Left(), units::ToLogical(x, scale));
    EXPECT_EQ(Form1->Top(), units::ToLogical(y, scale));
    EXPECT_EQ(Form1->ClientWidth(), 200);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + 120);
    const RECT taken = WindowRectOf(Window());
    EXPECT_EQ(taken.left, units::ToPhysical(Form1->Left(), scale));
    EXPECT_EQ(taken.top, units::ToPhysical(Form1->Top(), scale));
    EXPECT_LE(x - taken.left, scale > 1 ? 1 : 0) << "moved back toward the old place";
    EXPECT_TRUE(Same(taken, FormRect()));

    RepaintTwice();
    const RECT later = WindowRectOf(Window());
    EXPECT_TRUE(Same(later, taken))
        << "a repaint put the window elsewhere: " << later.left << "," << later.top;
    EXPECT_EQ(Form1->Left(), units::ToLogical(x, scale));
    const RECT accessible = AccessibleRect();
    EXPECT_TRUE(Same(accessible, taken));
    ExpectExactCapture();
}

// The system window shows only the part of the form's window that lies on
// the desktop; a move of it moves the form by as much, and the form's own
// placements there never come back as moves.
TEST_F(SystemMoveHelper, AWindowPartlyOffTheDesktopMovesByTheMoveAndDoesNotDrift) {
    Form1->SetWindowBounds(-50, 100, 200, TitleBar + 90);
    wintest::Pump(100);
    RepaintTwice();
    EXPECT_EQ(Form1->Left(), -50) << "an own placement came back as a move";
    EXPECT_EQ(Form1->Top(), 100);
    const RECT shown = WindowRectOf(Window());
    ASSERT_EQ(shown.left, 0) << "the part left of the desktop is not shown";
    const int hidden = -units::ToPhysical(-50, scale);

    ASSERT_NO_FATAL_FAILURE(MoveFromOutside(7, shown.top + 3));

    EXPECT_EQ(Form1->Left(), units::ToLogical(7 - hidden, scale));
    EXPECT_EQ(Form1->Top(), units::ToLogical(shown.top + 3, scale));
    for (int repaint = 0; repaint < 3; ++repaint) {
        RepaintTwice();
    }
    EXPECT_EQ(Form1->Left(), units::ToLogical(7 - hidden, scale)) << "drifted";
    EXPECT_EQ(Form1->Top(), units::ToLogical(shown.top + 3, scale)) << "drifted";
    const RECT after = WindowRectOf(Window());
    EXPECT_EQ(after.left, 0);
    EXPECT_EQ(after.top, units::ToPhysical(Form1->Top(), scale));
    const RECT accessible = AccessibleRect();
    EXPECT_TRUE(Same(accessible, FormRect()));
    ExpectExactCapture();
}

TEST_F(SystemMoveHelper, AfterADisplayChangeAWindowOnNoDisplayComesBack) {
    Form1->SetWindowBounds(100, 100, 200, TitleBar + 100);
    wintest::Pump(100);
    // Wholly off the desktop, beyond its bottom right corner, as a window
    // is left when the display it was on goes away.
    const SIZE display{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_NO_FATAL_FAILURE(MoveFromOutside(display.cx + 500, display.cy + 300, true));

    // Pulled into the work area's bottom right corner, its size kept.
    const RECT work = PrimaryWorkArea();
    EXPECT_EQ(Form1->ClientWidth(), 200);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + 100);
    EXPECT_EQ(Form1->Left(), units::ToLogicalFloor(work.right, scale) - 200);
    EXPECT_EQ(Form1->Top(), units::ToLogicalFloor(work.bottom, scale) - (TitleBar + 100));
    const RECT back = WindowRectOf(Window());
    EXPECT_TRUE(Same(back, FormRect()));
    RECT inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &back, &work));
    EXPECT_TRUE(Same(inside, back)) << "not wholly in the work area";

    RepaintTwice();
    const RECT later = WindowRectOf(Window());
    EXPECT_TRUE(Same(later, back));
    const RECT accessible = AccessibleRect();
    EXPECT_TRUE(Same(accessible, back));
    ExpectExactCapture();
}

TEST_F(SystemMoveHelper, ADisplayChangeLeavesAWindowOnADisplayWhereItIs) {
    Form1->SetWindowBounds(37, 53, 123, TitleBar + 77);
    wintest::Pump(100);
    const RECT before = WindowRectOf(Window());
    ::SendMessageW(Window(), WM_DISPLAYCHANGE, 32,
                   MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(Form1->Left(), 37);
    EXPECT_EQ(Form1->Top(), 53);
    const RECT after = WindowRectOf(Window());
    EXPECT_TRUE(Same(after, before));
}

// A display of another DPI (the window moved onto it, or its scale
// changed): the system suggests another size and place, and the program
// keeps its own, since its one scale does not change.
TEST_F(SystemMoveHelper, ADpiChangeKeepsTheWindowTheBoxesAndTheCapture) {
    Form1->SetWindowBounds(37, 53, 123, TitleBar + 77);
    wintest::Pump(100);
    const RECT before = WindowRectOf(Window());
    const double widthBox = Form1->NBoxW->Value();
    const double heightBox = Form1->NBoxH->Value();
    const std::wstring widthText = Form1->NBoxW->Text();
    const std::wstring heightText = Form1->NBoxH->Text();
    const UINT otherDpi = scale > 1 ? 96 : 192;

    SIZE size{(before.right - before.left) * 2, (before.bottom - before.top) * 2};
    EXPECT_EQ(
        ::SendMessageW(Window(), WM_GETDPISCALEDSIZE, otherDpi, reinterpret_cast<LPARAM>(&size)),
        TRUE)
        << "the size the system proposes would be taken";
    EXPECT_EQ(size.cx, before.right - before.left);
    EXPECT_EQ(size.cy, before.bottom - before.top);

    RECT suggested{before.left + 100, before.top + 50, before.left + 100 + size.cx * 2,
                   before.top + 50 + size.cy * 2};
    EXPECT_EQ(::SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(otherDpi, otherDpi),
                             reinterpret_cast<LPARAM>(&suggested)),
              0);
    RepaintTwice();

    const RECT after = WindowRectOf(Window());
    EXPECT_TRUE(Same(after, before)) << after.left << "," << after.top << " "
                                     << after.right - after.left << "x" << after.bottom - after.top;
    EXPECT_EQ(Form1->Left(), 37);
    EXPECT_EQ(Form1->Top(), 53);
    EXPECT_EQ(Form1->ClientWidth(), 123);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + 77);
    EXPECT_EQ(Form1->Scale, scale);
    EXPECT_EQ(Form1->NBoxW->Value(), widthBox);
    EXPECT_EQ(Form1->NBoxH->Value(), heightBox);
    EXPECT_EQ(Form1->NBoxW->Text(), widthText);
    EXPECT_EQ(Form1->NBoxH->Text(), heightText);
    ExpectExactCapture();
}

TEST(SystemMovesAcrossDpiHelper, At96And120Dpi) {
    for (DWORD dpi : {96u, 120u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"SystemMoveHelper.*", dpi));
    }
}
