// The region capture's cost (the program's own snapshot of the desktop plus
// its crop into a new held image) as a ratio to one bare BitBlt of the same
// desktop, measured in the same run. Run under Wine by `make bench`.
#include "capture/Snapshot.h"
#include "output/HeldImage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main() {
    const capture::Desktop desktop = capture::CurrentDesktop();
    const capture::ScreenRect& bounds = desktop.bounds;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    platform::WindowDc desk = platform::WindowDc::Client(nullptr);
    platform::UniqueHdc memory(::CreateCompatibleDC(desk.get()));
    platform::UniqueHbitmap target(::CreateCompatibleBitmap(desk.get(), width, height));

    // A large region: most of the desktop, as a full-screen capture is.
    const capture::CaptureRegion region{bounds.left + 16, bounds.top + 40, width - 32, height - 80};
    double bare = 1e9;
    double captured = 1e9;
    // The program keeps its last snapshot; a capture reuses its storage.
    capture::Snapshot snapshot;
    // So does the image's, as the capture window keeps it.
    output::SpareImageStorage spare;
    for (int round = 0; round < 15; ++round) {
        {
            platform::SelectGuard select(memory.get(), target.get());
            const auto start = Clock::now();
            ::BitBlt(memory.get(), 0, 0, width, height, desk.get(), bounds.left, bounds.top,
                     SRCCOPY);
            ::GdiFlush();
            bare = std::min(bare, Seconds(Clock::now() - start));
        }
        {
            const auto start = Clock::now();
            snapshot.Take(capture::CurrentDesktop());
            output::HeldImage image(&spare);
            capture::CropRegion(snapshot, region, image);
            ::GdiFlush();
            captured = std::min(captured, Seconds(Clock::now() - start));
        }
    }
    std::printf("desktop %dx%d at (%d,%d), %zu display(s):", width, height, bounds.left, bounds.top,
                desktop.displays.size());
    for (const capture::ScreenRect& d : desktop.displays) {
        std::printf(" %dx%d+%d+%d", d.right - d.left, d.bottom - d.top, d.left, d.top);
    }
    std::printf("\nsnapshot memory: %.1f MB\n",
                double(capture::SnapshotStorageSize(width, height).value_or(0)) / 1e6);
    std::printf("bare BitBlt of the desktop: %.2f ms\n", bare * 1000);
    std::printf("region capture (snapshot + crop): %.2f ms\n", captured * 1000);
    std::printf("capture_ratio_to_bitblt %.3f (target <= 1.3)\n", captured / bare);
    return 0;
}
