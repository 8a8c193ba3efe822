// Moving, resizing, stay on top and the size boxes, driven through the
// system's input queue as a user's mouse and keyboard drive them.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Display.h"

#include <cstdlib>

namespace {

POINT ScreenPointOf(const toolkit::Control& control, double dx = 0.5, double dy = 0.5) {
    const toolkit::RectI screen = Form1->ScreenRect();
    const toolkit::RectI r = control.PhysicalRect();
    return POINT{screen.left + r.left + static_cast<LONG>(r.Width() * dx),
                 screen.top + r.top + static_cast<LONG>(r.Height() * dy)};
}

const wintest::Button Buttons[] = {wintest::Button::Left, wintest::Button::Right,
                                   wintest::Button::Middle};

} // namespace

class PlacementTest : public CaptureWindowTest {
protected:
    void SetUp() override {
        CaptureWindowTest::SetUp();
        Form1->SetWindowBounds(200, 150, 501, 368);
        ::SetForegroundWindow(host->Handle());
        wintest::Pump(100);
    }

    void SelectAllAndType(toolkit::NumberBox* box, const std::wstring& text) {
        const POINT p = ScreenPointOf(*box);
        wintest::Click(p.x, p.y);
        wintest::PressKey(VK_HOME);
        wintest::PressKey(VK_END, true);
        if (text.empty()) {
            wintest::PressKey(VK_DELETE);
        } else {
            wintest::TypeText(text);
        }
    }

    void ClickApply() {
        const POINT p = ScreenPointOf(*Form1->SetRectBtn);
        wintest::Click(p.x, p.y);
    }
};

TEST_F(PlacementTest, DraggingTheTitleBarMovesByExactlyThePointersMovement) {
    for (wintest::Button button : Buttons) {
        SCOPED_TRACE(int(button));
        const int left = Form1->Left();
        const int top = Form1->Top();
        const POINT p = ScreenPointOf(*Form1->Rectangle2, 0.8, 0.5); // no control there
        wintest::Drag(p.x, p.y, p.x + 73, p.y + 41, button);
        EXPECT_EQ(Form1->Left(), left + 73);
        EXPECT_EQ(Form1->Top(), top + 41);
        EXPECT_EQ(Form1->ClientWidth(), 501);
        EXPECT_EQ(Form1->ClientHeight(), 368);
        EXPECT_FALSE(Form1->Moving());
        RECT r{};
        ::GetWindowRect(host->Handle(), &r);
        EXPECT_EQ(r.left, left + 73);
        EXPECT_EQ(r.top, top + 41);
    }
}

TEST_F(PlacementTest, DraggingInTheViewfinderResizesFromTheBottomRight) {
    for (wintest::Button button : Buttons) {
        SCOPED_TRACE(int(button));
        const int width = Form1->ClientWidth();
        const int height = Form1->ClientHeight();
        const POINT p = ScreenPointOf(*Form1->Rectangle1, 0.3, 0.4);
        wintest::Drag(p.x, p.y, p.x + 50, p.y + 20, button);
        EXPECT_EQ(Form1->Left(), 200);
        EXPECT_EQ(Form1->Top(), 150);
        EXPECT_EQ(Form1->ClientWidth(), width + 50);
        EXPECT_EQ(Form1->ClientHeight(), height + 20);
        EXPECT_EQ(Form1->Rectangle1->Width(), width + 50.0f) << "the viewfinder follows";
        EXPECT_EQ(Form1->Rectangle1->Height(), height + 20.0f - TitleBarHeight);
        // The close button keeps its distance to the right edge.
        EXPECT_EQ(Form1->ExitBtn->Bounds().x, Form1->ClientWidth() - 26.0f);
    }
}

TEST_F(PlacementTest, AResizeDraggedPastTheLeftAndTopEdgesStopsThere) {
    // Far enough from the screen's edges for the pointer to pass the
    // window's left and top edges.
    Form1->SetWindowBounds(900, 600, 501, 368);
    wintest::Pump(100);
    const POINT p = ScreenPointOf(*Form1->Rectangle1, 0.5, 0.5);
    wintest::Drag(p.x, p.y, p.x - 700, p.y - 600);
    EXPECT_EQ(Form1->ClientWidth(), 1);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar);
    EXPECT_EQ(Form1->Left(), 900);
    EXPECT_EQ(Form1->Top(), 600);
}

TEST_F(PlacementTest, StayOnTopKeepsTheWindowAboveAnotherUntilReleased) {
    // Another program's window, brought to the front over ours.
    wintest::ChildProcess other(L"\"" + wintest::ProgramPath() + L"\"");
    HWND otherWindow = other.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(otherWindow, nullptr);
    const toolkit::RectI ours = Form1->ScreenRect();
    // Lay the other window's title bar across our viewfinder, so that where
    // the two overlap the other shows plain title bar (no control there).
    ::SetWindowPos(otherWindow, nullptr, ours.left - 150, ours.top + 150, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const POINT probe{ours.left + 250, ours.top + 165};

    auto onTopAtProbe = [&] {
        wintest::Pump(300);
        return ::WindowFromPoint(probe) == host->Handle();
    };
    const POINT top = ScreenPointOf(*Form1->TopBtn);
    wintest::Click(top.x, top.y);
    ASSERT_TRUE(Form1->TopBtn->IsPressed());
    EXPECT_TRUE(::GetWindowLongPtrW(host->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    ::SetForegroundWindow(otherWindow);
    ::SetWindowPos(otherWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(onTopAtProbe()) << "stay on top lost to another window";
    // Our half-transparent viewfinder shows there, not the other's title bar.
    EXPECT_TRUE(wintest::Near(wintest::ScreenShot().At(probe.x, probe.y), 0x707070));

    ::SetForegroundWindow(host->Handle());
    wintest::Click(top.x, top.y);
    ASSERT_FALSE(Form1->TopBtn->IsPressed());
    EXPECT_FALSE(::GetWindowLongPtrW(host->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Form1->Left(), 200);
    EXPECT_EQ(Form1->ClientWidth(), 501);
    ::SetForegroundWindow(otherWindow);
    ::SetWindowPos(otherWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(onTopAtProbe()) << "the released window still stays on top";
    std::uint32_t seen = 0;
    EXPECT_TRUE(wintest::WaitFor(
        [&] {
            seen = wintest::ScreenShot().At(probe.x, probe.y);
            return wintest::Near(seen, 0x708090);
        },
        3000))
        << "the other window's title bar should cover ours, seen " << std::hex << seen;
    ::PostMessageW(otherWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(other.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST_F(PlacementTest, TypedSizesAreAppliedInPhysicalPixels) {
    if (Form1->Scale != 1.0f) {
        GTEST_SKIP() << "the examples are for 100 %";
    }
    SelectAllAndType(Form1->NBoxW, L"640");
    SelectAllAndType(Form1->NBoxH, L"480");
    ClickApply();
    EXPECT_EQ(Form1->ClientWidth(), 640);
    EXPECT_EQ(Form1->ClientHeight(), 516);
    EXPECT_EQ(Form1->Rectangle1->Height(), 480.0f);
    EXPECT_EQ(Form1->Left(), 200);
    EXPECT_EQ(Form1->Top(), 150);
}

TEST_F(PlacementTest, UncommittedTextIsUsedAsItStands) {
    SelectAllAndType(Form1->NBoxW, L"+640");
    ClickApply();
    EXPECT_EQ(Form1->NBoxW->Text(), L"+640") << "applying does not change the box";
    EXPECT_EQ(Form1->ClientWidth(), int(640 / double(Form1->Scale)));
    const POINT p = ScreenPointOf(*Form1->NBoxW);
    wintest::Click(p.x, p.y);
    wintest::PressKey(VK_RETURN);
    EXPECT_EQ(Form1->NBoxW->Text(), L"640");
}

TEST_F(PlacementTest, TheTwoBoxesClampToTheirOwnMaxima) {
    SelectAllAndType(Form1->NBoxW, L"12000");
    wintest::PressKey(VK_RETURN);
    SelectAllAndType(Form1->NBoxH, L"12000");
    wintest::PressKey(VK_RETURN);
    EXPECT_EQ(Form1->NBoxW->Text(), L"12000");
    EXPECT_EQ(Form1->NBoxH->Text(), L"10000");
}

TEST_F(PlacementTest, AnEmptyHeightFailsAfterTheWidthWasApplied) {
    SelectAllAndType(Form1->NBoxW, L"300");
    SelectAllAndType(Form1->NBoxH, L"");
    wintest::MessageBoxWatcher watcher;
    ClickApply();
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, L"'' は Integer 型の値として有効な整数値ではありません.");
    EXPECT_EQ(Form1->ClientWidth(), int(300 / double(Form1->Scale)));
    EXPECT_EQ(Form1->ClientHeight(), 368) << "the height stays as it was";
}

TEST_F(PlacementTest, DoubleClickingABoxReadsTheCurrentSize) {
    const POINT p = ScreenPointOf(*Form1->Rectangle1, 0.5, 0.5);
    wintest::Drag(p.x, p.y, p.x + 39, p.y + 11);
    EXPECT_EQ(Form1->NBoxW->Text(), L"501") << "a resize leaves the boxes alone";
    const POINT w = ScreenPointOf(*Form1->NBoxW);
    wintest::DoubleClick(w.x, w.y);
    EXPECT_EQ(Form1->NBoxW->Value(), 540.0 * Form1->Scale);
    EXPECT_EQ(Form1->NBoxH->Text(), L"332") << "the other box is unchanged";
}

TEST_F(PlacementTest, TabVisitsTheHeightBoxBeforeTheWidthBox) {
    const POINT w = ScreenPointOf(*Form1->NBoxW);
    wintest::Click(w.x, w.y);
    EXPECT_EQ(Form1->Focused(), Form1->NBoxW);
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Form1->Focused(), Form1->NBoxH);
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Form1->Focused(), Form1->NBoxW);
}

// The 125 % example: 626 x 415 typed gives a 500-unit window whose capture
// is 625 pixels wide. Started at 120 DPI by the next test.
class PlacementAt120DpiHelper : public PlacementTest {};

TEST_F(PlacementAt120DpiHelper, TypedSizesTruncate) {
    ASSERT_EQ(Form1->Scale, 1.25f) << "runs at 120 DPI";
    SelectAllAndType(Form1->NBoxW, L"626");
    SelectAllAndType(Form1->NBoxH, L"415");
    ClickApply();
    EXPECT_EQ(Form1->ClientWidth(), 500);
    EXPECT_EQ(Form1->Rectangle1->Height(), 332.0f);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Width(), 625);
    EXPECT_EQ(Form1->BMP->Height(), 415);
}

TEST(PlacementAt125Percent, TypedSizesTruncate) {
    wintest::SystemDpiOverride dpi(120);
    EXPECT_TRUE(wintest::RunSelf(L"PlacementAt120DpiHelper.*"));
}

TEST_F(PlacementTest, SizeBoxesCopyAndPasteThroughTheClipboard) {
    SelectAllAndType(Form1->NBoxW, L"777");
    wintest::PressKey(VK_HOME);
    wintest::PressKey(VK_END, true);
    wintest::PressKey('C', false, true);
    const POINT h = ScreenPointOf(*Form1->NBoxH);
    wintest::Click(h.x, h.y);
    wintest::PressKey(VK_HOME);
    wintest::PressKey(VK_END, true);
    wintest::PressKey('V', false, true);
    EXPECT_EQ(Form1->NBoxH->Text(), L"777");
}
