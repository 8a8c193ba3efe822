// The IDAT chunking rule, driven with plain byte streams: every chunk but the
// last holds exactly 65535 bytes, none is empty, the data comes out in order,
// and each chunk's CRC is right when checked by an independent CRC-32.
#include "output/IdatWriter.h"
#include "output/PngError.h"

#include "tests/support/PngChunks.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using pngchunks::Bytes;

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

// The chunks the writer produced; the signature is put in front only to
// reuse the file reader.
std::vector<pngchunks::Chunk> Chunks(const output::MemorySink& sink) {
    Bytes file = pngchunks::Signature;
    file.insert(file.end(), sink.Bytes().begin(), sink.Bytes().end());
    return pngchunks::ParseChunks(file);
}

struct ChunkingCase {
    std::size_t total;
    std::vector<std::size_t> chunkSizes;
};

void PrintTo(const ChunkingCase& c, std::ostream* out) {
    *out << c.total << " bytes";
}

class IdatChunkingTest : public testing::TestWithParam<ChunkingCase> {};

TEST_P(IdatChunkingTest, CutsStreamIntoFullChunksAndRest) {
    const ChunkingCase& c = GetParam();
    const Bytes data = Pattern(c.total);
    // The same stream in one piece and in uneven pieces that straddle the
    // chunk boundaries must give the same chunks.
    const std::vector<std::vector<std::size_t>> splits = {{c.total},
                                                          {1, 7, 40000, 65535, 3, 65534, 2}};
    for (const auto& split : splits) {
        output::MemorySink sink;
        output::IdatWriter writer(sink);
        std::size_t at = 0;
        for (std::size_t i = 0; at < data.size(); ++i) {
            const std::size_t piece = std::min(split[i % split.size()], data.size() - at);
            writer.Append(data.data() + at, piece);
            at += piece;
        }
        writer.Finish();

        const auto chunks = Chunks(sink);
        std::vector<std::size_t> sizes;
        for (const auto& chunk : chunks) {
            EXPECT_EQ(chunk.type, "IDAT");
            EXPECT_EQ(chunk.storedCrc, pngchunks::ReferenceChunkCrc(chunk.type, chunk.data));
            sizes.push_back(chunk.data.size());
        }
        EXPECT_EQ(sizes, c.chunkSizes) << "pieces of " << split.front();
        EXPECT_EQ(pngchunks::JoinIdat(chunks), data);
    }
}

INSTANTIATE_TEST_SUITE_P(Totals, IdatChunkingTest,
                         testing::Values(ChunkingCase{150000, {65535, 65535, 18930}},
                                         ChunkingCase{131070, {65535, 65535}},
                                         ChunkingCase{65535, {65535}},
                                         ChunkingCase{65536, {65535, 1}}, ChunkingCase{1, {1}},
                                         ChunkingCase{0, {}}));

TEST(IdatWriter, FullBufferGoesOutAtOnceWhenFilledInPlace) {
    output::MemorySink sink;
    output::IdatWriter writer(sink);
    ASSERT_EQ(writer.FreeSize(), 65535u);
    std::memset(writer.FreeSpace(), 0x5A, 65000);
    writer.Commit(65000);
    EXPECT_TRUE(sink.Bytes().empty());
    EXPECT_EQ(writer.FreeSize(), 535u);
    std::memset(writer.FreeSpace(), 0x5A, 535);
    writer.Commit(535);
    EXPECT_EQ(sink.Bytes().size(), 12u + 65535u); // before Finish
    EXPECT_EQ(writer.FreeSize(), 65535u);
    writer.Finish();
    EXPECT_EQ(sink.Bytes().size(), 12u + 65535u); // nothing left: no empty chunk
    const auto chunks = Chunks(sink);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].data, Bytes(65535, 0x5A));
}

TEST(IdatWriter, CommitBeyondBufferIsRejected) {
    output::MemorySink sink;
    output::IdatWriter writer(sink);
    writer.Commit(65000);
    EXPECT_THROW(writer.Commit(536), output::PngError);
}

} // namespace
