// The pixels shown inside the viewfinder are exactly the pixels a region
// capture copies, at every scale and window position: the form's physical
// placement of the viewfinder must agree to the pixel with the capture's own
// arithmetic, and the title bar takes whatever truncation slack remains, so
// it meets the viewfinder with neither a gap row nor an overlap.
#include "capture/CaptureMath.h"
#include "toolkit/Canvas.h"

#include "tests/support/FakeFormHost.h"
#include "tests/support/CaptureForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using shapes::CaptureForm;
using toolkit::RectI;

const float Scales[] = {1.0f, static_cast<float>(114 / 100.0), 1.25f, 1.5f, 1.75f, 2.0f, 2.25f};

// Odd, even, negative, and positions whose products with the scales have
// every kind of fraction.
const int Positions[] = {-1001, -333, -41, -37, -36, -35, -9, -8, -5, -3, -2,  -1,  0,   1,
                         2,     3,    5,   7,   9,   13,  35, 36, 37, 99, 100, 101, 1999};

RectI ToScreen(const RectI& r, const RectI& screen) {
    return {r.left + screen.left, r.top + screen.top, r.right + screen.left, r.bottom + screen.top};
}

// Checks one placement of the form against the capture arithmetic.
void ExpectPixelExact(CaptureForm& f) {
    toolkit::Form& form = f.form;
    const float scale = form.Scale();
    const RectI screen = form.ScreenRect();
    const RectI viewfinder = ToScreen(f.Rectangle1->PhysicalRect(), screen);
    const RectI titleBar = ToScreen(f.Rectangle2->PhysicalRect(), screen);

    const std::int32_t rh = capture::Trunc(f.Rectangle1->Height());
    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        form.Left(), form.Top(), f.Rectangle2->Height(), f.Rectangle1->Width(), rh, scale);
    EXPECT_EQ(viewfinder,
              (RectI{region.x, region.y, region.x + region.width, region.y + region.height}));

    EXPECT_EQ(screen.left, capture::Trunc(form.Left() * double(scale)));
    EXPECT_EQ(screen.top, capture::Trunc(form.Top() * double(scale)));
    EXPECT_EQ(titleBar.top, screen.top);
    EXPECT_EQ(titleBar.bottom, viewfinder.top) << "gap or overlap between title bar and viewfinder";
    EXPECT_EQ(titleBar.left, viewfinder.left);
    EXPECT_EQ(titleBar.right, viewfinder.right);
    EXPECT_EQ(screen, (RectI{titleBar.left, titleBar.top, viewfinder.right, viewfinder.bottom}));
    // The slack goes to the title bar: it is never more than a pixel off
    // its own converted height.
    const int ownHeight = capture::Trunc(double(f.Rectangle2->Height()) * scale);
    EXPECT_LE(std::abs(titleBar.Height() - ownHeight), 1);
}

TEST(ViewfinderPlacement, MatchesTheCaptureRegionAtEveryScaleAndPosition) {
    CaptureForm f;
    for (const float scale : Scales) {
        f.form.SetScale(scale);
        for (const int left : Positions) {
            for (const int top : Positions) {
                SCOPED_TRACE(testing::Message()
                             << "scale " << scale << " at " << left << "," << top);
                f.form.SetWindowBounds(left, top, Form1Width, Form1Height);
                ExpectPixelExact(f);
            }
        }
    }
}

TEST(ViewfinderPlacement, HoldsForOtherSizesAndThroughCollapseAndRestore) {
    struct Size {
        int width;
        int height;
    };
    const Size sizes[] = {{1, 36}, {1, 37}, {333, 101}, {502, 369}, {1000, 777}};
    CaptureForm f;
    for (const float scale : Scales) {
        f.form.SetScale(scale);
        for (const Size size : sizes) {
            for (const int top : {-37, -3, 0, 5, 41}) {
                SCOPED_TRACE(testing::Message() << "scale " << scale << " size " << size.width
                                                << "x" << size.height << " top " << top);
                f.form.SetWindowBounds(-7, top, size.width, size.height);
                ExpectPixelExact(f);
                const RectI before = f.form.ScreenRect();

                // What a capture does: collapse to the title bar, then give
                // back the truncated viewfinder height.
                const std::int32_t rh = CollapseToTitleBar(f.form, f);
                EXPECT_EQ(f.Rectangle1->PhysicalRect().Height(), 0);
                ExpectPixelExact(f);
                const RectI collapsed = f.form.ScreenRect();
                EXPECT_EQ(collapsed.bottom,
                          ToScreen(f.Rectangle2->PhysicalRect(), collapsed).bottom);

                RestoreViewfinderHeight(f.form, f, rh);
                ExpectPixelExact(f);
                EXPECT_EQ(f.form.ScreenRect(), before);
            }
        }
    }
}

// The same rule seen in the painted frame: every row of the viewfinder's
// rectangle is half-transparent, every row above it opaque title bar.
TEST(ViewfinderPlacement, PaintedRowsSplitExactlyAtTheViewfinder) {
    fakes::RecordingHost host;
    fakes::PatternRasterizer glyphs;
    CaptureForm f;
    f.form.AttachHost(&host, &glyphs);
    f.form.Create();
    toolkit::Canvas canvas;
    for (const float scale : Scales) {
        f.form.SetScale(scale);
        for (const int top : {-41, -3, -1, 0, 5, 13}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << " top " << top);
            f.form.SetWindowBounds(3, top, Form1Width, Form1Height);
            EXPECT_EQ(host.presented.back(), f.form.ScreenRect());
            f.form.Render(canvas);
            const RectI vf = f.Rectangle1->PhysicalRect();
            ASSERT_EQ(canvas.Width(), vf.Width());
            ASSERT_EQ(canvas.Height(), vf.bottom);
            // A column away from every title bar control and the strokes.
            const int x = vf.Width() * 9 / 10 - 10;
            for (int y = 0; y < canvas.Height(); ++y) {
                const unsigned alpha = canvas.At(x, y) >> 24;
                if (y < vf.top) {
                    ASSERT_EQ(alpha, 0xFFu) << "row " << y;
                } else {
                    ASSERT_EQ(alpha, 0x80u) << "row " << y;
                }
            }
        }
    }
}

} // namespace
