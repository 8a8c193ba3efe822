// libpng as an independent reference for the PNG encoder: an encoder set to
// the same choices (Sub filter only, level 7, default strategy, window bits
// 15, memory level 8, a 65535-byte compression buffer, no ancillary chunks)
// and a decoder back to red-green-blue pixels. Native tests and benchmarks
// only: it needs libpng.
#pragma once

#include "output/ByteSink.h"
#include "output/ImageView.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace libpngref {
namespace detail {

inline void WriteToSink(png_structp png, png_bytep data, std::size_t size) {
    static_cast<output::ByteSink*>(png_get_io_ptr(png))->Write(data, size);
}

inline void NoFlush(png_structp) {}

// A libpng error longjmps back into this frame, so it holds only locals
// without destructors.
inline bool EncodeOrFail(const output::ImageView& image, std::size_t stride,
                         output::ByteSink* sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, &WriteToSink, &NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 7);
    // Without this libpng picks Z_FILTERED for filtered rows.
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_compression_mem_level(png, 8);
    png_set_compression_buffer_size(png, 65535);
    png_write_info(png, info);
    png_set_bgr(png);
    for (std::int32_t row = 0; row < image.height; ++row) {
        const auto stored = static_cast<std::size_t>(image.height - 1 - row);
        png_write_row(png, image.bits + stored * stride);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace detail

inline void Encode(const output::ImageView& image, output::ByteSink& sink) {
    if (!detail::EncodeOrFail(image, output::DibStride(image.width), &sink)) {
        throw std::runtime_error("libpng could not encode the image");
    }
}

struct Decoded {
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t fileFormat; // libpng's PNG_FORMAT_* of the file itself
    std::vector<std::uint8_t> rgb;
};

inline Decoded Decode(const std::vector<std::uint8_t>& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        throw std::runtime_error(std::string("libpng cannot read the file: ") + image.message);
    }
    Decoded decoded{image.width, image.height, image.format, {}};
    image.format = PNG_FORMAT_RGB;
    decoded.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr)) {
        throw std::runtime_error(std::string("libpng cannot decode the file: ") + image.message);
    }
    return decoded;
}

} // namespace libpngref
