// Against the stand-in dwmapi.dll answering as Wine 10 does (composition
// on, the window rectangle as frame bounds, a DwmFlush that returns having
// composed nothing, at once or 3 ms later, and frame counters that stay 0),
// and as Windows does, over the screen pattern: region captures in a row
// hold exactly the screen, never the viewfinder, at 100 % and 150 %. A
// capture that took the flush at its word, or for the time it took, would
// snapshot the screen before the collapse reached it.
#include "tests/standins/StandInSupport.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"
#include "capture/CollapseWait.h"
#include "platform/Display.h"
#include "platform/ScreenCopy.h"

#include <dwmapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Pixels of `r` on the screen now that differ from the pattern.
int ScreenMismatches(const RECT& r) {
    const std::vector<std::uint32_t> pixels = wintest::ScreenPixels(r);
    const int width = r.right - r.left;
    int mismatches = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int x = r.left + int(i % std::size_t(width));
        const int y = r.top + int(i / std::size_t(width));
        mismatches += (pixels[i] & 0xFFFFFFu) != testpattern::ScreenPatternAt(x, y);
    }
    return mismatches;
}

// Sets a variable for the life of the object.
class EnvironmentScope {
public:
    EnvironmentScope(const wchar_t* name, const wchar_t* value) : name_(name) {
        ::SetEnvironmentVariableW(name, value);
    }
    ~EnvironmentScope() { ::SetEnvironmentVariableW(name_, nullptr); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    const wchar_t* name_;
};

} // namespace

// The screen is copied through the copy seam, which notes when.
LONGLONG copiedAt = 0;

BOOL WINAPI TimedCopy(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy,
                      DWORD rop) {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    copiedAt = now.QuadPart;
    return ::BitBlt(target, x, y, width, height, source, sx, sy, rop);
}

// Milliseconds from the last flush's return to the screen copy.
double CopiedAfterFlush(const volatile standin::DwmRecord& record) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return double(copiedAt - record.flushEnded) * 1000.0 / double(frequency.QuadPart);
}

// How the stand-in answers, as the parent set it in the environment.
enum class StandInMode { Windows, Wine10, Wine10Slow };

StandInMode ModeOfTheStandIn() {
    if (wintest::Environment(standin::DwmLikeWine10Variable) != L"1") {
        return StandInMode::Windows;
    }
    return wintest::Environment(standin::DwmSlowFlushVariable) == L"1" ? StandInMode::Wine10Slow
                                                                       : StandInMode::Wine10;
}

class FlushAtOnceHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::AtTheExpectedDpi());
        CaptureWindowTest::SetUp();
    }

    standin::DwmRecordMapping& record = standin::DwmRecordMapping::Instance();
};

TEST_F(FlushAtOnceHelper, TenRegionCapturesInARowHoldTheScreen) {
    const StandInMode mode = ModeOfTheStandIn();
    // The stand-in in System32 answers, in the mode asked; asking it first
    // also opens its record outside any capture.
    HMODULE dwmapi = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ASSERT_NE(dwmapi, nullptr);
    ASSERT_TRUE(standin::IsStandInDwmapi(dwmapi));
    const auto isEnabled = reinterpret_cast<HRESULT(WINAPI*)(BOOL*)>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmIsCompositionEnabled")));
    const auto flush = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmFlush")));
    const auto frameBounds = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD)>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmGetWindowAttribute")));
    const auto timing = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*)>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmGetCompositionTimingInfo")));
    ASSERT_TRUE(isEnabled && flush && frameBounds && timing);
    BOOL enabled = FALSE;
    ASSERT_EQ(isEnabled(&enabled), S_OK);
    ASSERT_TRUE(enabled);
    if (mode != StandInMode::Windows) {
        RECT bounds{};
        RECT window{};
        ASSERT_EQ(frameBounds(host->Handle(), 9 /* DWMWA_EXTENDED_FRAME_BOUNDS */, &bounds,
                              sizeof bounds),
                  S_OK);
        ASSERT_TRUE(::GetWindowRect(host->Handle(), &window));
        EXPECT_TRUE(::EqualRect(&bounds, &window));
    }
    // The stand-in answers as the mode says, or this test would prove
    // nothing: Wine 10's counters stay 0, quick or slow; Windows' count a
    // frame per flush.
    double quickest = 1e9;
    for (int i = 0; i < 5; ++i) {
        DWM_TIMING_INFO before{};
        DWM_TIMING_INFO after{};
        before.cbSize = after.cbSize = sizeof(DWM_TIMING_INFO);
        ASSERT_EQ(timing(nullptr, &before), S_OK);
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(flush(), S_OK);
        quickest = std::min(quickest, MillisecondsSince(start));
        ASSERT_EQ(timing(nullptr, &after), S_OK);
        if (mode == StandInMode::Windows) {
            ASSERT_EQ(after.cFrame, before.cFrame + 1);
        } else {
            ASSERT_EQ(after.cFrame, 0u);
            ASSERT_EQ(after.cRefresh, 0u);
        }
    }
    if (mode == StandInMode::Wine10) {
        ASSERT_LT(quickest, 0.5) << "the stand-in's flush waits";
    } else if (mode == StandInMode::Wine10Slow) {
        ASSERT_GE(quickest, 2.5) << "the slow flush is quick: a timing rule would not be fooled";
    }

    constexpr int Left = 301, Top = 211, Width = 250, ViewfinderHeight = 101;
    Form1->SetWindowBounds(Left, Top, Width, TitleBar + ViewfinderHeight);
    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left, Top, TitleBarHeight, float(Width), ViewfinderHeight, Form1->Scale);
    const RECT under{region.x, region.y, region.x + region.width, region.y + region.height};

    std::vector<double> collapsed;
    for (int run = 0; run < 10; ++run) {
        SCOPED_TRACE(run);
        // The viewfinder is back on the screen, so a snapshot taken before
        // the collapse reaches the screen would differ from the pattern.
        ASSERT_TRUE(wintest::WaitFor([&] { return ScreenMismatches(under) > 0; }, 2000))
            << "the viewfinder never showed over the region";
        record.Reset();
        const Clock::time_point start = Clock::now();
        {
            const platform::BlockCopyOverride timed(&TimedCopy);
            Form1->CutBtnClick(*Form1->CutBtn);
        }
        collapsed.push_back(MillisecondsSince(start));
        EXPECT_GE(record.Get().flushes, 1) << "the flush was not even asked";

        ASSERT_NE(Form1->BMP, nullptr);
        ASSERT_EQ(Form1->BMP->Width(), region.width);
        ASSERT_EQ(Form1->BMP->Height(), region.height);
        int mismatches = 0;
        std::ostringstream first;
        for (int y = 0; y < region.height; ++y) {
            for (int x = 0; x < region.width; ++x) {
                const std::uint32_t expected =
                    testpattern::ScreenPatternAt(region.x + x, region.y + y);
                const std::uint32_t actual = wintest::HeldPixel(*Form1->BMP, x, y);
                if (actual != expected && mismatches++ == 0) {
                    first << "first at (" << x << "," << y << "): " << std::hex << actual
                          << " instead of " << expected;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "the capture holds the viewfinder; " << first.str();
        EXPECT_EQ(Form1->ClientHeight(), TitleBar + ViewfinderHeight);
        if (mode == StandInMode::Windows) {
            // A flush across which a frame was composed is believed at once.
            EXPECT_EQ(record.Get().flushes, 1);
        } else {
            // A flush that composed nothing, however long it took, buys the
            // pause an uncomposed desktop gets, after the last flush.
            EXPECT_EQ(record.Get().flushes, 2);
            EXPECT_GE(collapsed.back(), double(capture::PauseWithoutFlush));
            EXPECT_GE(CopiedAfterFlush(record.Get()), double(capture::PauseWithoutFlush))
                << "the screen was copied " << CopiedAfterFlush(record.Get())
                << " ms after the last flush";
        }
    }
    std::sort(collapsed.begin(), collapsed.end());
    std::printf("collapsed per capture at %u DPI: fastest %.1f ms, median %.1f ms, slowest %.1f "
                "ms\n",
                unsigned(platform::SystemDpi()), collapsed.front(), collapsed[collapsed.size() / 2],
                collapsed.back());
}

// The process's first capture, with nothing asked of the compositor
// before it and a first answer that is slow, as Wine's is: the slow answer
// is not taken for a composition pass, so the screen is copied only after
// the pause that a flush composing nothing costs.

class FirstFlushHelper : public CaptureWindowTest {};

TEST_F(FirstFlushHelper, TheFirstCaptureOfAProcessWaitsLikeTheRest) {
    ASSERT_EQ(wintest::Environment(standin::DwmLikeWine10Variable), L"1");
    ASSERT_EQ(wintest::Environment(standin::DwmSlowFirstAnswerVariable), L"1");
    ASSERT_EQ(::GetModuleHandleW(L"dwmapi.dll"), nullptr) << "asked before the capture";
    standin::DwmRecordMapping& record = standin::DwmRecordMapping::Instance();
    record.Reset();
    constexpr int Left = 301, Top = 211, Width = 250, ViewfinderHeight = 101;
    Form1->SetWindowBounds(Left, Top, Width, TitleBar + ViewfinderHeight);
    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left, Top, TitleBarHeight, float(Width), ViewfinderHeight, Form1->Scale);
    const RECT under{region.x, region.y, region.x + region.width, region.y + region.height};
    ASSERT_TRUE(wintest::WaitFor([&] { return ScreenMismatches(under) > 0; }, 2000))
        << "the viewfinder never showed over the region";

    {
        const platform::BlockCopyOverride timed(&TimedCopy);
        Form1->CutBtnClick(*Form1->CutBtn);
    }
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_TRUE(wintest::HoldsThePatternAt(*Form1->BMP, region.x, region.y));
    ASSERT_GE(record.Get().flushes, 1);
    const double afterFlush = CopiedAfterFlush(record.Get());
    EXPECT_GE(afterFlush, double(capture::PauseWithoutFlush))
        << "the screen was copied " << afterFlush << " ms after the last flush";
}

TEST(FlushAtOnce, TheFirstCaptureOfAProcessWaitsThoughTheFirstAnswerIsSlow) {
    const EnvironmentScope likeWine10(standin::DwmLikeWine10Variable, L"1");
    const EnvironmentScope slow(standin::DwmSlowFirstAnswerVariable, L"1");
    EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"FirstFlushHelper.*", 96));
}

// Starts this program again at each scale, with the stand-in told to
// answer as Windows does, as Wine 10 does, and as Wine 10 does on a loaded
// machine.
TEST(FlushAtOnce, RegionCapturesHoldTheScreenAt96And144Dpi) {
    const struct {
        const char* what;
        const wchar_t* likeWine10;
        const wchar_t* slowFlush;
    } modes[] = {
        {"as Windows", nullptr, nullptr},
        {"as Wine 10", L"1", nullptr},
        {"as Wine 10 on a loaded machine", L"1", L"1"},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.what);
        const EnvironmentScope likeWine10(standin::DwmLikeWine10Variable, mode.likeWine10);
        const EnvironmentScope slowFlush(standin::DwmSlowFlushVariable, mode.slowFlush);
        for (DWORD dpi : {96u, 144u}) {
            SCOPED_TRACE(dpi);
            EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"FlushAtOnceHelper.*", dpi));
        }
    }
}
