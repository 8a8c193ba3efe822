// The region capture's cost (the full-display snapshot plus the crop into a
// new held image) as a ratio to one bare full-screen BitBlt of the same
// display, measured in the same run. Run under Wine on a 3840 x 2160
// display by `make bench`.
#include "capture/Snapshot.h"
#include "output/HeldImage.h"
#include "platform/Display.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace

int main() {
    const SIZE display = platform::PrimaryDisplaySize();
    platform::WindowDc desk = platform::WindowDc::Client(nullptr);
    platform::UniqueHdc memory(::CreateCompatibleDC(desk.get()));
    platform::UniqueHbitmap target(::CreateCompatibleBitmap(desk.get(), display.cx, display.cy));

    // A large region: most of the display, as a full-screen capture is.
    const capture::CaptureRegion region{16, 40, display.cx - 32, display.cy - 80};
    double bare = 1e9;
    double captured = 1e9;
    // The program keeps its last snapshot; a capture reuses its storage.
    platform::UniqueHbitmap snapshot;
    // So does the image's, as the capture window keeps it.
    output::SpareImageStorage spare;
    for (int round = 0; round < 15; ++round) {
        {
            platform::SelectGuard select(memory.get(), target.get());
            const auto start = Clock::now();
            ::BitBlt(memory.get(), 0, 0, display.cx, display.cy, desk.get(), 0, 0, SRCCOPY);
            ::GdiFlush();
            bare = std::min(bare, Seconds(Clock::now() - start));
        }
        {
            const auto start = Clock::now();
            platform::UniqueHdc snapshotDc(::CreateCompatibleDC(desk.get()));
            snapshot =
                capture::TakeSnapshot(desk.get(), snapshotDc.get(), display, std::move(snapshot));
            output::HeldImage image(&spare);
            image.SetSizeUnpainted(region.width, region.height);
            HDC drawing = image.DrawingDc();
            platform::UniqueHdc cropDc(::CreateCompatibleDC(drawing));
            capture::CopyRegion(drawing, cropDc.get(), snapshot.get(), display, region);
            ::GdiFlush();
            captured = std::min(captured, Seconds(Clock::now() - start));
        }
    }
    std::printf("display %ldx%ld\n", display.cx, display.cy);
    std::printf("bare full-screen BitBlt: %.2f ms\n", bare * 1000);
    std::printf("region capture (snapshot + crop): %.2f ms\n", captured * 1000);
    std::printf("capture_ratio_to_bitblt %.3f (target <= 1.3)\n", captured / bare);
    return 0;
}
