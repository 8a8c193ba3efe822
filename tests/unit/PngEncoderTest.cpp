// The PNG file as a whole: the exact 1 x 1 file, the scanlines zlib gives
// back, chunk order and sizes over a many-chunk image, every CRC checked
// independently, misuse that must not yield a file, and failures in the
// middle of a write that must still release zlib's memory.
#include "output/PngEncoder.h"
#include "output/PngError.h"

#include "tests/support/PngChunks.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <new>
#include <stdexcept>

namespace {

using pngchunks::Bytes;
using testimages::TestImage;

Bytes Encode(const output::ImageView& image) {
    output::PngEncoder encoder;
    encoder.TakeImage(image);
    output::MemorySink sink;
    encoder.Write(sink);
    return sink.Bytes();
}

Bytes ChunkBytes(const char* type, const Bytes& data) {
    Bytes chunk{0, 0, 0, static_cast<std::uint8_t>(data.size())};
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const std::uint32_t crc = pngchunks::ReferenceChunkCrc(type, data);
    chunk.insert(chunk.end(),
                 {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                  static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)});
    return chunk;
}

TEST(PngEncoder, OnePixelImageIsExactFile) {
    const TestImage image(1, 1, {0x11, 0x22, 0x33});
    Bytes expected = pngchunks::Signature;
    const Bytes header{0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00,
                       0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE};
    const Bytes idat = ChunkBytes(
        "IDAT", {0x78, 0xDA, 0x63, 0x14, 0x54, 0x32, 0x06, 0x00, 0x00, 0xB2, 0x00, 0x68});
    const Bytes end{0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    expected.insert(expected.end(), header.begin(), header.end());
    expected.insert(expected.end(), idat.begin(), idat.end());
    expected.insert(expected.end(), end.begin(), end.end());
    ASSERT_EQ(expected.size(), 69u);

    EXPECT_EQ(Encode(image.View()), expected);
}

TEST(PngEncoder, ScanlinesAreSubFilteredTopRowFirst) {
    TestImage image(2, 2, {0, 0, 0}); // stride 8: two padding bytes a row
    image.Set(0, 0, {10, 20, 30});
    image.Set(1, 0, {15, 20, 25});
    image.Set(0, 1, {255, 0, 0});
    image.Set(1, 1, {0, 255, 0});
    const auto chunks = pngchunks::ParseChunks(Encode(image.View()));

    const Bytes scanlines = pngchunks::Inflate(pngchunks::JoinIdat(chunks));
    const Bytes expected{0x01, 0x0A, 0x14, 0x1E, 0x05, 0x00, 0xFB,  // top row
                         0x01, 0xFF, 0x00, 0x00, 0x01, 0xFF, 0x00}; // bottom row
    EXPECT_EQ(scanlines, expected);
}

TEST(PngEncoder, ManyChunkFileHasOnlyHeaderDataAndEndInOrder) {
    // Noise barely compresses: about 225 kB of data, four IDAT chunks.
    const TestImage image = testimages::NoiseImage(300, 250, 99);
    const Bytes file = Encode(image.View());
    const auto chunks = pngchunks::ParseChunks(file);

    ASSERT_GE(chunks.size(), 5u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_TRUE(chunks.back().data.empty());
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
        const std::size_t size = chunks[i].data.size();
        if (i + 2 < chunks.size()) {
            EXPECT_EQ(size, 65535u) << "chunk " << i;
        } else {
            EXPECT_GE(size, 1u);
            EXPECT_LE(size, 65535u);
        }
    }
    for (const auto& chunk : chunks) {
        EXPECT_EQ(chunk.storedCrc, pngchunks::ReferenceChunkCrc(chunk.type, chunk.data))
            << chunk.type;
    }

    const Bytes& ihdr = chunks.front().data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(pngchunks::ReadBigEndian32(&ihdr[0]), 300u);
    EXPECT_EQ(pngchunks::ReadBigEndian32(&ihdr[4]), 250u);
    EXPECT_EQ(Bytes(ihdr.begin() + 8, ihdr.end()), (Bytes{8, 2, 0, 0, 0}));

    const Bytes stream = pngchunks::JoinIdat(chunks);
    ASSERT_GE(stream.size(), 2u);
    EXPECT_EQ(stream[0], 0x78); // 32 KiB window, deflate
    EXPECT_EQ(stream[1], 0xDA); // level 7 and up
    EXPECT_EQ(pngchunks::UnfilterSub(pngchunks::Inflate(stream), 300, 250), image.TopDownRgb());
}

TEST(PngEncoder, RefusesToWriteWithoutPixels) {
    {
        output::PngEncoder encoder;
        output::MemorySink sink;
        EXPECT_THROW(encoder.Write(sink), output::PngError);
        EXPECT_TRUE(sink.Bytes().empty());
    }
    const std::uint8_t pixel[4] = {};
    const output::ImageView empties[] = {{0, 0, nullptr}, {0, 3, nullptr}, {3, 0, pixel}};
    for (const output::ImageView& image : empties) {
        output::PngEncoder encoder;
        encoder.TakeImage(image);
        output::MemorySink sink;
        EXPECT_THROW(encoder.Write(sink), output::PngError) << image.width << " x " << image.height;
        EXPECT_TRUE(sink.Bytes().empty());
    }
    output::PngEncoder encoder;
    encoder.TakeImage({1, 1, nullptr});
    output::MemorySink sink;
    EXPECT_THROW(encoder.Write(sink), output::ImageError);
    EXPECT_TRUE(sink.Bytes().empty());
}

TEST(PngEncoder, RejectsNegativeSides) {
    output::PngEncoder encoder;
    EXPECT_THROW(encoder.TakeImage({-1, 1, nullptr}), output::ImageError);
    EXPECT_THROW(encoder.TakeImage({1, -1, nullptr}), output::ImageError);
}

// Tracks zlib's memory through the encoder's allocator hook.
struct CountingAllocator {
    static void* Allocate(void* opaque, unsigned int items, unsigned int size) {
        auto* self = static_cast<CountingAllocator*>(opaque);
        if (self->refuse) {
            return nullptr;
        }
        const std::size_t bytes = std::size_t{items} * size;
        void* address = std::malloc(bytes);
        if (address != nullptr) {
            self->live[address] = bytes;
            ++self->allocations;
        }
        return address;
    }
    static void Release(void* opaque, void* address) {
        auto* self = static_cast<CountingAllocator*>(opaque);
        self->live.erase(address);
        std::free(address);
    }
    output::DeflateAllocator Hook() { return {&Allocate, &Release, this}; }

    bool refuse = false;
    std::size_t allocations = 0;
    std::map<void*, std::size_t> live;
};

struct SinkFull : std::runtime_error {
    SinkFull() : std::runtime_error("sink full") {}
};

// Takes `room` bytes, then throws.
class LimitedSink : public output::ByteSink {
public:
    explicit LimitedSink(std::size_t room) : room_(room) {}
    void Write(const std::uint8_t*, std::size_t size) override {
        if (size > room_) {
            throw SinkFull();
        }
        room_ -= size;
    }

private:
    std::size_t room_;
};

TEST(PngEncoder, SinkFailureReleasesZlibMemoryAndPassesThrough) {
    const TestImage image = testimages::NoiseImage(300, 250, 5);
    const std::size_t fileSize = Encode(image.View()).size();
    // Fail in the signature, in IHDR, in the first and a later IDAT, in IEND.
    const std::size_t rooms[] = {0, 20, 100, 65535 * 2 + 40, fileSize - 1};
    for (std::size_t room : rooms) {
        CountingAllocator memory;
        output::PngEncoder encoder(memory.Hook());
        encoder.TakeImage(image.View());
        LimitedSink sink(room);
        EXPECT_THROW(encoder.Write(sink), SinkFull) << "room " << room;
        EXPECT_GT(memory.allocations, 0u);
        EXPECT_TRUE(memory.live.empty()) << "room " << room;
    }
}

TEST(PngEncoder, NoMemoryForZlibThrowsBeforeWriting) {
    CountingAllocator memory;
    memory.refuse = true;
    output::PngEncoder encoder(memory.Hook());
    const TestImage image(4, 4, {1, 2, 3});
    encoder.TakeImage(image.View());
    output::MemorySink sink;
    EXPECT_THROW(encoder.Write(sink), std::bad_alloc);
    EXPECT_TRUE(sink.Bytes().empty());
}

} // namespace
