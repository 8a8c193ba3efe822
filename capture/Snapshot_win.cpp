#include "capture/Snapshot.h"

#include "platform/Gdi.h"
#include "platform/ScreenCopy.h"
#include "platform/SystemError.h"

namespace capture {

namespace {

// Shows the snapshot's DCs where its owner asked, for one scope.
class MirrorScope {
public:
    MirrorScope(const SnapshotDcMirror& mirror, HDC desk, HDC memory) : mirror_(mirror) {
        Set(desk, memory);
    }
    ~MirrorScope() { Set(nullptr, nullptr); }
    MirrorScope(const MirrorScope&) = delete;
    MirrorScope& operator=(const MirrorScope&) = delete;

private:
    void Set(HDC desk, HDC memory) {
        if (mirror_.desk != nullptr) {
            *mirror_.desk = desk;
        }
        if (mirror_.memory != nullptr) {
            *mirror_.memory = memory;
        }
    }

    const SnapshotDcMirror& mirror_;
};

} // namespace

void Snapshot::Take(const Desktop& desktop) {
    const ScreenRect& bounds = desktop.bounds;
    const std::int64_t width = std::int64_t(bounds.right) - bounds.left;
    const std::int64_t height = std::int64_t(bounds.bottom) - bounds.top;
    // The storage still holds the previous capture. Until the copy is known
    // to have succeeded the snapshot holds nothing, so a copy that fails
    // leaves no pixels that a crop could hand back as a new capture.
    bounds_ = {};
    displays_.clear();
    const bool fits = width <= INT32_MAX && height <= INT32_MAX &&
                      SnapshotStorageSize(std::int32_t(width), std::int32_t(height));
    if (!fits) {
        storage_.Clear();
        platform::ThrowResourceError(0);
    }
    storage_.Ensure(std::int32_t(width), std::int32_t(height));
    platform::DibSection section = storage_.Take();

    const platform::WindowDc desk = platform::WindowDc::Client(nullptr);
    const platform::UniqueHdc memory(::CreateCompatibleDC(desk.get()));
    if (!memory) {
        platform::ThrowResourceError(::GetLastError());
    }
    {
        const MirrorScope mirror(mirror_, desk.get(), memory.get());
        ::SetLastError(0);
        const platform::SelectGuard select(memory.get(), section.bitmap.get());
        if (!select) {
            platform::ThrowResourceError(::GetLastError());
        }
        platform::CopyScreenBlock(memory.get(), section.width, section.height, desk.get(),
                                  bounds.left, bounds.top, SRCCOPY);
    }
    storage_.Keep(std::move(section));
    bounds_ = bounds;
    displays_ = desktop.displays;
}

SnapshotPixels Snapshot::Pixels() const {
    ::GdiFlush();
    return SnapshotPixels{bounds_, static_cast<const std::uint8_t*>(storage_.Section().bits),
                          displays_};
}

void CropRegion(const Snapshot& snapshot, const CaptureRegion& region, output::HeldImage& image) {
    // Every byte is written by the crop, so the storage is not painted first.
    image.SetSizeUnpainted(region.width, region.height);
    if (!image.HasPixels()) {
        return;
    }
    image.SettlePalette();
    CropRegion(snapshot.Pixels(), region, image.Pixels());
}

} // namespace capture
