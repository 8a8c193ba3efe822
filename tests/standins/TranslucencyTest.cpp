// The window as a user sees it on a desktop that composes per-pixel alpha
// (run with a compositing manager, over the screen pattern): the viewfinder
// lets the screen through at half strength, the title bar hides it. The
// real program runs; this process reads the screen, as any other program
// would.
#include "tests/standins/StandInSupport.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/WinTestSupport.h"

#include "app/Unit1Definition.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

// The viewfinder's fill 0xE0E0E0 at opacity 0.5, premultiplied, over what
// lies behind at the other half.
std::uint32_t SeenThroughViewfinder(std::uint32_t behind) {
    std::uint32_t seen = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        seen |= std::uint32_t(112 + ((behind >> shift) & 0xFF) / 2.0 + 0.5) << shift;
    }
    return seen;
}

std::string Hex(std::uint32_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

} // namespace

TEST(Translucency, TheViewfinderBlendsOverTheScreenAndTheTitleBarHidesIt) {
    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    ::SetCursorPos(0, 0);
    wintest::Pump(1500); // the compositor's first frames
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(window, &r));
    ASSERT_EQ(r.right - r.left, 501) << "at 100 %";
    const wintest::ScreenShot shot;

    // Inside the viewfinder, clear of its one-pixel outline.
    for (const double fx : {0.05, 0.3, 0.55, 0.8, 0.97}) {
        for (const double fy : {0.1, 0.5, 0.9}) {
            const int x = r.left + 2 + int(fx * (r.right - r.left - 4));
            const int y = r.top + int(TitleBarHeight) + 2 +
                          int(fy * (r.bottom - r.top - int(TitleBarHeight) - 4));
            const std::uint32_t behind = testpattern::ScreenPatternAt(x, y);
            EXPECT_TRUE(wintest::Near(shot.At(x, y), SeenThroughViewfinder(behind), 3))
                << "at (" << x << "," << y << "): " << Hex(shot.At(x, y)) << " over " << Hex(behind)
                << ", expected " << Hex(SeenThroughViewfinder(behind));
        }
    }
    // The title bar where no control lies, over different parts of the screen.
    for (const int dx : {116, 350, 460}) {
        for (const int dy : {2, 33}) {
            EXPECT_TRUE(wintest::Near(shot.At(r.left + dx, r.top + dy), 0x708090, 2))
                << "title bar at +" << dx << ",+" << dy << ": "
                << Hex(shot.At(r.left + dx, r.top + dy));
        }
    }
    // Beside the window the screen is untouched.
    EXPECT_EQ(shot.At(r.left - 3, r.top + 100),
              testpattern::ScreenPatternAt(r.left - 3, r.top + 100));
    EXPECT_EQ(shot.At(r.right + 3, r.bottom - 5),
              testpattern::ScreenPatternAt(r.right + 3, r.bottom - 5));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}
