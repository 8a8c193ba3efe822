// Painting one full 3840 x 2160 frame of a form shaped like the capture
// window (title bar with seven captioned buttons and two number boxes over
// a half-transparent viewfinder) through Form::Render into a buffer of the
// caller's, as the Windows host paints straight into its window's surface,
// against filling a buffer of the same size with std::fill in the same run:
// a repaint should cost about one pass over the pixels. The glyphs are cached before timing,
// as they are in the program after its first paint. Subject and baseline
// take turns and the best of each is kept, on the thread's own processor
// clock, so other work on the machine does not skew the ratio.
#include "bench/ThreadClock.h"
#include "toolkit/Canvas.h"

#include "tests/support/FakeFormHost.h"
#include "tests/support/CaptureForm.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr int PhysicalWidth = 3840;
constexpr int PhysicalHeight = 2160;
constexpr float Scale = 2.0f;

void BM_FrameRender4k(benchmark::State& state) {
    fakes::RecordingHost host;
    fakes::PatternRasterizer rasterizer;
    shapes::CaptureForm f;
    f.form.AttachHost(&host, &rasterizer);
    f.form.Create();
    f.form.SetScale(Scale);
    f.form.SetClientSize(int(PhysicalWidth / Scale), int(PhysicalHeight / Scale));
    f.NBoxW->SetValue(3840);
    f.NBoxH->SetValue(2088);
    f.TopBtn->SetPressed(true);

    toolkit::Canvas canvas;
    f.form.Render(canvas); // rasterizes and caches every caption
    if (canvas.Width() != PhysicalWidth || canvas.Height() != PhysicalHeight) {
        state.SkipWithError("the form is not 3840 x 2160 physical pixels");
        return;
    }
    const int glyphsCached = rasterizer.total;
    std::vector<std::uint32_t> surface(std::size_t(PhysicalWidth) * PhysicalHeight);
    const toolkit::RectI whole{0, 0, PhysicalWidth, PhysicalHeight};

    std::vector<std::uint32_t> baseline(std::size_t(PhysicalWidth) * PhysicalHeight);
    std::fill(baseline.begin(), baseline.end(), 0x80707070u);

    double best[2] = {std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::infinity()};
    std::size_t round = 0;
    for (auto _ : state) {
        for (std::size_t turn = 0; turn < 2; ++turn) {
            const std::size_t which = (round + turn) % 2;
            const double start = benchclock::ThreadSeconds();
            if (which == 0) {
                f.form.Render(canvas, whole, surface.data());
                benchmark::DoNotOptimize(surface.data());
            } else {
                std::fill(baseline.begin(), baseline.end(), std::uint32_t(0x80707070u + round));
                benchmark::DoNotOptimize(baseline.data());
            }
            benchmark::ClobberMemory();
            best[which] = std::min(best[which], benchclock::ThreadSeconds() - start);
        }
        ++round;
    }
    if (rasterizer.total != glyphsCached) {
        state.SkipWithError("a repaint rasterized glyphs again");
    }
    state.counters["ratio_to_fill"] = best[0] / best[1];
    state.counters["frame_ms"] = best[0] * 1e3;
    state.counters["fill_ms"] = best[1] * 1e3;
}
BENCHMARK(BM_FrameRender4k)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace
