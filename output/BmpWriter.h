// Writes the held image as an uncompressed 24-bit Windows bitmap file: the
// 14-byte file header, the image's 40-byte description and its pixel storage
// copied unchanged, padding included.
#pragma once

#include "output/ByteSink.h"
#include "output/ImageView.h"

namespace output {

// Three writes, in order: file header, description, pixels. An image with a
// side of 0 has no pixels and writes nothing. Throws ImageError for an image
// the format cannot hold; a sink's exception passes through.
void WriteBmp(const ImageView& image, ByteSink& sink);

} // namespace output
