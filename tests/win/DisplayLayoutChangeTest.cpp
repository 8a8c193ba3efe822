// A display that goes away and comes back without a word: in the layout of
// a display left of the primary (tests/win/CMakeLists.txt), the test
// switches the left output off with xrandr and on again. Wine 10 changes
// every process's monitors then, but sends no WM_DISPLAYCHANGE, no
// WM_SETTINGCHANGE and no move; xrandr puts the primary at the X screen's
// origin while the other display is off.
#include "tests/win/FormFixture.h"
#include "tests/win/SessionLayout.h"
#include "tests/win/WinTestSupport.h"

#include <optional>
#include <string>

namespace {

using sessionlayout::Env;
using sessionlayout::Layout;
using sessionlayout::LayoutOf;
using sessionlayout::Trunc;

// The primary alone, as xrandr leaves it: at the X screen's origin.
std::string PrimaryAlone(const std::string& heads) {
    const std::string primary = heads.substr(0, heads.find(','));
    return primary.substr(0, primary.find('+')) + "+0+0";
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool Inside(const RECT& r, const RECT& area) {
    RECT inside{};
    ::IntersectRect(&inside, &r, &area);
    return ::EqualRect(&inside, &r) != FALSE;
}

} // namespace

class UnannouncedDisplayChangeHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::AtTheExpectedDpi());
        layout = sessionlayout::SessionLayout();
        ASSERT_EQ(layout.heads.size(), 2u);
        ASSERT_LT(layout.heads[1].left, 0) << "the second display must lie left of the primary";
        CaptureWindowTest::SetUp();
    }
    void TearDown() override {
        CaptureWindowTest::TearDown();
        // Whatever runs next in the session finds its displays again.
        EXPECT_TRUE(sessionlayout::SetDisplays(Env("VARNEL_HEADS")));
        EXPECT_TRUE(wintest::WaitFor([] { return ::GetSystemMetrics(SM_CMONITORS) == 2; }, 10000));
    }

    // X shows the window where Windows has it, in the layout shown (X takes
    // a moment to follow).
    void ExpectShownWhereItIs(const Layout& shown) {
        RECT r{};
        std::optional<POINT> seen;
        const bool there = wintest::WaitFor(
            [&] {
                ::GetWindowRect(host->Handle(), &r);
                seen = sessionlayout::XPlaceOf("Varnel");
                return seen && seen->x == r.left + shown.primaryRoot.x &&
                       seen->y == r.top + shown.primaryRoot.y;
            },
            3000);
        EXPECT_TRUE(there) << "Windows has the window at " << Describe(r) << ", X shows it at "
                           << (seen ? std::to_string(seen->x) + "," + std::to_string(seen->y)
                                    : std::string("no place"))
                           << " (root), the primary at root " << shown.primaryRoot.x << ","
                           << shown.primaryRoot.y;
    }

    Layout layout;
};

TEST_F(UnannouncedDisplayChangeHelper, AWindowOnTheLeftDisplayComesOntoThePrimaryAndStaysThere) {
    const double s = Form1->Scale;
    const RECT& left = layout.heads[1];
    const int logicalLeft = Trunc((left.left + 40) / s);
    const int logicalTop = Trunc((left.top + 30) / s);
    Form1->SetWindowBounds(logicalLeft, logicalTop, 200, 36 + 100);
    wintest::Pump(300);
    RECT before{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &before));
    ASSERT_TRUE(Inside(before, left)) << Describe(before);
    ASSERT_NO_FATAL_FAILURE(ExpectShownWhereItIs(layout));

    // The left display goes; nothing is said.
    ASSERT_TRUE(sessionlayout::RunOnTheXSide("xrandr --output DUMMY1 --off"));
    const std::string heads = Env("VARNEL_HEADS");
    const Layout alone = LayoutOf(PrimaryAlone(heads));
    ASSERT_TRUE(wintest::WaitFor([] { return ::GetSystemMetrics(SM_CMONITORS) == 1; }, 10000))
        << "Wine did not take the left display away";
    RECT after{};
    const bool onADisplay = wintest::WaitFor(
        [&] {
            ::GetWindowRect(host->Handle(), &after);
            return Inside(after, alone.heads[0]);
        },
        5000);
    ASSERT_TRUE(onADisplay) << Describe(after) << " is on no display";
    EXPECT_EQ(Form1->ClientWidth(), 200);
    EXPECT_EQ(Form1->ClientHeight(), 36 + 100);
    const toolkit::RectI whole = Form1->ScreenRect();
    EXPECT_EQ(after.left, whole.left);
    EXPECT_EQ(after.top, whole.top);
    wintest::Pump(300);
    ASSERT_NO_FATAL_FAILURE(ExpectShownWhereItIs(alone));
    ASSERT_NO_FATAL_FAILURE(sessionlayout::ExpectAnExactCapture(alone, 200, 100));

    // The left display comes back: the window stays where it is.
    const int keptLeft = Form1->Left();
    const int keptTop = Form1->Top();
    ASSERT_TRUE(sessionlayout::SetDisplays(heads));
    ASSERT_TRUE(wintest::WaitFor([] { return ::GetSystemMetrics(SM_CMONITORS) == 2; }, 10000))
        << "Wine did not give the left display back";
    // Longer than the program takes to notice a change.
    wintest::Pump(2500);
    EXPECT_EQ(Form1->Left(), keptLeft);
    EXPECT_EQ(Form1->Top(), keptTop);
    RECT back{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &back));
    EXPECT_TRUE(::EqualRect(&back, &after)) << Describe(back) << " instead of " << Describe(after);
    ASSERT_NO_FATAL_FAILURE(ExpectShownWhereItIs(layout));
    ASSERT_NO_FATAL_FAILURE(sessionlayout::ExpectAnExactCapture(layout, 200, 100));
}

TEST(UnannouncedDisplayChangeAcrossDpiHelper, At96And144Dpi) {
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"UnannouncedDisplayChangeHelper.*", dpi));
    }
}
