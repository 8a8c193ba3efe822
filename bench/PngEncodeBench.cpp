// PNG encoding of a 3840 x 2160 desktop-like image, against two baselines
// measured in the same run: zlib alone deflating the same already-filtered
// scanlines at level 7 (what the encoder cannot avoid), and libpng set to the
// same choices. Subject and baselines take turns within each round and the
// best time of each is kept, measured on the thread's own processor clock, so
// other work on the machine slows none of them.
// Also reports the most memory the encoder holds, zlib's included.
#include "bench/AllocationCounter.h"
#include "bench/ThreadClock.h"
#include "output/PngEncoder.h"
#include "output/SubFilter.h"

#include "tests/support/LibpngReference.h"
#include "tests/support/TestImages.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::int32_t Width = 3840;
constexpr std::int32_t Height = 2160;

// Counts the bytes and drops them, like a very fast file.
class NullSink : public output::ByteSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        benchmark::DoNotOptimize(data);
        bytes += size;
    }
    std::size_t bytes = 0;
};

struct Inputs {
    testimages::TestImage image = testimages::ScreenshotImage(Width, Height, 2024);
    std::vector<std::uint8_t> scanlines; // the encoder's input to zlib, all rows

    Inputs() {
        const std::size_t lineSize = output::SubScanlineSize(Width);
        scanlines.resize(lineSize * Height);
        const output::ImageView view = image.View();
        for (std::int32_t row = 0; row < Height; ++row) {
            const std::uint8_t* stored =
                view.bits + static_cast<std::size_t>(Height - 1 - row) * image.Stride();
            output::BuildSubScanline(stored, Width, &scanlines[lineSize * row]);
        }
    }
};

const Inputs& SharedInputs() {
    static const Inputs inputs;
    return inputs;
}

std::size_t DeflateAlone(const std::vector<std::uint8_t>& input) {
    z_stream stream{};
    if (deflateInit(&stream, 7) != Z_OK) {
        throw std::runtime_error("deflateInit failed");
    }
    std::vector<std::uint8_t> out(65535);
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    std::size_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        result = deflate(&stream, Z_FINISH);
        produced += out.size() - stream.avail_out;
        benchmark::DoNotOptimize(out.data());
    }
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate failed");
    }
    return produced;
}

std::size_t EncodeOurs(const output::ImageView& image) {
    NullSink sink;
    output::PngEncoder encoder;
    encoder.TakeImage(image);
    encoder.Write(sink);
    return sink.bytes;
}

std::size_t EncodeLibpng(const output::ImageView& image) {
    NullSink sink;
    libpngref::Encode(image, sink);
    return sink.bytes;
}

template <typename Work> double Seconds(Work&& work, std::size_t& size) {
    const double start = benchclock::ThreadSeconds();
    size = work();
    return benchclock::ThreadSeconds() - start;
}

void BM_PngEncode4k(benchmark::State& state) {
    const Inputs& inputs = SharedInputs();
    const output::ImageView view = inputs.image.View();
    double best[3] = {std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::infinity()};
    std::size_t sizes[3] = {};
    std::size_t round = 0;
    for (auto _ : state) {
        for (std::size_t turn = 0; turn < 3; ++turn) {
            const std::size_t which = (round + turn) % 3;
            double seconds = 0;
            if (which == 0) {
                seconds = Seconds([&] { return EncodeOurs(view); }, sizes[0]);
            } else if (which == 1) {
                seconds = Seconds([&] { return DeflateAlone(inputs.scanlines); }, sizes[1]);
            } else {
                seconds = Seconds([&] { return EncodeLibpng(view); }, sizes[2]);
            }
            best[which] = std::min(best[which], seconds);
        }
        ++round;
    }
    state.counters["ratio_to_zlib"] = best[0] / best[1];
    state.counters["ratio_to_libpng"] = best[0] / best[2];
    state.counters["ours_ms"] = best[0] * 1e3;
    state.counters["zlib_ms"] = best[1] * 1e3;
    state.counters["libpng_ms"] = best[2] * 1e3;
    state.counters["file_bytes"] = static_cast<double>(sizes[0]);
    // The same compressed data: ours and libpng's files agree in size, and
    // the file is zlib's stream plus signature, 12 bytes a chunk, IHDR data.
    state.counters["same_size_as_libpng"] = sizes[0] == sizes[2] ? 1 : 0;
    const std::size_t chunks = (sizes[1] + 65534) / 65535;
    state.counters["same_stream_as_zlib"] = sizes[0] == 8 + 25 + 12 * chunks + sizes[1] + 12;
}
BENCHMARK(BM_PngEncode4k)->Iterations(15)->Unit(benchmark::kMillisecond);

void BM_PngEncoderMemory(benchmark::State& state) {
    const output::ImageView view = SharedInputs().image.View();
    std::size_t peakExtra = 0;
    for (auto _ : state) {
        const std::size_t before = alloccount::LiveBytes();
        alloccount::ResetPeak();
        {
            output::PngEncoder encoder(alloccount::CountingDeflateAllocator());
            encoder.TakeImage(view);
            NullSink sink;
            encoder.Write(sink);
        }
        peakExtra = std::max(peakExtra, alloccount::PeakBytes() - before);
        if (alloccount::LiveBytes() != before) {
            state.SkipWithError("the encoder did not release all its memory");
        }
    }
    state.counters["peak_extra_bytes"] = static_cast<double>(peakExtra);
    state.counters["peak_extra_ratio_to_1MiB"] = static_cast<double>(peakExtra) / (1 << 20);
}
BENCHMARK(BM_PngEncoderMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
