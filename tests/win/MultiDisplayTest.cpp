// What holds in every layout of several displays (tests/win/SessionLayout.h):
// what Wine made of the heads, the pointer on each, the first placement,
// region captures anywhere on the desktop, the system window clipped at
// negative coordinates, and the window capture of a window on another
// display. The CMake entries start one session per layout, and the driver
// runs the DPI-dependent suite again in fresh processes at 96 and 144 DPI.
#include "tests/win/FormFixture.h"
#include "tests/win/SessionLayout.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Display.h"
#include "tests/support/ScreenPattern.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using sessionlayout::Env;
using sessionlayout::Layout;
using sessionlayout::SessionLayout;
using sessionlayout::Trunc;
using wintest::HeldPixel;
using wintest::ScreenPixels;

// ---------------------------------------------------------------------------
// The layouts the sessions use, and what each must give.

struct FirstPlacement {
    const char* heads;
    const char* workArea; // "" for the whole screen
    DWORD dpi;
    int left; // logical units
    int top;
};

// Worked out by hand from the desktop-centre rule.
const FirstPlacement FirstPlacements[] = {
    // A shorter display right of the primary: the centred window's bottom
    // right corner falls in the gap below it; moved vertically into the
    // primary's work area (nearest work-area centre) nothing changes, so it
    // is moved horizontally as well.
    {"1280x800+0+0,1024x500+1280+0", "", 96, 779, 216},
    {"1280x800+0+0,1024x500+1280+0", "", 144, 352, 82},
    // A display left of and above the primary, a panel's strip reserved
    // at the top of both (the primary's work area starts 40 pixels down): at
    // 96 DPI the centred window straddles both displays with every corner on
    // one, so it stays; at 144 DPI its bottom left corner falls below the
    // left display and it moves into the primary's work area, down to its
    // first whole unit (27, not the display's 16) and then right.
    {"1280x800+1024+200,1024x768+0+0", "0,240,2304,760", 96, -122, 116},
    {"1280x800+1024+200,1024x768+0+0", "0,240,2304,760", 144, 0, 27},
    // A wide primary with a small display below it: the desktop's centre
    // lies on the small display, but the primary's work-area centre is the
    // nearer one (300 against 316 pixels), so the window moves into the
    // primary: up by 184 and no further.
    {"3000x600+0+0,600x600+1300+600", "", 96, 1250, 232},
    {"3000x600+0+0,600x600+1300+600", "", 144, 750, 32},
};

// Viewfinders given by the physical rectangle they should cover; the
// logical geometry is derived per scale and the exact region from that.
struct Viewfinder {
    const char* what;
    RECT physical; // Windows screen coordinates
};

struct LayoutViewfinders {
    const char* heads;
    std::vector<Viewfinder> viewfinders;
};

const LayoutViewfinders RegionCases[] = {
    {"1280x800+0+0,1024x500+1280+0",
     {
         {"wholly on the second display", {1500, 100, 1700, 250}},
         {"across the boundary", {1200, 200, 1400, 350}},
         {"across the corner that no display covers", {1200, 420, 1400, 600}},
         {"beyond the desktop's right edge", {2200, 100, 2400, 200}},
         {"on the primary", {101, 103, 301, 207}},
     }},
    {"1280x800+1024+200,1024x768+0+0",
     {
         {"wholly on the display left of the primary", {-900, -150, -700, 0}},
         {"across the boundary to the left display", {-100, 300, 100, 450}},
         {"across the corner below the left display", {-100, 500, 100, 650}},
         {"above the primary, partly on the left display", {-60, -150, 140, 50}},
         {"across the desktop's left edge", {-1100, 100, -950, 200}},
     }},
    {"3000x600+0+0,600x600+1300+600",
     {
         {"wholly on the display below", {1400, 700, 1600, 900}},
         {"across the edge between the two", {1350, 500, 1550, 700}},
         {"across the corner left of the display below", {1200, 550, 1400, 750}},
     }},
};

const std::vector<Viewfinder>* ViewfindersFor(const std::string& heads) {
    for (const LayoutViewfinders& c : RegionCases) {
        if (heads == c.heads) {
            return &c.viewfinders;
        }
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// What Wine made of the heads (no window needed).

TEST(DisplayLayoutHelper, WineReportsEveryHeadAsADisplay) {
    const Layout layout = SessionLayout();
    ASSERT_GE(layout.heads.size(), 2u) << "VARNEL_HEADS='" << Env("VARNEL_HEADS") << "'";
    struct Seen {
        std::vector<MONITORINFO> monitors;
    } seen;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            ::GetMonitorInfoW(monitor, &info);
            reinterpret_cast<Seen*>(data)->monitors.push_back(info);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    ASSERT_EQ(seen.monitors.size(), layout.heads.size());
    for (std::size_t i = 0; i < layout.heads.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT& head = layout.heads[i];
        const MONITORINFO* match = nullptr;
        for (const MONITORINFO& m : seen.monitors) {
            if (::EqualRect(&m.rcMonitor, &head)) {
                match = &m;
            }
        }
        ASSERT_NE(match, nullptr) << "no display at " << head.left << "," << head.top;
        const RECT work = layout.WorkAreaOf(head);
        EXPECT_TRUE(::EqualRect(&match->rcWork, &work))
            << match->rcWork.left << "," << match->rcWork.top << "-" << match->rcWork.right << ","
            << match->rcWork.bottom;
        EXPECT_EQ((match->dwFlags & MONITORINFOF_PRIMARY) != 0, i == 0);
    }
    const RECT bounds = layout.Bounds();
    EXPECT_EQ(::GetSystemMetrics(SM_XVIRTUALSCREEN), bounds.left);
    EXPECT_EQ(::GetSystemMetrics(SM_YVIRTUALSCREEN), bounds.top);
    EXPECT_EQ(::GetSystemMetrics(SM_CXVIRTUALSCREEN), bounds.right - bounds.left);
    EXPECT_EQ(::GetSystemMetrics(SM_CYVIRTUALSCREEN), bounds.bottom - bounds.top);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), layout.heads[0].right);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), layout.heads[0].bottom);
    EXPECT_EQ(::GetSystemMetrics(SM_CMONITORS), int(layout.heads.size()));
}

// Run by the session's script after xdotool put the pointer at the X root
// point VARNEL_POINTER_ROOT ("x,y").
TEST(DisplayLayoutHelper, ThePointerIsWhereXdotoolPutIt) {
    const Layout layout = SessionLayout();
    ASSERT_FALSE(layout.heads.empty());
    int rootX = 0;
    int rootY = 0;
    ASSERT_EQ(std::sscanf(Env("VARNEL_POINTER_ROOT").c_str(), "%d,%d", &rootX, &rootY), 2);
    POINT p{};
    ASSERT_TRUE(::GetCursorPos(&p));
    EXPECT_EQ(p.x, rootX - layout.primaryRoot.x);
    EXPECT_EQ(p.y, rootY - layout.primaryRoot.y);
    EXPECT_NE(::MonitorFromPoint(p, MONITOR_DEFAULTTONULL), nullptr);
}

// ---------------------------------------------------------------------------
// First placement, region captures and the system window's clipping; run at
// each DPI in a fresh process by the driver below.

class MultiDisplayHelper : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::AtTheExpectedDpi());
        layout = SessionLayout();
        ASSERT_GE(layout.heads.size(), 2u);
        CaptureWindowTest::SetUp();
    }

    Layout layout;
};

TEST_F(MultiDisplayHelper, FirstPlacementFollowsTheDesktopCentreRule) {
    const std::string heads = Env("VARNEL_HEADS");
    const std::string workArea = Env("VARNEL_WORKAREA");
    const FirstPlacement* row = nullptr;
    for (const FirstPlacement& p : FirstPlacements) {
        if (heads == p.heads && workArea == p.workArea && p.dpi == platform::SystemDpi()) {
            row = &p;
        }
    }
    ASSERT_NE(row, nullptr) << "no expectation for " << heads << " (work area '" << workArea
                            << "') at " << platform::SystemDpi();
    EXPECT_EQ(Form1->Left(), row->left);
    EXPECT_EQ(Form1->Top(), row->top);
    EXPECT_EQ(Form1->ClientWidth(), 501);
    EXPECT_EQ(Form1->ClientHeight(), 368);
    // The system window lies there, every corner on a display.
    const double s = Form1->Scale;
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &r));
    EXPECT_EQ(r.left, Trunc(row->left * s));
    EXPECT_EQ(r.top, Trunc(row->top * s));
    for (POINT corner : {POINT{r.left, r.top}, POINT{r.right - 1, r.top},
                         POINT{r.left, r.bottom - 1}, POINT{r.right - 1, r.bottom - 1}}) {
        EXPECT_TRUE(layout.OnADisplay(corner.x, corner.y)) << corner.x << "," << corner.y;
    }
}

TEST_F(MultiDisplayHelper, RegionCapturesHoldTheDisplaysPixelsAndWhiteElsewhere) {
    const std::vector<Viewfinder>* cases = ViewfindersFor(Env("VARNEL_HEADS"));
    ASSERT_NE(cases, nullptr) << "no region cases for this layout";
    const float scale = Form1->Scale;
    const double s = scale;
    for (const Viewfinder& v : *cases) {
        SCOPED_TRACE(v.what);
        // Logical geometry whose region covers the intended rectangle
        // (within the truncations).
        const int left = Trunc(v.physical.left / s);
        const int top = Trunc(v.physical.top / s) - 36;
        const int width = Trunc((v.physical.right - v.physical.left) / s);
        const int viewfinderHeight = Trunc((v.physical.bottom - v.physical.top) / s);
        Form1->SetWindowBounds(left, top, width, 36 + viewfinderHeight);
        wintest::Pump(150);
        Form1->CutBtnClick(*Form1->CutBtn);

        // The region by the program's arithmetic, worked out here apart.
        const int x = Trunc(left * s);
        const int y = Trunc(36 * s + top * s);
        const int w = Trunc(width * s);
        const int h = Trunc(viewfinderHeight * s);
        EXPECT_EQ(Form1->itix, x);
        EXPECT_EQ(Form1->itiy, y);
        ASSERT_NE(Form1->BMP, nullptr);
        ASSERT_EQ(Form1->BMP->Width(), w);
        ASSERT_EQ(Form1->BMP->Height(), h);
        EXPECT_EQ(Form1->ClientHeight(), 36 + viewfinderHeight) << "window not restored";

        int mismatches = 0;
        int white = 0;
        std::ostringstream first;
        for (int row = 0; row < h; ++row) {
            for (int col = 0; col < w; ++col) {
                const std::uint32_t expected = layout.Expected(x + col, y + row);
                const std::uint32_t actual = HeldPixel(*Form1->BMP, col, row);
                white += expected == 0xFFFFFFu;
                if (actual != expected && mismatches++ == 0) {
                    first << "first at image (" << col << "," << row << ") screen (" << x + col
                          << "," << y + row << "): " << std::hex << actual << " instead of "
                          << expected;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << first.str() << " (" << w << "x" << h << " at " << x << "," << y
                                 << ", " << white << " pixels on no display)";
    }
}

TEST_F(MultiDisplayHelper, TheSystemWindowIsClippedToTheDesktopAtNegativeCoordinates) {
    const RECT desktop = layout.Bounds();
    if (desktop.left >= 0 && desktop.top >= 0) {
        GTEST_SKIP() << "this layout has no display left of or above the primary";
    }
    const double s = Form1->Scale;
    // The window straddles the desktop's top-left corner: its first 350
    // units (the buttons and boxes) lie left of the desktop, 20 physical
    // pixels above it, so the plain end of the title bar shows.
    const int left = Trunc(desktop.left / s) - 350;
    const int top = Trunc((desktop.top - 20) / s);
    Form1->SetWindowBounds(left, top, 501, 36 + 200);
    wintest::Pump(200);
    const toolkit::RectI whole = Form1->ScreenRect();
    ASSERT_LT(whole.left, desktop.left);
    ASSERT_LT(whole.top, desktop.top);

    RECT shown{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &shown));
    EXPECT_EQ(shown.left, desktop.left);
    EXPECT_EQ(shown.top, desktop.top);
    EXPECT_EQ(shown.right, whole.right);
    EXPECT_EQ(shown.bottom, whole.bottom);
    EXPECT_EQ(host->ShownOffset().x, desktop.left - whole.left);
    EXPECT_EQ(host->ShownOffset().y, desktop.top - whole.top);

    // On the screen: the part of the title bar that is on the desktop, in
    // its place, then the viewfinder, and the picture right of the window
    // (another program reads the X screen itself, gaps included).
    const RECT probe{desktop.left, desktop.top, whole.right + 10, whole.bottom + 10};
    const std::vector<std::uint32_t> pixels = ScreenPixels(probe);
    const auto at = [&](int x, int y) {
        return pixels[std::size_t(y - probe.top) * (probe.right - probe.left) + (x - probe.left)];
    };
    const int barBottom = whole.top + Form1->Rectangle2->PhysicalRect().bottom;
    ASSERT_GT(barBottom, desktop.top + 6) << "some of the title bar must be on the desktop";
    for (POINT p :
         {POINT{desktop.left + 3, desktop.top + 1}, POINT{desktop.left + 3, barBottom - 4},
          POINT{whole.right - Trunc(40 * s), desktop.top + 1}}) {
        EXPECT_TRUE(wintest::Near(at(p.x, p.y), 0x708090))
            << "title bar at " << p.x << "," << p.y << ": " << std::hex << at(p.x, p.y);
    }
    EXPECT_TRUE(wintest::Near(at(desktop.left + 5, barBottom + 20), 0x707070))
        << "the viewfinder " << std::hex << at(desktop.left + 5, barBottom + 20);
    for (int y : {int(desktop.top) + 3, barBottom + 30}) {
        const int x = whole.right + 3;
        EXPECT_EQ(at(x, y),
                  testpattern::ScreenPatternAt(x + layout.primaryRoot.x, y + layout.primaryRoot.y))
            << "the window ends where it should, row " << y;
    }

    // Still driven by the pointer there: a drag on the visible part of the
    // title bar moves the window by exactly the pointer's movement.
    const int fromX = desktop.left + 30;
    const int fromY = desktop.top + 5;
    wintest::Drag(fromX, fromY, fromX + 60, fromY + 45);
    EXPECT_EQ(Form1->Left(), left + Trunc(60 / s));
    EXPECT_EQ(Form1->Top(), top + Trunc(45 / s));
    EXPECT_FALSE(Form1->Moving());
}

TEST(MultiDisplayAcrossDpiHelper, At96And144Dpi) {
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(wintest::RunSelfAtSystemDpi(L"MultiDisplayHelper.*", dpi));
    }
}

// ---------------------------------------------------------------------------
// The window capture of a window on another display than the primary.

namespace {

constexpr int OwnerWidth = 241;
constexpr int OwnerHeight = 157;

std::uint32_t OwnerPixel(int x, int y) {
    return (std::uint32_t((x * 7) & 255) << 16) | (std::uint32_t((y * 3) & 255) << 8) |
           std::uint32_t((x + y) & 255);
}

// The owner's window lies on the last head, away from its edges.
POINT OwnerPosition(const Layout& layout) {
    const RECT& head = layout.heads.back();
    return POINT{head.left + 117, head.top + 61};
}

} // namespace

// Started by the capture test as another program: a frameless window with a
// known picture on another display, brought to the front a second later.
TEST(DisplayWindowOwnerHelper, ComesToTheFrontOnAnotherDisplay) {
    const Layout layout = SessionLayout();
    ASSERT_GE(layout.heads.size(), 2u);
    const POINT at = OwnerPosition(layout);
    wintest::ShowPictureWindowUntilReleased({.className = L"VarnelTestOtherDisplay",
                                             .left = at.x,
                                             .top = at.y,
                                             .width = OwnerWidth,
                                             .height = OwnerHeight,
                                             .pixel = OwnerPixel});
}

class MultiDisplayWindowCaptureHelper : public CaptureWindowTest {};

TEST_F(MultiDisplayWindowCaptureHelper, CopiesAWindowOnAnotherDisplayPixelForPixel) {
    const Layout layout = SessionLayout();
    ASSERT_GE(layout.heads.size(), 2u);
    wintest::OtherProgram other(L"DisplayWindowOwnerHelper.*");
    ::SetForegroundWindow(host->Handle());
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    HWND foreground = ::GetForegroundWindow();
    RECT placed{};
    ::GetWindowRect(foreground, &placed);
    other.Release();
    const POINT at = OwnerPosition(layout);
    EXPECT_EQ(placed.left, at.x) << "the other window is not where it was put";
    EXPECT_EQ(placed.top, at.y);
    EXPECT_EQ(::MonitorFromPoint(at, MONITOR_DEFAULTTONULL),
              ::MonitorFromPoint(POINT{layout.heads.back().left, layout.heads.back().top},
                                 MONITOR_DEFAULTTONULL));
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), OwnerWidth);
    ASSERT_EQ(Form1->BMP->Height(), OwnerHeight);
    EXPECT_TRUE(wintest::SamePixels(
        OwnerWidth, OwnerHeight, [](int x, int y) { return HeldPixel(*Form1->BMP, x, y); },
        OwnerPixel));
    EXPECT_EQ(other.WaitForExit(20000), std::optional<DWORD>(0));
}
