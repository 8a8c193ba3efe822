// The copy's cost with the PNG it promises, against the copy as it was
// before the promise, and the PNG's rendering, when a program asks for it,
// against the PNG encoder writing the same pixels to memory: both as ratios
// measured in the same run, on a 3840 x 2160 held image. Run under Wine by
// `make bench`.
#include "output/Clipboard.h"
#include "output/ClipboardOwner.h"
#include "platform/ClipboardScope.h"
#include "platform/Gdi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A picture with as much detail as a screen of text and images, so the
// encoder works as it does on a capture.
void Paint(output::HeldImage& image) {
    const output::PixelView pixels = image.Pixels();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = output::PictureRow(pixels, y);
        for (int x = 0; x < image.Width(); ++x) {
            const unsigned noise = (unsigned(x) * 2654435761u ^ unsigned(y) * 40503u) >> 27;
            row[3 * x] = std::uint8_t((x ^ y) + noise);
            row[3 * x + 1] = std::uint8_t(y * 3 + (x >> 4));
            row[3 * x + 2] = std::uint8_t(x * 5 + y);
        }
    }
}

// The copy as it was before the PNG: the clipboard emptied, the screen-format
// bitmap made and placed, nothing else.
void BitmapOnlyCopy(output::HeldImage& image, HWND owner) {
    const platform::ClipboardScope clipboard(owner);
    ::EmptyClipboard();
    HDC source = image.DrawingDc();
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    platform::UniqueHbitmap bitmap(
        ::CreateCompatibleBitmap(screen.get(), image.Width(), image.Height()));
    platform::UniqueHdc target(::CreateCompatibleDC(screen.get()));
    {
        platform::SelectGuard select(target.get(), bitmap.get());
        ::BitBlt(target.get(), 0, 0, image.Width(), image.Height(), source, 0, 0, SRCCOPY);
    }
    ::SetClipboardData(CF_BITMAP, bitmap.release());
}

// What a program asking for the PNG waits for: the render and the handing
// over of its bytes.
double TimedPngRequest() {
    const platform::ClipboardScope clipboard(nullptr);
    const auto start = Clock::now();
    HANDLE png = ::GetClipboardData(output::PngClipboardFormat());
    const double seconds = Seconds(Clock::now() - start);
    if (png == nullptr) {
        std::fprintf(stderr, "no PNG was rendered\n");
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main() {
    output::HeldImage image;
    image.SetSize(3840, 2160);
    Paint(image);
    image.DrawingDc();
    const HWND owner = output::ClipboardOwnerWindow();

    double before = 1e9;
    double copy = 1e9;
    for (int round = 0; round < 15; ++round) {
        auto start = Clock::now();
        BitmapOnlyCopy(image, owner);
        before = std::min(before, Seconds(Clock::now() - start));
        start = Clock::now();
        output::CopyToClipboard(image);
        copy = std::min(copy, Seconds(Clock::now() - start));
    }

    double encode = 1e9;
    double render = 1e9;
    std::size_t pngBytes = 0;
    for (int round = 0; round < 4; ++round) {
        {
            output::MemorySink sink;
            const auto start = Clock::now();
            output::EncodePng(image.View(), sink);
            encode = std::min(encode, Seconds(Clock::now() - start));
            pngBytes = sink.Bytes().size();
        }
        output::CopyToClipboard(image);
        render = std::min(render, TimedPngRequest());
    }
    std::printf("held image %dx%d; its PNG %.1f MB\n", image.Width(), image.Height(),
                double(pngBytes) / 1e6);
    std::printf("copy before the PNG (bitmap only): %.2f ms\n", before * 1000);
    std::printf("copy with the PNG promised: %.2f ms\n", copy * 1000);
    std::printf("PNG encode to memory: %.1f ms\n", encode * 1000);
    std::printf("PNG rendered on request: %.1f ms\n", render * 1000);
    std::printf("copy_ratio_to_bitmap_only %.3f (target <= 1.05)\n", copy / before);
    std::printf("render_ratio_to_encode %.3f (target <= 1.05)\n", render / encode);
    output::ReleaseClipboardOwner();
    return 0;
}
