// The crop of a region capture, pixel by pixel, against a snapshot whose
// every pixel tells where it came from: regions inside the display,
// straddling each edge, wholly off it, at negative and extreme origins, and
// at the narrow widths whose rows carry 1 to 3 padding bytes. Storage is
// sized exactly, so the sanitizers catch any write or read beyond it.
#include "capture/RegionCrop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <vector>

namespace {

using capture::CaptureRegion;
using capture::ScreenRect;

constexpr std::uint32_t White = 0xFFFFFF;

// The colour the screen shows at (x, y): distinct for every position the
// tests use, negative ones included.
std::uint32_t ScreenColour(std::int64_t x, std::int64_t y) {
    return std::uint32_t((x * 37 + 11) & 0xFF) | (std::uint32_t((y * 53 + 7) & 0xFF) << 8) |
           (std::uint32_t((x * 5 + y * 3 + 101) & 0xFF) << 16);
}

// A snapshot of `desktop` laid out as a 32-bit bottom-up DIB section, its
// unused fourth byte set to junk as a screen copy leaves it.
struct FakeSnapshot {
    explicit FakeSnapshot(ScreenRect desktopRect, std::vector<ScreenRect> displayRects)
        : desktop(desktopRect), displays(std::move(displayRects)) {
        const std::int32_t width = desktop.right - desktop.left;
        const std::int32_t height = desktop.bottom - desktop.top;
        bytes.resize(*capture::SnapshotStorageSize(width, height));
        for (std::int32_t row = 0; row < height; ++row) {
            std::uint8_t* stored = bytes.data() + std::size_t(height - 1 - row) * width * 4;
            for (std::int32_t col = 0; col < width; ++col) {
                const std::uint32_t c = ScreenColour(desktop.left + col, desktop.top + row);
                stored[col * 4 + 0] = std::uint8_t(c);
                stored[col * 4 + 1] = std::uint8_t(c >> 8);
                stored[col * 4 + 2] = std::uint8_t(c >> 16);
                stored[col * 4 + 3] = 0x5A;
            }
        }
    }
    capture::SnapshotPixels Pixels() const { return {desktop, bytes.data(), displays}; }

    ScreenRect desktop;
    std::vector<ScreenRect> displays;
    std::vector<std::uint8_t> bytes;
};

bool OnADisplay(const FakeSnapshot& snapshot, std::int64_t x, std::int64_t y) {
    for (const ScreenRect& d : snapshot.displays) {
        if (x >= d.left && x < d.right && y >= d.top && y < d.bottom) {
            return true;
        }
    }
    return false;
}

// Crops into fresh storage filled with a marker, then checks every pixel
// and every padding byte; returns a description of the first difference.
std::string CropAndCompare(const FakeSnapshot& snapshot, const CaptureRegion& region) {
    std::vector<std::uint8_t> storage(output::DibStorageSize(region.width, region.height), 0x3C);
    const output::PixelView image{region.width, region.height,
                                  storage.empty() ? nullptr : storage.data()};
    capture::CropRegion(snapshot.Pixels(), region, image);
    const std::size_t stride = output::DibStride(region.width);
    for (std::int32_t y = 0; y < region.height; ++y) {
        const std::uint8_t* row = output::PictureRow(image, y);
        for (std::int32_t x = 0; x < region.width; ++x) {
            const std::int64_t sx = std::int64_t(region.x) + x;
            const std::int64_t sy = std::int64_t(region.y) + y;
            const std::uint32_t expected =
                OnADisplay(snapshot, sx, sy) ? ScreenColour(sx, sy) : White;
            const std::uint32_t actual =
                row[x * 3] | (row[x * 3 + 1] << 8) | (std::uint32_t(row[x * 3 + 2]) << 16);
            if (actual != expected) {
                std::ostringstream out;
                out << "pixel (" << x << "," << y << ") at screen (" << sx << "," << sy
                    << "): " << std::hex << actual << " instead of " << expected;
                return out.str();
            }
        }
        for (std::size_t i = std::size_t(region.width) * 3; i < stride; ++i) {
            if (row[i] != 0xFF) {
                std::ostringstream out;
                out << "padding byte " << i << " of row " << y << " is not white";
                return out.str();
            }
        }
    }
    return "";
}

// One display of 20 x 10 pixels at the origin, the snapshot exactly on it.
const FakeSnapshot& OneDisplay() {
    static const FakeSnapshot snapshot({0, 0, 20, 10}, {{0, 0, 20, 10}});
    return snapshot;
}

TEST(RegionCrop, CopiesWhatIsOnTheDisplayAndWhitensTheRest) {
    constexpr std::int32_t Big = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Small = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* what;
        CaptureRegion region; // x, y, width, height
    };
    const Case cases[] = {
        {"inside", {3, 2, 5, 4}},
        {"the whole display", {0, 0, 20, 10}},
        {"one pixel in the last corner", {19, 9, 1, 1}},
        {"straddles the left edge", {-2, 3, 5, 2}},
        {"straddles the right edge", {17, 3, 6, 2}},
        {"straddles the top edge", {4, -3, 3, 5}},
        {"straddles the bottom edge", {4, 8, 3, 5}},
        {"larger than the display on every side", {-1, -2, 23, 14}},
        {"wholly left", {-10, 2, 4, 3}},
        {"wholly right", {20, 2, 4, 3}},
        {"wholly above", {2, -6, 4, 6}},
        {"wholly below", {2, 10, 4, 3}},
        {"negative origin, off", {-5, -5, 3, 3}},
        {"negative origin, reaching in", {-5, -5, 7, 8}},
        {"width 1 inside", {6, 1, 1, 3}},
        {"width 2 inside", {6, 1, 2, 3}},
        {"width 3 inside", {6, 1, 3, 3}},
        {"width 4 inside", {6, 1, 4, 3}},
        {"width 1 off the right", {20, 1, 1, 3}},
        {"width 2 straddling the right edge", {19, 1, 2, 3}},
        {"width 3 straddling the left edge", {-1, 1, 3, 3}},
        {"width 4 straddling the left edge", {-2, 1, 4, 3}},
        {"at the far end of the coordinate range", {Big - 1, Big - 1, 3, 2}},
        {"at the near end of the coordinate range", {Small, Small, 3, 2}},
        {"reaching from the near end", {Small, 0, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CropAndCompare(OneDisplay(), c.region), "");
    }
}

// Desktops of several displays: the snapshot starts at the desktop's
// top-left corner, which lies at negative coordinates when a display is left
// of or above the primary, and what lies between displays of different sizes
// is on none of them.
TEST(RegionCrop, EveryDisplayIsCopiedFromItsPlaceAndGapsAreWhite) {
    // A primary of 8 x 6 with a shorter display of 5 x 3 to its left.
    const FakeSnapshot leftOfPrimary({-5, 0, 8, 6}, {{0, 0, 8, 6}, {-5, 1, 0, 4}});
    // A display of 6 x 3 above the primary, narrower than it.
    const FakeSnapshot abovePrimary({0, -3, 8, 6}, {{0, 0, 8, 6}, {2, -3, 8, 0}});
    // Mirrored and overlapping displays: each pixel copied once, the same.
    const FakeSnapshot overlapping({0, 0, 10, 6}, {{0, 0, 8, 6}, {0, 0, 8, 6}, {4, 2, 10, 5}});
    // Two displays side by side, the second shorter: the gap under it.
    const FakeSnapshot sideBySide({0, 0, 16, 9}, {{0, 0, 9, 9}, {9, 0, 16, 4}});
    struct Case {
        const char* what;
        const FakeSnapshot& snapshot;
        CaptureRegion region;
    };
    const Case cases[] = {
        {"wholly on the display left of the primary", leftOfPrimary, {-4, 1, 3, 2}},
        {"across the boundary between them", leftOfPrimary, {-2, 2, 5, 2}},
        {"across a corner no display covers", leftOfPrimary, {-5, -1, 4, 3}},
        {"below the shorter display", leftOfPrimary, {-5, 3, 7, 3}},
        {"the whole desktop and beyond", leftOfPrimary, {-6, -1, 15, 8}},
        {"wholly on the display above", abovePrimary, {3, -3, 4, 2}},
        {"from the display above down into the primary", abovePrimary, {0, -3, 5, 6}},
        {"across overlapping displays", overlapping, {2, 1, 8, 5}},
        {"right of the mirrored pair, on the third", overlapping, {8, 2, 2, 3}},
        {"across the gap under the shorter display", sideBySide, {7, 2, 8, 5}},
        {"wholly in the gap", sideBySide, {10, 5, 4, 4}},
        {"width 1 in and out of the gap", sideBySide, {12, 2, 1, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CropAndCompare(c.snapshot, c.region), "");
    }
}

TEST(RegionCrop, TheDesktopOriginIsSubtracted) {
    // One display at (-3, -2): screen pixel (-3, -2) is the snapshot's first
    // column of its top row, which is stored last.
    const FakeSnapshot shifted({-3, -2, 2, 1}, {{-3, -2, 2, 1}});
    std::vector<std::uint8_t> storage(output::DibStorageSize(1, 1));
    capture::CropRegion(shifted.Pixels(), {-3, -2, 1, 1}, output::PixelView{1, 1, storage.data()});
    const std::size_t topRow = shifted.bytes.size() - 5 * 4;
    EXPECT_EQ(storage[0], shifted.bytes[topRow]);
    EXPECT_EQ(storage[1], shifted.bytes[topRow + 1]);
    EXPECT_EQ(storage[2], shifted.bytes[topRow + 2]);
    EXPECT_EQ(CropAndCompare(shifted, {-4, -3, 7, 5}), "");
}

TEST(RegionCrop, AnEmptyRegionTouchesNothing) {
    // No storage at all: nothing may be written, nothing read.
    capture::CropRegion(OneDisplay().Pixels(), {3, 3, 0, 5}, output::PixelView{0, 5, nullptr});
    capture::CropRegion(OneDisplay().Pixels(), {3, 3, 5, 0}, output::PixelView{5, 0, nullptr});
    EXPECT_EQ(CropAndCompare(OneDisplay(), {3, 3, 0, 0}), "");
}

TEST(RegionCrop, NoSnapshotGivesAWhiteImage) {
    std::vector<std::uint8_t> storage(output::DibStorageSize(5, 3), 0x00);
    const std::vector<ScreenRect> displays{{0, 0, 20, 10}};
    capture::CropRegion({{0, 0, 20, 10}, nullptr, displays}, {2, 2, 5, 3},
                        output::PixelView{5, 3, storage.data()});
    for (std::uint8_t byte : storage) {
        ASSERT_EQ(byte, 0xFF);
    }
}

TEST(RegionCrop, SnapshotStorageSizeRefusesWhatNoBitmapHolds) {
    EXPECT_EQ(capture::SnapshotStorageSize(3840, 2160), std::size_t(3840) * 2160 * 4);
    EXPECT_EQ(capture::SnapshotStorageSize(0, 2160), std::size_t(0));
    EXPECT_EQ(capture::SnapshotStorageSize(-1, 10), std::nullopt);
    EXPECT_EQ(capture::SnapshotStorageSize(10, -1), std::nullopt);
    EXPECT_EQ(capture::SnapshotStorageSize(70000, 70000), std::nullopt);
    EXPECT_EQ(capture::SnapshotStorageSize(32768, 16384), std::nullopt) << "exactly 2^31 bytes";
    EXPECT_EQ(capture::SnapshotStorageSize(32767, 16384), std::size_t(32767) * 16384 * 4);
}

} // namespace
