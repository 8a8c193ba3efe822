// Writes the held image as a PNG file: 8-bit truecolour, not interlaced, no
// ancillary chunks; every row Sub-filtered and compressed by zlib at level 7;
// the compressed data cut into IDAT chunks of 65535 bytes and a last, shorter
// one. Made, given the image, asked to write, released: the order in which
// the save command uses it. It reads the image in the held image's own
// bottom-up blue-green-red layout, one row at a time, and holds one scanline
// and the 65535-byte output buffer besides zlib's state.
#pragma once

#include "output/ByteSink.h"
#include "output/DeflateAllocator.h"
#include "output/ImageView.h"

#include <optional>

namespace output {

class PngEncoder {
public:
    PngEncoder() = default;
    // zlib's memory comes from `allocator`.
    explicit PngEncoder(const DeflateAllocator& allocator) : allocator_(allocator) {}

    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // Keeps a view of the image, which must stay alive and unchanged until
    // the last Write. Throws ImageError for a negative side.
    void TakeImage(const ImageView& image);

    // Writes the whole file. Throws PngError when no image was taken or the
    // image has a side of 0 (nothing is written then), or when zlib fails;
    // std::bad_alloc when memory runs out; a sink's exception passes through.
    void Write(ByteSink& sink);

private:
    std::optional<ImageView> image_;
    std::optional<DeflateAllocator> allocator_;
};

} // namespace output
