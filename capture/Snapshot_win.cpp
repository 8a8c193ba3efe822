#include "capture/Snapshot.h"

#include "platform/Display.h"
#include "platform/ScreenCopy.h"
#include "platform/SystemError.h"

#include <utility>

namespace capture {

Desktop CurrentDesktop() {
    // Every display, not the primary alone: a viewfinder on any of them is
    // captured. What lies between displays of different sizes is on none
    // and comes out white, as what lies off the desktop does.
    const RECT bounds = platform::VirtualScreen();
    Desktop desktop{{bounds.left, bounds.top, bounds.right, bounds.bottom}, {}};
    for (const RECT& r : platform::DisplayRects()) {
        desktop.displays.push_back({r.left, r.top, r.right, r.bottom});
    }
    if (desktop.displays.empty()) {
        desktop.displays.push_back(desktop.bounds);
    }
    return desktop;
}

SnapshotDcs::SnapshotDcs()
    : desk_(platform::WindowDc::Client(nullptr)), memory_(::CreateCompatibleDC(desk_.get())) {}

void Snapshot::Take(const SnapshotDcs& dcs, const Desktop& desktop) {
    const ScreenRect& bounds = desktop.bounds;
    const std::int64_t width = std::int64_t(bounds.right) - bounds.left;
    const std::int64_t height = std::int64_t(bounds.bottom) - bounds.top;
    if (!bitmap_ || width != Width() || height != Height()) {
        bitmap_.reset();
        bits_ = nullptr;
        bounds_ = {};
        displays_.clear();
        const auto size = width <= INT32_MAX && height <= INT32_MAX
                              ? SnapshotStorageSize(std::int32_t(width), std::int32_t(height))
                              : std::nullopt;
        if (!size) {
            platform::ThrowResourceError(0);
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = std::int32_t(width);
        info.bmiHeader.biHeight = std::int32_t(height); // positive: bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = DWORD(*size);
        void* bits = nullptr;
        ::SetLastError(0);
        platform::UniqueHbitmap bitmap(
            ::CreateDIBSection(dcs.Desk(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || bits == nullptr) {
            platform::ThrowResourceError(::GetLastError());
        }
        bitmap_ = std::move(bitmap);
        bits_ = static_cast<const std::uint8_t*>(bits);
    }
    // The storage still holds the previous capture. Until the copy is known
    // to have succeeded the snapshot holds nothing, so a copy that fails
    // leaves no pixels that a crop could hand back as a new capture.
    platform::UniqueHbitmap bitmap = std::move(bitmap_);
    const std::uint8_t* bits = std::exchange(bits_, nullptr);
    bounds_ = {};
    displays_.clear();
    {
        ::SetLastError(0);
        platform::SelectGuard select(dcs.Memory(), bitmap.get());
        if (!select) {
            platform::ThrowResourceError(::GetLastError());
        }
        platform::CopyScreenBlock(dcs.Memory(), std::int32_t(width), std::int32_t(height),
                                  dcs.Desk(), bounds.left, bounds.top, SRCCOPY);
    }
    bitmap_ = std::move(bitmap);
    bits_ = bits;
    bounds_ = bounds;
    displays_ = desktop.displays;
}

SnapshotPixels Snapshot::Pixels() const {
    ::GdiFlush();
    return SnapshotPixels{bounds_, bits_, displays_};
}

void CropRegion(const Snapshot& snapshot, const CaptureRegion& region, output::HeldImage& image) {
    // Every byte is written by the crop, so the storage is not painted first.
    image.SetSizeUnpainted(region.width, region.height);
    if (!image.HasPixels()) {
        return;
    }
    // Made now, as for any capture, so the palette rule is settled with the
    // image (it travels with the clipboard copy).
    image.DrawingDc();
    CropRegion(snapshot.Pixels(), region, image.Pixels());
}

} // namespace capture
