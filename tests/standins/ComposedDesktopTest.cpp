// The capture paths that desktop composition opens, against the stand-in
// dwmapi.dll in the prefix's System32: the window capture copies the visible
// frame of a window with invisible borders, a failing frame query falls
// back to the window rectangle, and the region capture waits for one
// composition pass while collapsed, instead of a fixed pause.
#include "tests/standins/StandInSupport.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"
#include "platform/Display.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

using standin::OtherHeight;
using standin::OtherWidth;
using wintest::HeldPixel;

LONGLONG Now() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return double(ticks) * 1000.0 / double(frequency.QuadPart);
}

// Differences from `expected` at (x, y) of the held image, x and y offset.
int Mismatches(const output::HeldImage& image, int offsetX, int offsetY, std::string& first) {
    int mismatches = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t expected = standin::OtherWindowPixel(x + offsetX, y + offsetY);
            const std::uint32_t actual = HeldPixel(image, x, y);
            if (actual != expected && mismatches++ == 0) {
                std::ostringstream text;
                text << "first at (" << x << "," << y << "): " << std::hex << actual
                     << " instead of " << expected;
                first = text.str();
            }
        }
    }
    return mismatches;
}

} // namespace

class ComposedDesktop : public CaptureWindowTest {
protected:
    void SetUp() override {
        // Without the stand-in every test below would pass through Wine's
        // own dwmapi and prove nothing.
        HMODULE dwmapi = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        ASSERT_NE(dwmapi, nullptr);
        ASSERT_TRUE(standin::IsStandInDwmapi(dwmapi)) << "System32's dwmapi.dll is Wine's own";
        ::SetEnvironmentVariableW(standin::DwmFailFrameBoundsVariable, nullptr);
        ::SetEnvironmentVariableW(standin::DwmCompositionOffVariable, nullptr);
        record.Reset();
        CaptureWindowTest::SetUp();
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(standin::DwmFailFrameBoundsVariable, nullptr);
        ::SetEnvironmentVariableW(standin::DwmCompositionOffVariable, nullptr);
        CaptureWindowTest::TearDown();
    }

    // Brings the other program's window to the front during the countdown
    // and captures it.
    void CaptureOtherWindow() {
        standin::OtherWindowProgram other;
        ::SetForegroundWindow(host->Handle());
        Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
        EXPECT_TRUE(other.Ended(20000));
    }

    standin::DwmRecordMapping& record = standin::DwmRecordMapping::Instance();
};

TEST_F(ComposedDesktop, WindowCaptureCopiesExactlyTheVisibleFrameOfAWindowWithInvisibleBorders) {
    CaptureOtherWindow();
    EXPECT_GE(record.Get().frameQueries, 1);
    ASSERT_NE(Form1->BMP, nullptr);
    // 7 pixels left, right and bottom lie outside the visible frame.
    ASSERT_EQ(Form1->BMP->Width(), OtherWidth - 14);
    ASSERT_EQ(Form1->BMP->Height(), OtherHeight - 7);
    std::string first;
    EXPECT_EQ(Mismatches(*Form1->BMP, 7, 0, first), 0) << first;
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
}

TEST_F(ComposedDesktop, AFailingFrameQueryFallsBackToTheWindowRectangle) {
    ::SetEnvironmentVariableW(standin::DwmFailFrameBoundsVariable, L"1");
    CaptureOtherWindow();
    EXPECT_GE(record.Get().frameQueries, 1) << "the query was not even made";
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), OtherWidth);
    ASSERT_EQ(Form1->BMP->Height(), OtherHeight);
    std::string first;
    EXPECT_EQ(Mismatches(*Form1->BMP, 0, 0, first), 0) << first;
}

TEST_F(ComposedDesktop, TheCaptureWindowItselfHasNoInvisibleBorders) {
    ::SetForegroundWindow(host->Handle());
    wintest::Pump(100);
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    EXPECT_GE(record.Get().frameQueries, 1);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Width(), Form1->ScreenRect().Width());
    EXPECT_EQ(Form1->BMP->Height(), Form1->ScreenRect().Height());
    EXPECT_TRUE(wintest::Near(HeldPixel(*Form1->BMP, 400, 18), 0x708090))
        << std::hex << HeldPixel(*Form1->BMP, 400, 18);
}

// Over the screen pattern: a snapshot taken at once after the collapse
// still shows the viewfinder, so an exact image shows that the wait came
// between the collapse and the snapshot. Captures with composition on and
// off are timed in the same run: with it on, the composition pass replaces
// the fixed pause instead of adding to it.
TEST_F(ComposedDesktop, RegionCaptureWaitsForACompositionPassWhileCollapsedInsteadOfAPause) {
    constexpr int Left = 301, Top = 211, Width = 250, ViewfinderHeight = 101;
    Form1->SetWindowBounds(Left, Top, Width, TitleBar + ViewfinderHeight);
    wintest::Pump(200);
    const int fullHeight = Form1->ScreenRect().Height();
    const int collapsedHeight = Form1->Rectangle2->PhysicalRect().Height();
    ASSERT_LT(collapsedHeight, fullHeight);
    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left, Top, TitleBarHeight, float(Width), ViewfinderHeight, Form1->Scale);

    // The fastest of a few captures, less the time spent in the composition
    // pass: a loaded machine slows some captures down, but a pause would be
    // in every one of them.
    const auto capture = [&](bool composition) {
        ::SetEnvironmentVariableW(standin::DwmCompositionOffVariable, composition ? nullptr : L"1");
        double fastest = 1e9;
        std::vector<double> collapsed;
        for (int run = 0; run < 5; ++run) {
            SCOPED_TRACE(run);
            record.Reset();
            const LONGLONG start = Now();
            Form1->CutBtnClick(*Form1->CutBtn);
            const LONGLONG end = Now();
            const volatile standin::DwmRecord& r = record.Get();
            LONGLONG own = end - start;
            collapsed.push_back(Milliseconds(own));
            if (composition) {
                EXPECT_EQ(r.flushes, 1);
                EXPECT_EQ(r.windowHeight, collapsedHeight) << "not collapsed at the pass";
                own -= r.flushEnded - r.flushCalled;
            } else {
                EXPECT_EQ(r.flushes, 0) << "a composition pass with composition off";
            }
            fastest = std::min(fastest, Milliseconds(own));

            EXPECT_NE(Form1->BMP, nullptr);
            if (Form1->BMP == nullptr || Form1->BMP->Width() != region.width ||
                Form1->BMP->Height() != region.height) {
                ADD_FAILURE() << "wrong image size";
                continue;
            }
            int mismatches = 0;
            for (int y = 0; y < region.height; ++y) {
                for (int x = 0; x < region.width; ++x) {
                    mismatches += HeldPixel(*Form1->BMP, x, y) !=
                                  testpattern::ScreenPatternAt(region.x + x, region.y + y);
                }
            }
            EXPECT_EQ(mismatches, 0) << "the snapshot holds something besides the screen";
            EXPECT_EQ(Form1->ScreenRect().Height(), fullHeight);
        }
        std::sort(collapsed.begin(), collapsed.end());
        std::printf("composition %s: collapsed per capture %.1f to %.1f ms, median %.1f ms\n",
                    composition ? "on" : "off", collapsed.front(), collapsed.back(),
                    collapsed[collapsed.size() / 2]);
        return fastest;
    };
    const double withPause = capture(false);
    const double withComposition = capture(true);
    EXPECT_LT(withComposition + 50.0, withPause)
        << "composition on: " << withComposition << " ms besides the pass; off: " << withPause
        << " ms";
}
