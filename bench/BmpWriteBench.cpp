// Writing a 3840 x 2160 BMP file through a POSIX file sink, against one plain
// write() of the same number of bytes to the same file in the same run. Each
// writes into a freshly emptied file, and only the writing is timed: emptying
// a 25 MB file costs what the previous one left in the page cache, which
// would only add noise. Times are on the thread's own processor clock (the
// copy into the page cache is the thread's system time). Subject and baseline
// take turns; a write this short is now and then much faster or slower with
// the page cache's state, so the reported ratio is the median of the ratios
// of the two writes of each round, which share that state.
#include "bench/ThreadClock.h"
#include "output/BmpWriter.h"

#include "tests/support/TestImages.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <algorithm>
#include <limits>
#include <system_error>
#include <vector>

namespace {

constexpr std::int32_t Width = 3840;
constexpr std::int32_t Height = 2160;

// The program's file sink on Windows retries a short write and fails on no
// progress; this is the same on a POSIX descriptor.
class FileDescriptorSink : public output::ByteSink {
public:
    explicit FileDescriptorSink(int fd) : fd_(fd) {}

    void Write(const std::uint8_t* data, std::size_t size) override {
        while (size != 0) {
            const ssize_t written = ::write(fd_, data, size);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                throw std::system_error(errno, std::generic_category(), "write");
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }

private:
    int fd_;
};

int CreateFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "open");
    }
    return fd;
}

double SecondsSince(double start) {
    return benchclock::ThreadSeconds() - start;
}

void BM_BmpWrite4k(benchmark::State& state) {
    const testimages::TestImage image = testimages::ScreenshotImage(Width, Height, 7);
    const std::size_t fileSize = 54 + image.Bits().size();
    const std::vector<std::uint8_t> plain(fileSize, 0x5A);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "varnel-bench-bmp.bmp";

    double bestPlain = std::numeric_limits<double>::infinity();
    double bestOurs = std::numeric_limits<double>::infinity();
    std::vector<double> ratios;
    bool oursFirst = false;
    for (auto _ : state) {
        double ours = 0;
        double plainTime = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const int fd = CreateFile(path);
            const double start = benchclock::ThreadSeconds();
            if ((turn == 0) == oursFirst) {
                FileDescriptorSink sink(fd);
                output::WriteBmp(image.View(), sink);
                ours = SecondsSince(start);
            } else {
                const ssize_t written = ::write(fd, plain.data(), plain.size());
                plainTime = SecondsSince(start);
                if (written != static_cast<ssize_t>(plain.size())) {
                    state.SkipWithError("the plain write was short");
                }
            }
            ::close(fd);
        }
        bestOurs = std::min(bestOurs, ours);
        bestPlain = std::min(bestPlain, plainTime);
        ratios.push_back(ours / plainTime);
        oursFirst = !oursFirst;
    }
    std::sort(ratios.begin(), ratios.end());
    std::filesystem::remove(path);
    state.counters["ratio_to_plain_write"] = ratios[ratios.size() / 2];
    state.counters["ratio_of_best_times"] = bestOurs / bestPlain;
    state.counters["ours_ms"] = bestOurs * 1e3;
    state.counters["plain_ms"] = bestPlain * 1e3;
    state.counters["file_bytes"] = static_cast<double>(fileSize);
}
BENCHMARK(BM_BmpWrite4k)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace
