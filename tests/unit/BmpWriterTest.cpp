// The BMP file byte for byte, the three blocks it is written in, file sizes
// with and without row padding, empty images, and sizes the 32-bit header
// fields cannot hold.
#include "output/BmpWriter.h"
#include "output/DibDescription.h"

#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <limits>
#include <ios>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using testimages::PaddingMarker;
using testimages::TestImage;

// Keeps every Write call apart, to see the blocks the file is written in.
class RecordingSink : public output::ByteSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        writes.emplace_back(data, data + size);
    }

    Bytes File() const {
        Bytes file;
        for (const Bytes& block : writes) {
            file.insert(file.end(), block.begin(), block.end());
        }
        return file;
    }

    std::vector<Bytes> writes;
};

std::uint32_t ReadLittleEndian32(const Bytes& file, std::size_t at) {
    return std::uint32_t{file[at]} | (std::uint32_t{file[at + 1]} << 8) |
           (std::uint32_t{file[at + 2]} << 16) | (std::uint32_t{file[at + 3]} << 24);
}

TEST(BmpWriter, TwoByTwoImageIsExactFile) {
    TestImage image(2, 2, {0, 0, 0});
    image.Set(0, 0, {255, 0, 0}); // top row: red, green
    image.Set(1, 0, {0, 255, 0});
    image.Set(0, 1, {0, 0, 255}); // bottom row: blue, white
    image.Set(1, 1, {255, 255, 255});
    RecordingSink sink;
    output::WriteBmp(image.View(), sink);

    constexpr std::uint8_t P = PaddingMarker; // padding is copied as it stands
    const Bytes fileHeader{0x42, 0x4D, 0x46, 0x00, 0x00, 0x00, 0x00,
                           0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00};
    const Bytes description{0x28, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00,
                            0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    const Bytes bottomRow{0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, P, P}; // blue, white
    const Bytes topRow{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, P, P};    // red, green
    Bytes expected;
    for (const Bytes* part : {&fileHeader, &description, &bottomRow, &topRow}) {
        expected.insert(expected.end(), part->begin(), part->end());
    }
    ASSERT_EQ(expected.size(), 70u);
    EXPECT_EQ(sink.File(), expected);
}

struct FileSizeCase {
    std::int32_t width;
    std::int32_t height;
    std::size_t fileSize;
};

void PrintTo(const FileSizeCase& c, std::ostream* out) {
    *out << c.width << " x " << c.height;
}

class BmpFileSizeTest : public testing::TestWithParam<FileSizeCase> {};

TEST_P(BmpFileSizeTest, WritesHeaderDescriptionAndStorageAsThreeBlocks) {
    const FileSizeCase& c = GetParam();
    const TestImage image = testimages::NoiseImage(c.width, c.height, 7);
    RecordingSink sink;
    output::WriteBmp(image.View(), sink);

    ASSERT_EQ(sink.writes.size(), 3u);
    EXPECT_EQ(sink.writes[0].size(), 14u);
    EXPECT_EQ(sink.writes[1].size(), 40u);
    EXPECT_EQ(sink.writes[2], image.Bits());
    const Bytes file = sink.File();
    ASSERT_EQ(file.size(), c.fileSize);
    EXPECT_EQ(ReadLittleEndian32(file, 2), c.fileSize);       // bfSize
    EXPECT_EQ(ReadLittleEndian32(file, 34), c.fileSize - 54); // biSizeImage
    EXPECT_EQ(ReadLittleEndian32(file, 18), std::uint32_t(c.width));
    EXPECT_EQ(ReadLittleEndian32(file, 22), std::uint32_t(c.height));
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpFileSizeTest,
                         testing::Values(FileSizeCase{1, 1, 58}, FileSizeCase{4, 1, 66},
                                         FileSizeCase{3, 5, 114}, FileSizeCase{626, 415, 780254}));

TEST(BmpWriter, EmptyImageWritesNothing) {
    const output::ImageView empties[] = {{0, 0, nullptr}, {0, 5, nullptr}, {5, 0, nullptr}};
    for (const output::ImageView& image : empties) {
        RecordingSink sink;
        output::WriteBmp(image, sink);
        EXPECT_TRUE(sink.writes.empty()) << image.width << " x " << image.height;
    }
}

TEST(BmpWriter, UnwritableImagesThrowBeforeAnyWrite) {
    const std::uint8_t pixel[4] = {};
    const output::ImageView images[] = {
        {-1, 1, pixel},
        {1, -1, pixel},
        {1, 1, nullptr},
        // storage 4 * 1073741823 fits 32 bits, but 54 + storage does not
        {1, 1073741823, pixel},
    };
    for (const output::ImageView& image : images) {
        RecordingSink sink;
        EXPECT_THROW(output::WriteBmp(image, sink), output::ImageError)
            << image.width << " x " << image.height;
        EXPECT_TRUE(sink.writes.empty());
    }
}

TEST(BmpWriter, SinkFailurePassesThrough) {
    struct FailingSink : output::ByteSink {
        void Write(const std::uint8_t*, std::size_t) override {
            throw std::ios_base::failure("disk full");
        }
    } sink;
    const TestImage image(2, 2, {1, 2, 3});
    EXPECT_THROW(output::WriteBmp(image.View(), sink), std::ios_base::failure);
}

TEST(DibDescription, HoldsTheHeldImageValues) {
    const output::DibDescription d = output::DescribeDib(626, 415);
    EXPECT_EQ(d.size, 40u);
    EXPECT_EQ(d.width, 626);
    EXPECT_EQ(d.height, 415);
    EXPECT_EQ(d.planes, 1);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.compression, 0u);
    EXPECT_EQ(d.sizeImage, 780200u);
    EXPECT_EQ(d.xPelsPerMeter, 0);
    EXPECT_EQ(d.yPelsPerMeter, 0);
    EXPECT_EQ(d.clrUsed, 0u);
    EXPECT_EQ(d.clrImportant, 0u);
}

TEST(DibDescription, RejectsStorageBeyondThirtyTwoBits) {
    // stride 8 * 536870912 rows is exactly 2^32 bytes
    EXPECT_THROW(output::DescribeDib(2, 536870912), output::ImageError);
    EXPECT_EQ(output::DescribeDib(2, 536870911).sizeImage, 4294967288u);
}

} // namespace
