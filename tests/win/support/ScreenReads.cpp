#include "tests/win/support/ScreenReads.h"

#include "platform/ClipboardScope.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "tests/support/ScreenPattern.h"

#include <cstdlib>
#include <iomanip>
#include <sstream>

namespace wintest {

std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    const platform::UniqueHdc memory(::CreateCompatibleDC(screen.get()));
    const BITMAPINFO info = TopDownRgb32(width, height);
    void* bits = nullptr;
    const platform::UniqueHbitmap bitmap(
        ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap) {
        return {};
    }
    const platform::SelectGuard select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(p, p + std::size_t(width) * height);
    for (auto& pixel : pixels) {
        pixel &= 0x00FFFFFF; // junk alpha under Wine
    }
    return pixels;
}

BITMAPINFO TopDownRgb32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

namespace {

// A DIB's blue, green, red bytes as 0x00RRGGBB.
std::uint32_t Rgb(const std::uint8_t* bgr) {
    return (std::uint32_t(bgr[2]) << 16) | (std::uint32_t(bgr[1]) << 8) | bgr[0];
}

} // namespace

std::optional<Picture> ClipboardDib() {
    const platform::ClipboardScope clipboard(nullptr);
    if (!clipboard) {
        return std::nullopt;
    }
    const platform::GlobalLockScope lock(::GetClipboardData(CF_DIB));
    if (!lock || lock.Size() < sizeof(BITMAPINFOHEADER)) {
        return std::nullopt;
    }
    const auto* dib = static_cast<const BITMAPINFOHEADER*>(lock.get());
    const int bytes = dib->biBitCount / 8;
    if ((bytes != 3 && bytes != 4) || dib->biWidth <= 0 || dib->biHeight == 0) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = dib->biWidth;
    picture.height = std::abs(dib->biHeight);
    const std::size_t stride = ((std::size_t(picture.width) * dib->biBitCount + 31) / 32) * 4;
    const std::size_t offset =
        dib->biSize + (dib->biCompression == BI_BITFIELDS ? 12 : 0) + dib->biClrUsed * 4;
    if (lock.Size() < offset + stride * picture.height) {
        return std::nullopt;
    }
    const std::uint8_t* bits = static_cast<const std::uint8_t*>(lock.get()) + offset;
    picture.pixels.reserve(std::size_t(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const int row = dib->biHeight > 0 ? picture.height - 1 - y : y;
        for (int x = 0; x < picture.width; ++x) {
            picture.pixels.push_back(Rgb(bits + stride * row + std::size_t(x) * bytes));
        }
    }
    return picture;
}

std::uint32_t PixelAt(const output::ImageView& view, int x, int y) {
    return Rgb(output::PictureRow(view, y) + std::size_t(x) * 3);
}

ScreenShot::ScreenShot() {
    width = ::GetSystemMetrics(SM_CXSCREEN);
    height = ::GetSystemMetrics(SM_CYSCREEN);
    pixels = ScreenPixels(RECT{0, 0, width, height});
}

::testing::AssertionResult HoldsThePatternAt(const output::HeldImage& image, int x, int y) {
    const SIZE display{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    int mismatches = 0;
    std::ostringstream first;
    for (int row = 0; row < image.Height(); ++row) {
        for (int column = 0; column < image.Width(); ++column) {
            const int sx = x + column;
            const int sy = y + row;
            const bool onDisplay = sx >= 0 && sy >= 0 && sx < display.cx && sy < display.cy;
            const std::uint32_t expected =
                onDisplay ? testpattern::ScreenPatternAt(sx, sy) : 0xFFFFFFu;
            const std::uint32_t actual = HeldPixel(image, column, row);
            if (actual != expected && mismatches++ == 0) {
                first << "first at image (" << column << "," << row << ") screen (" << sx << ","
                      << sy << "): " << std::hex << actual << " instead of " << expected
                      << std::dec;
            }
        }
    }
    if (mismatches == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << mismatches << " pixels differ; " << first.str();
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

::testing::AssertionResult SamePixels(int width, int height,
                                      const std::function<std::uint32_t(int x, int y)>& actual,
                                      const std::function<std::uint32_t(int x, int y)>& expected) {
    long differing = 0;
    std::ostringstream first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t seen = actual(x, y);
            const std::uint32_t wanted = expected(x, y);
            if (seen != wanted && differing++ == 0) {
                first << std::hex << std::setfill('0') << "first at (" << std::dec << x << "," << y
                      << "): #" << std::hex << std::setw(6) << seen << ", expected #"
                      << std::setw(6) << wanted;
            }
        }
    }
    if (differing == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << differing << " of " << long(width) * height << " pixels differ; " << first.str();
}

int Luminance(std::uint32_t rgb) {
    return (int((rgb >> 16) & 0xFF) * 30 + int((rgb >> 8) & 0xFF) * 59 + int(rgb & 0xFF) * 11) /
           100;
}

} // namespace wintest
