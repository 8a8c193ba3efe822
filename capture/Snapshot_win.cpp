#include "capture/Snapshot.h"

#include <algorithm>
#include <cstdint>

namespace capture {

platform::UniqueHbitmap TakeSnapshot(HDC desk, HDC memory, SIZE displaySize,
                                     platform::UniqueHbitmap previous) {
    BITMAP old{};
    platform::UniqueHbitmap snapshot;
    if (previous && ::GetObjectW(previous.get(), sizeof old, &old) &&
        old.bmWidth == displaySize.cx && old.bmHeight == displaySize.cy) {
        snapshot = std::move(previous);
    } else {
        previous.reset();
        // A 32-bit bottom-up DIB section: the screen's own depth on every
        // current display, and its pixels can be read directly, so the crop
        // below is a plain copy instead of a device conversion.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = displaySize.cx;
        info.bmiHeader.biHeight = displaySize.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        snapshot.reset(::CreateDIBSection(desk, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    platform::SelectGuard select(memory, snapshot.get());
    ::BitBlt(memory, 0, 0, displaySize.cx, displaySize.cy, desk, 0, 0, SRCCOPY);
    return snapshot;
}

RECT RegionOnSnapshot(const CaptureRegion& region, SIZE snapshotSize) {
    const long long left = std::max<long long>(region.x, 0);
    const long long top = std::max<long long>(region.y, 0);
    const long long right = std::min<long long>(static_cast<long long>(region.x) + region.width,
                                                snapshotSize.cx);
    const long long bottom = std::min<long long>(
        static_cast<long long>(region.y) + region.height, snapshotSize.cy);
    if (right <= left || bottom <= top) {
        return RECT{0, 0, 0, 0};
    }
    return RECT{static_cast<LONG>(left - region.x), static_cast<LONG>(top - region.y),
                static_cast<LONG>(right - region.x), static_cast<LONG>(bottom - region.y)};
}

namespace {

// The snapshot's pixels when it is a 32-bit DIB section. The description
// that GetObject gives back does not tell the row order (Wine reports a
// positive height either way), so snapshots are always made bottom-up.
const std::uint8_t* SnapshotBits(HBITMAP snapshot, SIZE size, std::size_t& stride) {
    DIBSECTION section{};
    if (::GetObjectW(snapshot, sizeof section, &section) != int(sizeof section) ||
        section.dsBm.bmBits == nullptr || section.dsBmih.biBitCount != 32 ||
        section.dsBm.bmHeight != size.cy || section.dsBm.bmWidth != size.cx) {
        return nullptr;
    }
    stride = std::size_t(section.dsBm.bmWidthBytes);
    return static_cast<const std::uint8_t*>(section.dsBm.bmBits);
}

} // namespace

bool CopyRegion(HDC target, HDC memory, HBITMAP snapshot, SIZE snapshotSize,
                const CaptureRegion& region) {
    const RECT part = RegionOnSnapshot(region, snapshotSize);
    if (part.right <= part.left || part.bottom <= part.top) {
        return true;
    }
    std::size_t sourceStride = 0;
    const std::uint8_t* source = SnapshotBits(snapshot, snapshotSize, sourceStride);
    DIBSECTION image{};
    HBITMAP targetBitmap = static_cast<HBITMAP>(::GetCurrentObject(target, OBJ_BITMAP));
    if (source != nullptr &&
        ::GetObjectW(targetBitmap, sizeof image, &image) == int(sizeof image) &&
        image.dsBm.bmBits != nullptr && image.dsBmih.biBitCount == 24) {
        ::GdiFlush();
        const std::size_t targetStride = std::size_t(image.dsBm.bmWidthBytes);
        auto* bits = static_cast<std::uint8_t*>(image.dsBm.bmBits);
        const int height = image.dsBmih.biHeight;
        for (LONG y = part.top; y < part.bottom; ++y) {
            const std::uint8_t* from = source +
                                       std::size_t(snapshotSize.cy - 1 - (region.y + y)) *
                                           sourceStride +
                                       std::size_t(region.x + part.left) * 4;
            std::uint8_t* to =
                bits + std::size_t(height - 1 - y) * targetStride + std::size_t(part.left) * 3;
            for (LONG x = part.left; x < part.right; ++x, from += 4, to += 3) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
        return true;
    }
    platform::SelectGuard select(memory, snapshot);
    return ::BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top,
                    memory, region.x + part.left, region.y + part.top, SRCCOPY) != FALSE;
}

} // namespace capture
