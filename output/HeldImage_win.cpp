#include "output/HeldImage.h"

#include "platform/SystemError.h"

#include <atomic>

namespace output {

namespace {

std::atomic<long> liveImages{0};

} // namespace

HeldImage::HeldImage(SpareImageStorage* spare) : spare_(spare) {
    liveImages.fetch_add(1);
}

HeldImage::~HeldImage() {
    paletteSelection_.reset();
    bitmapSelection_.reset();
    dc_.reset();
    if (spare_ != nullptr && storage_ && storage_.use_count() == 1) {
        spare_->kept_.Keep(std::move(*storage_));
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
    if (HasPixels()) {
        output::PaintWhite(Pixels(), left, top, right, bottom);
    }
}

void HeldImage::SetSizeUnpainted(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
    bitmapSelection_.reset();
    storage_ = {};
    if (width <= 0 || height <= 0) {
        return;
    }
    if (spare_ != nullptr) {
        spare_->kept_.Ensure(width, height);
        storage_ = std::make_shared<platform::DibSection>(spare_->kept_.Take());
    } else {
        storage_ = std::make_shared<platform::DibSection>(
            platform::MakeDibSection(width, height, 24, platform::RowOrder::BottomUp));
    }
    if (dc_) {
        bitmapSelection_ = platform::SelectGuard(dc_.get(), storage_->bitmap.get());
    }
}

ImageView HeldImage::View() const {
    ::GdiFlush();
    return ImageView{width_, height_,
                     static_cast<const std::uint8_t*>(storage_ ? storage_->bits : nullptr)};
}

PixelView HeldImage::Pixels() {
    ::GdiFlush();
    return PixelView{width_, height_,
                     static_cast<std::uint8_t*>(storage_ ? storage_->bits : nullptr)};
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
    if (storage_) {
        bitmapSelection_ = platform::SelectGuard(dc_.get(), storage_->bitmap.get());
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
