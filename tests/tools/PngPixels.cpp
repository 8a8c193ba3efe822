// Decodes a PNG file with libpng, a decoder that is not ours, and writes its
// pixels as raw 8-bit RGB rows top to bottom; prints "WIDTH HEIGHT". The
// Windows tests run it on the PNG a copy placed on the clipboard:
//   png-pixels IN.png OUT.rgb
// OUT.rgb appears whole or not at all (written aside, then renamed): a
// Windows program that starts a Linux one under Wine gets no handle to wait
// on, so it waits for the file.
#include "tests/support/LibpngReference.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: png-pixels IN.png OUT.rgb\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    try {
        const libpngref::Decoded decoded = libpngref::Decode(file);
        const std::string aside = std::string(argv[2]) + ".part";
        {
            std::ofstream out(aside, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(decoded.rgb.data()),
                      std::streamsize(decoded.rgb.size()));
            if (!out) {
                std::fprintf(stderr, "png-pixels: cannot write %s\n", aside.c_str());
                return 1;
            }
        }
        if (std::rename(aside.c_str(), argv[2]) != 0) {
            std::fprintf(stderr, "png-pixels: cannot rename %s\n", aside.c_str());
            return 1;
        }
        std::printf("%u %u\n", decoded.width, decoded.height);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "png-pixels: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
