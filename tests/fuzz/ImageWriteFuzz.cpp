// Writes images of arbitrary sizes and pixels with both file writers and
// reads every file back with a decoder that is not ours: libpng for the PNG
// encoder, a BMP reader of this file's own for the BMP writer. The sizes
// come in three shapes (small, very wide rows, very tall columns), each
// with 0 on either side now and then; the pixels, padding included, come
// from the input and, where it runs short, from a generator seeded by it.
// Aborts when a file does not decode to exactly the image's pixels, or when
// an empty image writes anything or is not refused.
#include "output/BmpWriter.h"
#include "output/ByteSink.h"
#include "output/ImageView.h"
#include "output/PngEncoder.h"
#include "output/PngError.h"
#include "tests/support/LibpngReference.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The stride of a 24-bit BMP row, worked out here again rather than taken
// from the code under test.
std::size_t RowBytes(std::uint32_t width) {
    return (std::size_t(width) * 3 + 3) / 4 * 4;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

// An uncompressed 24-bit BMP back to red-green-blue rows, top row first,
// with each stored row's padding bytes alongside.
struct BmpPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;
    std::vector<std::uint8_t> padding;
};

BmpPicture ReadBmp(const std::vector<std::uint8_t>& file) {
    Check(file.size() >= 54, "BMP: shorter than its headers");
    Check(file[0] == 'B' && file[1] == 'M', "BMP: no BM signature");
    Check(Le32(file, 2) == file.size(), "BMP: bfSize is not the file's length");
    Check(Le16(file, 6) == 0 && Le16(file, 8) == 0, "BMP: reserved fields not 0");
    const std::uint32_t offset = Le32(file, 10);
    Check(Le32(file, 14) == 40, "BMP: not a BITMAPINFOHEADER");
    BmpPicture picture;
    picture.width = std::int32_t(Le32(file, 18));
    const std::int32_t height = std::int32_t(Le32(file, 22));
    Check(Le16(file, 26) == 1, "BMP: planes not 1");
    Check(Le16(file, 28) == 24, "BMP: not 24 bits per pixel");
    Check(Le32(file, 30) == 0, "BMP: compressed");
    Check(Le32(file, 46) == 0, "BMP: has a colour table");
    Check(picture.width > 0 && height != 0, "BMP: empty picture");
    const bool bottomUp = height > 0;
    picture.height = bottomUp ? height : -height;
    const std::size_t stride = RowBytes(std::uint32_t(picture.width));
    const std::size_t size = stride * std::size_t(picture.height);
    Check(offset >= 54 && offset <= file.size() && file.size() - offset == size,
          "BMP: pixel array is not stride x height bytes at the end");
    Check(Le32(file, 34) == 0 || Le32(file, 34) == size, "BMP: biSizeImage wrong");
    const std::size_t pad = stride - std::size_t(picture.width) * 3;
    for (std::int32_t row = 0; row < picture.height; ++row) {
        const std::size_t stored = bottomUp ? std::size_t(picture.height - 1 - row) : row;
        const std::uint8_t* p = file.data() + offset + stored * stride;
        for (std::int32_t x = 0; x < picture.width; ++x, p += 3) {
            picture.rgb.insert(picture.rgb.end(), {p[2], p[1], p[0]});
        }
        picture.padding.insert(picture.padding.end(), p, p + pad);
    }
    return picture;
}

struct Shape {
    std::int32_t width;
    std::int32_t height;
};

Shape PickShape(FuzzedDataProvider& data) {
    Shape shape{};
    switch (data.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: // small, where every padding length and tiny side shows
        shape = {data.ConsumeIntegralInRange<std::int32_t>(0, 64),
                 data.ConsumeIntegralInRange<std::int32_t>(0, 64)};
        break;
    case 1: // very wide rows: many IDAT chunks from a row or two
        shape = {data.ConsumeIntegralInRange<std::int32_t>(0, 200000),
                 data.ConsumeIntegralInRange<std::int32_t>(0, 3)};
        break;
    default: // very tall, narrow columns: many scanlines
        shape = {data.ConsumeIntegralInRange<std::int32_t>(0, 5),
                 data.ConsumeIntegralInRange<std::int32_t>(0, 8000)};
        break;
    }
    return shape;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const Shape shape = PickShape(data);
    std::uint64_t seed = data.ConsumeIntegral<std::uint64_t>();

    // The storage, padding included: the input's bytes first, then the
    // generator's.
    const std::size_t stride = RowBytes(std::uint32_t(shape.width));
    std::vector<std::uint8_t> storage(stride * std::size_t(shape.height));
    const std::vector<std::uint8_t> given = data.ConsumeRemainingBytes<std::uint8_t>();
    const std::size_t fromInput = std::min(given.size(), storage.size());
    if (fromInput > 0) {
        std::memcpy(storage.data(), given.data(), fromInput);
    }
    for (std::size_t i = fromInput; i < storage.size(); i += 8) {
        const std::uint64_t word = SplitMix(seed);
        std::memcpy(storage.data() + i, &word, std::min<std::size_t>(8, storage.size() - i));
    }
    const output::ImageView image{shape.width, shape.height,
                                  storage.empty() ? nullptr : storage.data()};
    const bool empty = shape.width == 0 || shape.height == 0;

    // What either file must give back: red-green-blue, top row first.
    std::vector<std::uint8_t> expected;
    std::vector<std::uint8_t> expectedPadding;
    expected.reserve(std::size_t(shape.width) * 3 * std::size_t(shape.height));
    for (std::int32_t row = 0; row < shape.height; ++row) {
        const std::uint8_t* p = storage.data() + std::size_t(shape.height - 1 - row) * stride;
        for (std::int32_t x = 0; x < shape.width; ++x, p += 3) {
            expected.insert(expected.end(), {p[2], p[1], p[0]});
        }
        expectedPadding.insert(expectedPadding.end(), p,
                               p + (stride - std::size_t(shape.width) * 3));
    }

    {
        output::MemorySink sink;
        output::WriteBmp(image, sink);
        if (empty) {
            Check(sink.Bytes().empty(), "BMP: an empty image wrote bytes");
        } else {
            const BmpPicture picture = ReadBmp(sink.Bytes());
            Check(picture.width == shape.width && picture.height == shape.height,
                  "BMP: size differs");
            Check(picture.rgb == expected, "BMP: pixels differ");
            Check(picture.padding == expectedPadding, "BMP: padding not copied unchanged");
        }
    }

    {
        output::MemorySink sink;
        output::PngEncoder encoder;
        encoder.TakeImage(image);
        if (empty) {
            bool refused = false;
            try {
                encoder.Write(sink);
            } catch (const output::PngError&) {
                refused = true;
            }
            Check(refused, "PNG: an empty image was not refused");
            Check(sink.Bytes().empty(), "PNG: an empty image wrote bytes");
        } else {
            encoder.Write(sink);
            libpngref::Decoded decoded{};
            try {
                decoded = libpngref::Decode(sink.Bytes());
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", error.what());
                Check(false, "PNG: libpng cannot read the file");
            }
            Check(decoded.width == std::uint32_t(shape.width) &&
                      decoded.height == std::uint32_t(shape.height),
                  "PNG: size differs");
            Check(decoded.fileFormat == PNG_FORMAT_RGB, "PNG: not 8-bit truecolour");
            Check(decoded.rgb == expected, "PNG: pixels differ");
        }
    }
    return 0;
}
