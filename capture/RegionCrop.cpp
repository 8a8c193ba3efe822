#include "capture/RegionCrop.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace capture {

std::optional<std::size_t> SnapshotStorageSize(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) {
        return std::nullopt;
    }
    const auto bytes = std::uint64_t(width) * SnapshotBytesPerPixel * std::uint64_t(height);
    if (bytes > std::uint64_t(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return std::size_t(bytes);
}

namespace {

// A run of one image row, [begin, end) in image columns, that lies on a
// display and on the snapshot.
struct Span {
    std::int64_t begin;
    std::int64_t end;
};

// The runs of image row `screenY` (a screen row) that have a source, in
// image columns, sorted and merged. Displays may overlap (mirrored ones
// do) and are few, so a fresh small list per row is cheap next to the copy.
void SourceSpans(const SnapshotPixels& snapshot, std::int64_t screenY, std::int64_t regionX,
                 std::int64_t width, std::vector<Span>& spans) {
    spans.clear();
    const ScreenRect& desk = snapshot.desktop;
    if (snapshot.bits == nullptr || screenY < desk.top || screenY >= desk.bottom) {
        return;
    }
    for (const ScreenRect& d : snapshot.displays) {
        if (screenY < d.top || screenY >= d.bottom) {
            continue;
        }
        const std::int64_t left = std::max<std::int64_t>({d.left, desk.left, regionX});
        const std::int64_t right = std::min<std::int64_t>({d.right, desk.right, regionX + width});
        if (left < right) {
            spans.push_back({left - regionX, right - regionX});
        }
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::size_t merged = 0;
    for (const Span& s : spans) {
        if (merged > 0 && s.begin <= spans[merged - 1].end) {
            spans[merged - 1].end = std::max(spans[merged - 1].end, s.end);
        } else {
            spans[merged++] = s;
        }
    }
    spans.resize(merged);
}

} // namespace

void CropRegion(const SnapshotPixels& snapshot, const CaptureRegion& region,
                const output::PixelView& image) {
    if (image.bits == nullptr || image.width <= 0 || image.height <= 0) {
        return;
    }
    const std::size_t stride = output::DibStride(image.width);
    const std::size_t used = std::size_t(image.width) * 3;
    const ScreenRect& desk = snapshot.desktop;
    const std::size_t sourceStride =
        std::size_t(std::max<std::int64_t>(std::int64_t(desk.right) - desk.left, 0)) *
        SnapshotBytesPerPixel;
    const std::int64_t snapshotHeight = std::int64_t(desk.bottom) - desk.top;
    std::vector<Span> spans;
    spans.reserve(snapshot.displays.size());
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::uint8_t* row = output::PictureRow(image, y);
        std::memset(row + used, 0xFF, stride - used); // the row's padding
        const std::int64_t screenY = std::int64_t(region.y) + y;
        SourceSpans(snapshot, screenY, region.x, image.width, spans);
        // Snapshot rows are stored bottom-up too.
        const std::uint8_t* source =
            spans.empty() ? nullptr
                          : snapshot.bits + std::size_t(snapshotHeight - 1 - (screenY - desk.top)) *
                                                sourceStride;
        std::int64_t done = 0;
        for (const Span& s : spans) {
            output::PaintRowWhite(row, done, s.begin);
            const std::uint8_t* from =
                source + std::size_t(region.x + s.begin - desk.left) * SnapshotBytesPerPixel;
            std::uint8_t* to = row + s.begin * 3;
            // Four bytes a pixel, the fourth overwritten by the next pixel:
            // one store instead of three. The span's last pixel takes three.
            for (std::int64_t x = s.begin; x + 1 < s.end; ++x, from += 4, to += 3) {
                std::memcpy(to, from, 4);
            }
            std::memcpy(to, from, 3);
            done = s.end;
        }
        output::PaintRowWhite(row, done, image.width);
    }
}

} // namespace capture
