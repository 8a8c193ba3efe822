// Against the stand-in dwmapi.dll answering as Wine 10 does (composition
// on, the window rectangle as frame bounds, a DwmFlush that returns at once
// having waited for nothing), over the screen pattern: region captures in a
// row hold exactly the screen, never the viewfinder, at 100 % and 150 %. A
// capture that took the flush at its word would snapshot the screen before
// the collapse reached it.
#include "tests/standins/StandInSupport.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"
#include "capture/CollapseWait.h"
#include "platform/Display.h"
#include "platform/ScreenCopy.h"

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

class FlushAtOnceHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::AtTheExpectedDpi());
        ASSERT_EQ(wintest::Environment(standin::DwmLikeWine10Variable), L"1");
        CaptureWindowTest::SetUp();
    }

    standin::DwmRecordMapping& record = standin::DwmRecordMapping::Instance();
};

TEST_F(FlushAtOnceHelper, TenRegionCapturesInARowHoldTheScreen) {
    // The stand-in in System32 answers, and as Wine 10 does; asking it
    // first also opens its record outside any timed flush.
    HMODULE dwmapi = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ASSERT_NE(dwmapi, nullptr);
    ASSERT_TRUE(standin::IsStandInDwmapi(dwmapi));
    const auto isEnabled = reinterpret_cast<HRESULT(WINAPI*)(BOOL*)>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmIsCompositionEnabled")));
    const auto flush = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmFlush")));
    const auto frameBounds = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD)>(
        reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmGetWindowAttribute")));
    ASSERT_TRUE(isEnabled && flush && frameBounds);
    BOOL enabled = FALSE;
    ASSERT_EQ(isEnabled(&enabled), S_OK);
    ASSERT_TRUE(enabled);
    RECT bounds{};
    RECT window{};
    ASSERT_EQ(
        frameBounds(host->Handle(), 9 /* DWMWA_EXTENDED_FRAME_BOUNDS */, &bounds, sizeof bounds),
        S_OK);
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &window));
    EXPECT_TRUE(::EqualRect(&bounds, &window));
    double quickest = 1e9;
    for (int i = 0; i < 5; ++i) {
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(flush(), S_OK);
        quickest = std::min(quickest, MillisecondsSince(start));
    }
    ASSERT_LT(quickest, 0.5) << "the stand-in's flush waits: this test would prove nothing";

    constexpr int Left = 301, Top = 211, Width = 250, ViewfinderHeight = 101;
    Form1->SetWindowBounds(Left, Top, Width, 36 + ViewfinderHeight);
    const capture::CaptureRegion region =
        capture::RegionUnderViewfinder(Left, Top, 36, float(Width), ViewfinderHeight, Form1->Scale);
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
        Form1->CutBtnClick(*Form1->CutBtn);
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
        EXPECT_EQ(Form1->ClientHeight(), 36 + ViewfinderHeight);
        // A flush that waited for nothing buys the pause an uncomposed
        // desktop gets.
        EXPECT_GE(collapsed.back(), double(capture::PauseWithoutFlush));
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
// the pause that a flush waiting for nothing costs.
LONGLONG copiedAt = 0;

BOOL WINAPI TimedCopy(HDC target, int x, int y, int width, int height, HDC source, int sx, int sy,
                      DWORD rop) {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    copiedAt = now.QuadPart;
    return ::BitBlt(target, x, y, width, height, source, sx, sy, rop);
}

class FirstFlushHelper : public CaptureWindowTest {};

TEST_F(FirstFlushHelper, TheFirstCaptureOfAProcessWaitsLikeTheRest) {
    ASSERT_EQ(wintest::Environment(standin::DwmLikeWine10Variable), L"1");
    ASSERT_EQ(wintest::Environment(standin::DwmSlowFirstAnswerVariable), L"1");
    ASSERT_EQ(::GetModuleHandleW(L"dwmapi.dll"), nullptr) << "asked before the capture";
    standin::DwmRecordMapping& record = standin::DwmRecordMapping::Instance();
    record.Reset();
    constexpr int Left = 301, Top = 211, Width = 250, ViewfinderHeight = 101;
    Form1->SetWindowBounds(Left, Top, Width, 36 + ViewfinderHeight);
    const capture::CaptureRegion region =
        capture::RegionUnderViewfinder(Left, Top, 36, float(Width), ViewfinderHeight, Form1->Scale);
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
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    const double afterFlush =
        double(copiedAt - record.Get().flushEnded) * 1000.0 / double(frequency.QuadPart);
    EXPECT_GE(afterFlush, double(capture::PauseWithoutFlush))
        << "the screen was copied " << afterFlush << " ms after the last flush";
}

TEST(FlushAtOnce, TheFirstCaptureOfAProcessWaitsThoughTheFirstAnswerIsSlow) {
    const EnvironmentScope likeWine10(standin::DwmLikeWine10Variable, L"1");
    const EnvironmentScope slow(standin::DwmSlowFirstAnswerVariable, L"1");
    EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"FirstFlushHelper.*", 96));
}

// Starts this program again at each scale, with the stand-in told to
// answer as Wine 10 does.
TEST(FlushAtOnce, RegionCapturesHoldTheScreenAt96And144Dpi) {
    const EnvironmentScope likeWine10(standin::DwmLikeWine10Variable, L"1");
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"FlushAtOnceHelper.*", dpi));
    }
}
