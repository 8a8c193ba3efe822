// The PNG file, in order: signature, IHDR, the IDAT chunks, IEND. The rows go
// to the compressor top row first, which is the last row the held image
// stores. The compressor is opened before the first byte is written, so an
// encoder that cannot start leaves the sink untouched.
#include "output/PngEncoder.h"

#include "output/ByteOrder.h"
#include "output/DeflateStream.h"
#include "output/IdatWriter.h"
#include "output/PngChunk.h"
#include "output/PngError.h"
#include "output/SubFilter.h"

#include <array>
#include <vector>

namespace output {
namespace {

constexpr std::array<std::uint8_t, 8> Signature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

void WriteHeader(ByteSink& sink, const ImageView& image) {
    std::array<std::uint8_t, 13> header{};
    StoreBigEndian32(header.data(), static_cast<std::uint32_t>(image.width));
    StoreBigEndian32(header.data() + 4, static_cast<std::uint32_t>(image.height));
    header[8] = 8;  // bits per sample
    header[9] = 2;  // truecolour
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering, here always Sub
    header[12] = 0; // not interlaced
    sink.Write(Signature.data(), Signature.size());
    WritePngChunk(sink, "IHDR", header.data(), header.size());
}

} // namespace

void PngEncoder::TakeImage(const ImageView& image) {
    DibStorageSize(image.width, image.height); // rejects negative and unaddressable sizes
    image_ = image;
}

void PngEncoder::Write(ByteSink& sink) {
    if (!image_) {
        throw PngError("no image to encode");
    }
    const ImageView image = *image_;
    if (image.width == 0 || image.height == 0) {
        throw PngError("a PNG image needs at least one pixel");
    }
    if (image.bits == nullptr) {
        throw ImageError("image has no pixels");
    }
    const std::size_t stride = DibStride(image.width);
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);

    DeflateStream deflate(allocator_ ? &*allocator_ : nullptr);
    std::vector<std::uint8_t> scanline(SubScanlineSize(width));
    IdatWriter idat(sink);

    WriteHeader(sink, image);
    // Filter byte and filtered row go to zlib in one call: the stream is the
    // same as feeding them separately, with half the calls.
    for (std::size_t row = 0; row < height; ++row) {
        const std::uint8_t* stored = image.bits + (height - 1 - row) * stride;
        BuildSubScanline(stored, width, scanline.data());
        deflate.Compress(scanline.data(), scanline.size(), idat);
    }
    deflate.Finish(idat);
    idat.Finish();
    WritePngChunk(sink, "IEND", nullptr, 0);
}

} // namespace output
