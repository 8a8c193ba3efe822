// Writes the pixels a capture must hold, as raw 8-bit RGB rows top to bottom,
// computed from the same formulas that drew them on the screen:
//   road-expect pattern X Y W H   the screen pattern from screen pixel (X, Y)
//   road-expect picture X Y W H   the second window's picture from its pixel (X, Y)
#include "tests/e2e/RoadPicture.h"
#include "tests/support/ScreenPattern.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 6 ||
        (std::strcmp(argv[1], "pattern") != 0 && std::strcmp(argv[1], "picture") != 0)) {
        std::fprintf(stderr, "usage: road-expect pattern|picture X Y W H\n");
        return 2;
    }
    const bool pattern = std::strcmp(argv[1], "pattern") == 0;
    const int x0 = std::atoi(argv[2]);
    const int y0 = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    if (width < 0 || height < 0) {
        std::fprintf(stderr, "road-expect: negative size\n");
        return 2;
    }
    std::vector<unsigned char> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pattern ? testpattern::ScreenPatternAt(x0 + x, y0 + y)
                                            : testpattern::RoadPictureAt(x0 + x, y0 + y);
            row[std::size_t(x) * 3] = (c >> 16) & 0xFF;
            row[std::size_t(x) * 3 + 1] = (c >> 8) & 0xFF;
            row[std::size_t(x) * 3 + 2] = c & 0xFF;
        }
        if (std::fwrite(row.data(), 1, row.size(), stdout) != row.size()) {
            return 1;
        }
    }
    return 0;
}
