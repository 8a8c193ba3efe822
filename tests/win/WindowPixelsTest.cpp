// Where the capture window's pixels land on the screen, read back as any
// other program reads the screen, is the oracle for the one rule that works
// them out (WindowPixels), for the form that shows itself by it, and for the
// desktop placement that judges by its last painted row and column. The
// window is hosted at every scale from 100 % to 200 %, each at a place where
// the start of the last logical unit and the last painted pixel fall on
// different rows, and at 150 % at top 166, where the window paints row 800.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "toolkit/DesktopPlacement.h"
#include "toolkit/WindowPixels.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr std::uint32_t BarColour = 0x123456;
constexpr std::uint32_t ViewfinderColour = 0x3A5C2E;
constexpr int Width = 501;
constexpr int Height = 368;
constexpr int Bar = 36;

// The bounding rectangle of the screen pixels in the window's two colours
// within a rectangle around it, once two reads agree.
std::optional<RECT> PaintedWithin(const RECT& around) {
    const int w = around.right - around.left;
    const int h = around.bottom - around.top;
    std::optional<RECT> last;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wintest::Pump(attempt == 0 ? 30 : 50);
        const std::vector<std::uint32_t> pixels = wintest::ScreenPixels(around);
        if (pixels.size() != std::size_t(w) * h) {
            return std::nullopt;
        }
        const auto ours = [&](int x, int y) {
            const std::uint32_t p = pixels[std::size_t(y - around.top) * w + (x - around.left)];
            return p == BarColour || p == ViewfinderColour;
        };
        std::optional<RECT> found;
        for (int y = around.top; y < around.bottom; ++y) {
            for (int x = around.left; x < around.right; ++x) {
                if (ours(x, y)) {
                    if (!found) {
                        found = RECT{x, y, x + 1, y + 1};
                    }
                    found->left = std::min<LONG>(found->left, x);
                    found->top = std::min<LONG>(found->top, y);
                    found->right = std::max<LONG>(found->right, x + 1);
                    found->bottom = std::max<LONG>(found->bottom, y + 1);
                }
            }
        }
        if (found && last && ::EqualRect(&*last, &*found)) {
            return found;
        }
        last = found;
    }
    return std::nullopt;
}

toolkit::DisplayArea Display(const toolkit::RectI& r) {
    return {r, r};
}

} // namespace

TEST_F(CaptureWindowTest, ThePaintedPixelsAreTheOneRulesAndPlacementJudgesByThem) {
    // The window's two rectangles in two opaque colours of their own, edges
    // included, so that its pixels can be told from anything behind it.
    Form1->Rectangle2->SetFillColor(0xFF000000 | BarColour);
    Form1->Rectangle2->SetStrokeColor(0xFF000000 | BarColour);
    Form1->Rectangle1->SetFillColor(0xFF000000 | ViewfinderColour);
    Form1->Rectangle1->SetStrokeColor(0xFF000000 | ViewfinderColour);
    Form1->Rectangle1->SetOpacity(1);
    // The window's first showing reaches the screen once the window manager
    // has mapped it.
    wintest::Pump(500);

    struct Case {
        int percent;
        int left;
        int top;
    };
    // The place for each scale is the first, from 20 on, where the truncated
    // start of the last logical row (top + 367 units) is not the last row
    // the window paints; at 100 % there is none.
    const Case cases[] = {
        {150, 100, 166}, {100, 20, 20}, {101, 20, 34}, {102, 20, 34}, {103, 20, 20}, {104, 20, 34},
        {105, 20, 20},   {106, 20, 20}, {107, 20, 20}, {108, 20, 21}, {109, 20, 22}, {110, 20, 23},
        {111, 20, 24},   {112, 20, 20}, {113, 20, 64}, {114, 20, 20}, {115, 20, 20}, {116, 20, 33},
        {117, 20, 22},   {118, 20, 22}, {119, 20, 22}, {120, 20, 23}, {121, 20, 20}, {122, 20, 28},
        {123, 20, 20},   {124, 20, 21}, {125, 20, 20}, {126, 20, 37}, {127, 20, 22}, {128, 20, 20},
        {129, 20, 33},   {130, 20, 20}, {131, 20, 21}, {132, 20, 36}, {133, 20, 21}, {134, 20, 22},
        {135, 20, 24},   {136, 20, 22}, {137, 20, 20}, {138, 20, 22}, {139, 20, 28}, {140, 20, 21},
        {141, 20, 23},   {142, 20, 64}, {143, 20, 22}, {144, 20, 21}, {145, 20, 24}, {146, 20, 20},
        {147, 20, 20},   {148, 20, 35}, {149, 20, 21}, {150, 20, 20}, {151, 20, 21}, {152, 20, 35},
        {153, 20, 20},   {154, 20, 20}, {155, 20, 24}, {156, 20, 21}, {157, 20, 22}, {158, 20, 64},
        {159, 20, 23},   {160, 20, 21}, {161, 20, 28}, {162, 20, 22}, {163, 20, 20}, {164, 20, 22},
        {165, 20, 24},   {166, 20, 22}, {167, 20, 21}, {168, 20, 36}, {169, 20, 21}, {170, 20, 20},
        {171, 20, 33},   {172, 20, 20}, {173, 20, 22}, {174, 20, 37}, {175, 20, 20}, {176, 20, 21},
        {177, 20, 20},   {178, 20, 28}, {179, 20, 20}, {180, 20, 23}, {181, 20, 22}, {182, 20, 22},
        {183, 20, 22},   {184, 20, 33}, {185, 20, 20}, {186, 20, 20}, {187, 20, 64}, {188, 20, 20},
        {189, 20, 24},   {190, 20, 23}, {191, 20, 22}, {192, 20, 21}, {193, 20, 20}, {194, 20, 20},
        {195, 20, 20},   {196, 20, 34}, {197, 20, 20}, {198, 20, 34}, {199, 20, 34}, {200, 20, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << " % at " << c.left << "," << c.top);
        const float scale = float(c.percent / 100.0);
        Form1->SetScale(scale);
        Form1->SetWindowBounds(c.left, c.top, Width, Height);
        // Around the window, a few pixels wider than any rule could make it.
        const RECT around{LONG(std::floor(c.left * scale)) - 6, LONG(std::floor(c.top * scale)) - 6,
                          LONG(std::ceil((c.left + Width) * scale)) + 6,
                          LONG(std::ceil((c.top + Height) * scale)) + 6};
        const std::optional<RECT> painted = PaintedWithin(around);
        ASSERT_TRUE(painted.has_value()) << "the window's pixels were not found on the screen";
        const toolkit::RectI seen{painted->left, painted->top, painted->right, painted->bottom};

        EXPECT_EQ(toolkit::WindowPixels(c.left, c.top, Width, Height, Bar, scale), seen);
        EXPECT_EQ(Form1->ScreenRect(), seen);

        // A display that holds exactly the painted pixels holds the window;
        // one that lacks its last (or first) row or column does not.
        const toolkit::WindowPlace place{c.left, c.top};
        const auto onlyOn = [&](const toolkit::RectI& display) {
            return toolkit::CornersOnDisplays({Display(display)}, place, Width, Height, Bar, scale);
        };
        EXPECT_TRUE(onlyOn(seen));
        EXPECT_FALSE(onlyOn({seen.left, seen.top, seen.right, seen.bottom - 1})) << "last row";
        EXPECT_FALSE(onlyOn({seen.left, seen.top, seen.right - 1, seen.bottom})) << "last column";
        EXPECT_FALSE(onlyOn({seen.left, seen.top + 1, seen.right, seen.bottom})) << "first row";
        EXPECT_FALSE(onlyOn({seen.left + 1, seen.top, seen.right, seen.bottom})) << "first column";
    }
}
