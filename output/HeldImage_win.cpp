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

} // namespace

void SpareImageStorage::Clear() {
    bitmap_.reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

HeldImage::HeldImage(SpareImageStorage* spare) : spare_(spare) {
    liveImages.fetch_add(1);
}

HeldImage::~HeldImage() {
    paletteSelection_.reset();
    bitmapSelection_.reset();
    dc_.reset();
    if (spare_ != nullptr && bitmap_ && bits_ != nullptr) {
        spare_->bitmap_ = std::move(bitmap_);
        spare_->bits_ = bits_;
        spare_->width_ = width_;
        spare_->height_ = height_;
    }
    liveImages.fetch_sub(1);
}

long HeldImage::LiveCount() {
    return liveImages.load();
}

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
    if (spare_ != nullptr) {
        if (spare_->bitmap_ && spare_->width_ == width && spare_->height_ == height) {
            bitmap_ = std::move(spare_->bitmap_);
            bits_ = spare_->bits_;
            spare_->Clear();
            return;
        }
        // A spare of another size goes before the new storage is made.
        spare_->Clear();
    }
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
        bitmapSelection_ = platform::SelectGuard(dc_.get(), bitmap_.get());
    }
    const int depth =
        ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    if (depth < 24) {
        palette_.reset(::CreateHalftonePalette(screen.get()));
        paletteSelection_ = platform::PaletteGuard(dc_.get(), palette_.get());
    }
    return dc_.get();
}

} // namespace output
