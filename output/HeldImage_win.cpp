#include "output/HeldImage.h"

#include "output/DibDescription.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace output {

namespace {

std::atomic<long> liveImages{0};

// The storage of the last image released, kept for the next image of the
// same size. Repeated captures of one viewfinder then write into pages that
// are already there: touching a fresh 24 MB bitmap costs ten times the copy
// into it. At most one image's storage exists either way, because a capture
// releases the held image before it makes the next.
struct SpareStorage {
    platform::UniqueHbitmap bitmap;
    void* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

SpareStorage& Spare() {
    static SpareStorage spare;
    return spare;
}

} // namespace

HeldImage::HeldImage() { liveImages.fetch_add(1); }

HeldImage::~HeldImage() {
    if (dc_) {
        if (previousPalette_ != nullptr) {
            ::SelectPalette(dc_.get(), previousPalette_, FALSE);
        }
        if (previousBitmap_ != nullptr) {
            ::SelectObject(dc_.get(), previousBitmap_);
        }
    }
    dc_.reset();
    if (bitmap_ && bits_ != nullptr) {
        SpareStorage& spare = Spare();
        spare.bitmap = std::move(bitmap_);
        spare.bits = bits_;
        spare.width = width_;
        spare.height = height_;
    }
    bitmap_.reset();
    palette_.reset();
    liveImages.fetch_sub(1);
}

void HeldImage::ReleaseSpareStorage() { Spare() = SpareStorage{}; }

long HeldImage::LiveCount() { return liveImages.load(); }

void HeldImage::SetSize(std::int32_t width, std::int32_t height) {
    SetSizeUnpainted(width, height);
    PaintWhite(0, 0, width, height);
}

void HeldImage::PaintWhite(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
    if (!HasPixels()) {
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) {
        return;
    }
    ::GdiFlush();
    const std::size_t stride = DibStride(width_);
    auto* bits = static_cast<std::uint8_t*>(bits_);
    const bool wholeRows = left == 0 && right == width_;
    for (std::int32_t y = top; y < bottom; ++y) {
        // Rows are stored bottom-up; whole rows take their padding along.
        std::uint8_t* row = bits + std::size_t(height_ - 1 - y) * stride;
        if (wholeRows) {
            std::memset(row, 0xFF, stride);
        } else {
            std::memset(row + std::size_t(left) * 3, 0xFF, std::size_t(right - left) * 3);
        }
    }
}

void HeldImage::SetSizeUnpainted(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
    if (width <= 0 || height <= 0) {
        return;
    }
    SpareStorage& spare = Spare();
    if (spare.bitmap && spare.width == width && spare.height == height) {
        bitmap_ = std::move(spare.bitmap);
        bits_ = spare.bits;
        spare = SpareStorage{};
        return;
    }
    // A spare of another size goes before the new storage is made.
    spare = SpareStorage{};
    DibDescription description;
    try {
        description = DescribeDib(width, height);
    } catch (const ImageError&) {
        platform::ThrowResourceError(0);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = description.size;
    info.bmiHeader.biWidth = description.width;
    info.bmiHeader.biHeight = description.height;
    info.bmiHeader.biPlanes = description.planes;
    info.bmiHeader.biBitCount = description.bitCount;
    info.bmiHeader.biCompression = description.compression;
    info.bmiHeader.biSizeImage = description.sizeImage;
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    void* bits = nullptr;
    ::SetLastError(0);
    platform::UniqueHbitmap bitmap(
        ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        platform::ThrowResourceError(::GetLastError());
    }
    bitmap_ = std::move(bitmap);
    bits_ = bits;
}

ImageView HeldImage::View() const {
    ::GdiFlush();
    return ImageView{width_, height_, static_cast<const std::uint8_t*>(bits_)};
}

PixelView HeldImage::Pixels() {
    ::GdiFlush();
    return PixelView{width_, height_, static_cast<std::uint8_t*>(bits_)};
}

HDC HeldImage::DrawingDc() {
    if (dc_) {
        return dc_.get();
    }
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    dc_.reset(::CreateCompatibleDC(screen.get()));
    if (!dc_) {
        platform::ThrowResourceError(::GetLastError());
    }
    if (bitmap_) {
        previousBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    const int depth =
        ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    if (depth < 24) {
        palette_.reset(::CreateHalftonePalette(screen.get()));
        if (palette_) {
            previousPalette_ = ::SelectPalette(dc_.get(), palette_.get(), FALSE);
            ::RealizePalette(dc_.get());
        }
    }
    return dc_.get();
}

} // namespace output
