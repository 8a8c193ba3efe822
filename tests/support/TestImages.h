// Generated held images for the output tests and benchmarks, in the held
// image's own layout (bottom-up rows, blue-green-red, rows padded to 4 bytes).
// Padding bytes carry a marker value so that a producer which leaks them
// into a file shows it. Everything is deterministic: the same call gives the
// same pixels on every platform.
#pragma once

#include "output/ImageView.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace testimages {

inline constexpr std::uint8_t PaddingMarker = 0xA5;

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

class TestImage {
public:
    TestImage(std::int32_t width, std::int32_t height, Rgb fill)
        : width_(width), height_(height), stride_(output::DibStride(width)),
          bits_(output::DibStorageSize(width, height), PaddingMarker) {
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                Set(x, y, fill);
            }
        }
    }

    std::int32_t Width() const noexcept { return width_; }
    std::int32_t Height() const noexcept { return height_; }
    std::size_t Stride() const noexcept { return stride_; }
    const std::vector<std::uint8_t>& Bits() const noexcept { return bits_; }
    output::ImageView View() const noexcept { return {width_, height_, bits_.data()}; }

    // Picture coordinates: y = 0 is the top row, which is stored last.
    void Set(std::int32_t x, std::int32_t y, Rgb colour) noexcept {
        std::uint8_t* pixel = At(x, y);
        pixel[0] = colour.blue;
        pixel[1] = colour.green;
        pixel[2] = colour.red;
    }

    Rgb Get(std::int32_t x, std::int32_t y) const noexcept {
        const std::uint8_t* pixel = bits_.data() + Offset(x, y);
        return {pixel[2], pixel[1], pixel[0]};
    }

    void FillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  Rgb colour) noexcept {
        for (std::int32_t y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
            for (std::int32_t x = std::max(left, 0); x < std::min(right, width_); ++x) {
                Set(x, y, colour);
            }
        }
    }

    // What any decoder gives back: red, green, blue per pixel, top row first.
    std::vector<std::uint8_t> TopDownRgb() const {
        std::vector<std::uint8_t> rgb;
        rgb.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
        for (std::int32_t y = 0; y < height_; ++y) {
            for (std::int32_t x = 0; x < width_; ++x) {
                const Rgb colour = Get(x, y);
                rgb.insert(rgb.end(), {colour.red, colour.green, colour.blue});
            }
        }
        return rgb;
    }

private:
    std::size_t Offset(std::int32_t x, std::int32_t y) const noexcept {
        const auto storedRow = static_cast<std::size_t>(height_ - 1 - y);
        return storedRow * stride_ + static_cast<std::size_t>(x) * 3;
    }

    std::uint8_t* At(std::int32_t x, std::int32_t y) noexcept {
        return bits_.data() + Offset(x, y);
    }

    std::int32_t width_;
    std::int32_t height_;
    std::size_t stride_;
    std::vector<std::uint8_t> bits_;
};

// xorshift32: small, fast, and the same everywhere.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

    std::uint32_t Next() noexcept {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    std::uint8_t Byte() noexcept { return static_cast<std::uint8_t>(Next() >> 24); }

    std::int32_t Below(std::int32_t limit) noexcept {
        return static_cast<std::int32_t>(Next() % static_cast<std::uint32_t>(limit));
    }

private:
    std::uint32_t state_;
};

// Every byte independent: compresses hardly at all.
inline TestImage NoiseImage(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    TestImage image(width, height, {0, 0, 0});
    Random random(seed);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            image.Set(x, y, {random.Byte(), random.Byte(), random.Byte()});
        }
    }
    return image;
}

// What a capture of a desktop looks like: a gradient background, windows
// with flat title bars and white client areas, lines of small repeated
// glyphs, a toolbar of icons and a photo-like patch.
inline TestImage ScreenshotImage(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    TestImage image(width, height, {0, 0, 0});
    Random random(seed);
    for (std::int32_t y = 0; y < height; ++y) {
        const auto shade = static_cast<std::uint8_t>(60 + (y * 80) / std::max(height, 1));
        image.FillRect(0, y, width, y + 1, {20, static_cast<std::uint8_t>(shade / 2 + 40), shade});
    }

    // 16 glyphs of 6 x 9 pixels, reused like the letters of real text.
    std::vector<std::uint64_t> glyphs(16);
    for (auto& glyph : glyphs) {
        glyph = (static_cast<std::uint64_t>(random.Next()) << 32) | random.Next();
    }
    std::vector<Rgb> icons(8 * 16 * 16);
    for (auto& pixel : icons) {
        pixel = {random.Byte(), random.Byte(), random.Byte()};
    }

    const std::int32_t windows = 3 + width / 800;
    for (std::int32_t w = 0; w < windows; ++w) {
        const std::int32_t left = random.Below(std::max(width - width / 4, 1));
        const std::int32_t top = random.Below(std::max(height - height / 4, 1));
        const std::int32_t right = left + width / 3 + random.Below(std::max(width / 3, 1));
        const std::int32_t bottom = top + height / 3 + random.Below(std::max(height / 3, 1));
        const Rgb frame{random.Byte(), random.Byte(), random.Byte()};
        image.FillRect(left, top, right, bottom, {255, 255, 255});
        image.FillRect(left, top, right, top + 30, frame);
        for (std::int32_t i = 0; left + 8 + i * 20 + 16 < right && i < 12; ++i) {
            const std::int32_t iconLeft = left + 8 + i * 20;
            const std::size_t icon = static_cast<std::size_t>(i % 8) * 256;
            for (std::int32_t y = 0; y < 16; ++y) {
                for (std::int32_t x = 0; x < 16; ++x) {
                    if (top + 36 + y < height && iconLeft + x < width) {
                        image.Set(iconLeft + x, top + 36 + y, icons[icon + y * 16 + x]);
                    }
                }
            }
        }
        for (std::int32_t line = top + 60; line + 9 < std::min(bottom, height); line += 14) {
            const std::int32_t lineEnd = right - 10 - random.Below(std::max((right - left) / 2, 1));
            for (std::int32_t x = left + 10; x + 6 < std::min(lineEnd, width); x += 7) {
                const std::uint64_t glyph = glyphs[static_cast<std::size_t>(random.Below(16))];
                for (std::int32_t bit = 0; bit < 54; ++bit) {
                    if ((glyph >> bit) & 1) {
                        image.Set(x + bit % 6, line + bit / 6, {30, 30, 30});
                    }
                }
            }
        }
    }

    const std::int32_t photoLeft = width / 2;
    const std::int32_t photoTop = height / 2;
    for (std::int32_t y = photoTop; y < std::min(photoTop + height / 4, height); ++y) {
        for (std::int32_t x = photoLeft; x < std::min(photoLeft + width / 4, width); ++x) {
            const std::uint32_t jitter = random.Next() & 7;
            image.Set(x, y,
                      {static_cast<std::uint8_t>((x * 3 + jitter) & 0xFF),
                       static_cast<std::uint8_t>((y * 2 + x + jitter) & 0xFF),
                       static_cast<std::uint8_t>((255 - y + jitter) & 0xFF)});
        }
    }
    return image;
}

} // namespace testimages
