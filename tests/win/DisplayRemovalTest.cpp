// A display that goes away while the program runs, in the layouts whose
// primary lies at the X screen's origin (tests/win/multi-display.sh), so the
// desktop that is left keeps its place in X, as a real display change does.
// On Xorg's outputs the test switches the others off
// (scripts/xorg-layout.sh). With the stand-in Xinerama library, which reads
// the heads once in each process from the file VARNEL_HEADS_FILE names, a
// program started after the file lists fewer heads resets the display
// settings: Wine takes its displays for the whole session and tells every
// window that the displays changed.
#include "tests/win/FormFixture.h"
#include "tests/win/SessionLayout.h"
#include "tests/win/WinTestSupport.h"

#include "platform/KernelHandle.h"

#include <string>

namespace {

using sessionlayout::Env;
using sessionlayout::Layout;
using sessionlayout::SessionLayout;
using sessionlayout::Trunc;

void ResetStandInHeadsTo(const std::string& heads) {
    std::wstring path;
    for (char c : "Z:" + Env("VARNEL_HEADS_FILE")) {
        path += c == '/' ? L'\\' : wchar_t(c);
    }
    {
        const HANDLE raw = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(raw, INVALID_HANDLE_VALUE) << "cannot write the heads file";
        const platform::UniqueKernelHandle file(raw);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), heads.data(), DWORD(heads.size()), &written, nullptr));
    }
    wintest::OtherProgram reset(L"DisplaySettingsResetHelper.*");
    // The change is told to this thread's window through its messages.
    ASSERT_TRUE(wintest::WaitFor([&] { return reset.IsReady(); }, 30000))
        << "the display settings were not reset to " << heads;
    reset.Release();
    EXPECT_EQ(reset.WaitForExit(10000), std::optional<DWORD>(0));
}

// The heads, as VARNEL_HEADS lists them, that the session is left with, once
// this process's monitors are those.
void ResetDisplaysTo(const std::string& heads) {
    if (Env("VARNEL_HEADS_FILE").empty()) {
        ASSERT_TRUE(sessionlayout::SetDisplays(heads)) << "the layout " << heads << " was not set";
    } else {
        ASSERT_NO_FATAL_FAILURE(ResetStandInHeadsTo(heads));
    }
    const int count = int(sessionlayout::LayoutOf(heads).heads.size());
    ASSERT_TRUE(wintest::WaitFor([&] { return ::GetSystemMetrics(SM_CMONITORS) == count; }, 20000))
        << "Wine did not take the displays to " << heads;
}

} // namespace

TEST(DisplaySettingsResetHelper, ResetsTheDisplaySettings) {
    const wintest::HelperSide side;
    ASSERT_TRUE(side.Opened());
    EXPECT_EQ(::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr),
              DISP_CHANGE_SUCCESSFUL);
    side.SayReady();
    EXPECT_TRUE(side.WaitForRelease());
}

class DisplayRemovalHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        layout = SessionLayout();
        ASSERT_GE(layout.heads.size(), 2u);
        ASSERT_EQ(layout.primaryRoot.x, 0);
        ASSERT_EQ(layout.primaryRoot.y, 0);
        CaptureWindowTest::SetUp();
    }
    void TearDown() override {
        CaptureWindowTest::TearDown();
        // Whatever runs next in the session finds its displays again.
        ResetDisplaysTo(Env("VARNEL_HEADS"));
    }

    Layout layout;
};

TEST_F(DisplayRemovalHelper, AWindowOnADisplayThatGoesAwayComesOntoTheOneLeft) {
    const double s = Form1->Scale;
    const RECT& last = layout.heads.back();
    Form1->SetWindowBounds(Trunc((last.left + 40) / s), Trunc((last.top + 30) / s), 200, 36 + 100);
    wintest::Pump(150);
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), int(layout.heads.size()));
    RECT before{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &before));
    ASSERT_EQ(::MonitorFromRect(&before, MONITOR_DEFAULTTONULL),
              ::MonitorFromPoint(POINT{last.left, last.top}, MONITOR_DEFAULTTONULL));

    const std::string heads = Env("VARNEL_HEADS");
    ASSERT_NO_FATAL_FAILURE(ResetDisplaysTo(heads.substr(0, heads.find(','))));
    const RECT work = layout.WorkAreaOf(layout.heads.front());
    RECT after{};
    // Pulled into the work area of the display that is left, its size kept.
    ASSERT_TRUE(wintest::WaitFor(
        [&] {
            RECT inside{};
            ::GetWindowRect(host->Handle(), &after);
            ::IntersectRect(&inside, &after, &work);
            return ::EqualRect(&inside, &after) != FALSE;
        },
        5000))
        << "(" << after.left << "," << after.top << ")-(" << after.right << "," << after.bottom
        << ") is not in the work area";
    EXPECT_EQ(Form1->ClientWidth(), 200);
    EXPECT_EQ(Form1->ClientHeight(), 36 + 100);
    const toolkit::RectI whole = Form1->ScreenRect();
    EXPECT_EQ(after.left, whole.left);
    EXPECT_EQ(after.top, whole.top);
    EXPECT_EQ(after.right, whole.right);
    EXPECT_EQ(after.bottom, whole.bottom);

    // The capture takes the new desktop: exactly the pixels under the
    // viewfinder, from the display that is left.
    ASSERT_NO_FATAL_FAILURE(sessionlayout::ExpectAnExactCapture(
        sessionlayout::LayoutOf(heads.substr(0, heads.find(','))), 200, 100));
    BITMAP snapshot{};
    ASSERT_TRUE(::GetObjectW(Form1->DesktopBitmap, sizeof snapshot, &snapshot));
    EXPECT_EQ(snapshot.bmWidth, layout.heads.front().right - layout.heads.front().left)
        << "the snapshot still covers the display that went away";
}
