// The encoder against libpng set to the same choices, over generated images
// from one pixel to screen size: widths with and without row padding, noise,
// flat colour and desktop-like content. The files must be byte-identical,
// and libpng must decode ours back to the very pixels.
//
// libpng departs from our fixed choices in two places of its own accord, so
// the comparison allows for exactly these. For at most 16384 bytes of image
// data it declares the smallest sufficient window in the zlib header; the
// deflate data is the same, while our header always states the 32 KiB window
// it was compressed with (78 DA). For images one pixel wide it writes filter
// type 0 instead of Sub; those are only decoded.
#include "output/PngEncoder.h"

#include "tests/support/LibpngReference.h"
#include "tests/support/PngChunks.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using pngchunks::Bytes;
using testimages::TestImage;

enum class Content { Noise, Flat, Screenshot };

struct ImageCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    Content content;
};

void PrintTo(const ImageCase& c, std::ostream* out) {
    *out << c.name << " " << c.width << " x " << c.height;
}

TestImage Make(const ImageCase& c) {
    switch (c.content) {
    case Content::Noise:
        return testimages::NoiseImage(c.width, c.height,
                                      static_cast<std::uint32_t>(c.width * 31 + c.height));
    case Content::Flat:
        return TestImage(c.width, c.height, {0xF0, 0xF0, 0xF0});
    case Content::Screenshot:
        break;
    }
    return testimages::ScreenshotImage(c.width, c.height, static_cast<std::uint32_t>(c.height));
}

Bytes EncodeOurs(const TestImage& image) {
    output::PngEncoder encoder;
    encoder.TakeImage(image.View());
    output::MemorySink sink;
    encoder.Write(sink);
    return sink.Bytes();
}

Bytes EncodeLibpng(const TestImage& image) {
    output::MemorySink sink;
    libpngref::Encode(image.View(), sink);
    return sink.Bytes();
}

// libpng's file with its zlib header set back to the 32 KiB window. The first
// IDAT chunk follows the signature and IHDR at offset 33.
Bytes WithFullWindowHeader(Bytes file) {
    constexpr std::size_t Chunk = 33;
    const std::string type(reinterpret_cast<const char*>(&file.at(Chunk + 4)), 4);
    EXPECT_EQ(type, "IDAT");
    const std::size_t length = pngchunks::ReadBigEndian32(&file[Chunk]);
    file.at(Chunk + 8) = 0x78;
    file.at(Chunk + 9) = 0xDA;
    const Bytes data(file.begin() + Chunk + 8, file.begin() + Chunk + 8 + length);
    const std::uint32_t crc = pngchunks::ReferenceChunkCrc(type, data);
    for (std::size_t i = 0; i < 4; ++i) {
        file.at(Chunk + 8 + length + i) = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    return file;
}

class PngAgainstLibpng : public testing::TestWithParam<ImageCase> {};

TEST_P(PngAgainstLibpng, FileIsByteIdentical) {
    const TestImage image = Make(GetParam());
    const Bytes ours = EncodeOurs(image);
    Bytes reference = EncodeLibpng(image);
    const std::size_t imageData = static_cast<std::size_t>(image.Height()) *
                                  (1 + 3 * static_cast<std::size_t>(image.Width()));
    if (imageData <= 16384) {
        reference = WithFullWindowHeader(std::move(reference));
    }
    EXPECT_EQ(ours.size(), reference.size());
    EXPECT_TRUE(ours == reference);
}

class PngDecodedByLibpng : public testing::TestWithParam<ImageCase> {};

TEST_P(PngDecodedByLibpng, GivesBackTheSamePixels) {
    const TestImage image = Make(GetParam());
    const libpngref::Decoded decoded = libpngref::Decode(EncodeOurs(image));
    EXPECT_EQ(decoded.width, static_cast<std::uint32_t>(image.Width()));
    EXPECT_EQ(decoded.height, static_cast<std::uint32_t>(image.Height()));
    EXPECT_EQ(decoded.fileFormat, static_cast<std::uint32_t>(PNG_FORMAT_RGB));
    EXPECT_TRUE(decoded.rgb == image.TopDownRgb());
}

const auto ComparableImages = testing::Values(
    ImageCase{"TwoByTwo", 2, 2, Content::Noise}, ImageCase{"ThreeWideFlat", 3, 1, Content::Flat},
    ImageCase{"SmallOdd", 5, 7, Content::Noise}, ImageCase{"Padded63", 63, 17, Content::Noise},
    // 16359 and 16430 bytes of image data: either side of libpng's header rule
    ImageCase{"JustBelowRule", 6, 861, Content::Noise},
    ImageCase{"JustAboveRule", 35, 155, Content::Noise},
    ImageCase{"NoPadding", 100, 60, Content::Noise}, ImageCase{"OneRow", 5000, 1, Content::Noise},
    ImageCase{"FlatLarge", 1001, 777, Content::Flat},
    ImageCase{"Screen626", 626, 415, Content::Screenshot},
    ImageCase{"NoiseManyChunks", 701, 503, Content::Noise},
    ImageCase{"ScreenFullHd", 1920, 1080, Content::Screenshot},
    ImageCase{"ScreenOddSize", 1366, 767, Content::Screenshot});

const auto OneWideImages = testing::Values(ImageCase{"OnePixel", 1, 1, Content::Noise},
                                           ImageCase{"OneColumn", 1, 3000, Content::Noise},
                                           ImageCase{"TallColumn", 1, 20000, Content::Noise});

auto CaseName = [](const testing::TestParamInfo<ImageCase>& info) {
    return std::string(info.param.name);
};

INSTANTIATE_TEST_SUITE_P(Images, PngAgainstLibpng, ComparableImages, CaseName);
INSTANTIATE_TEST_SUITE_P(Images, PngDecodedByLibpng, ComparableImages, CaseName);
INSTANTIATE_TEST_SUITE_P(OneWide, PngDecodedByLibpng, OneWideImages, CaseName);

} // namespace
