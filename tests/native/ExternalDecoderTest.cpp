// Files read by programs that share no code with ours: pngcheck checks every
// chunk, CRC and the zlib stream of a PNG file; ImageMagick decodes PNG and
// BMP files to raw red-green-blue pixels, which must be the image's own.
#include "output/BmpWriter.h"
#include "output/PngEncoder.h"

#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using testimages::TestImage;

constexpr const char* PngCheck = "/usr/bin/pngcheck";
constexpr const char* Convert = "/usr/bin/convert";

struct CommandResult {
    int status;
    std::string output;
};

// The command's standard output and exit status; the command line says
// where its error output goes.
CommandResult RunCommand(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) != 0) {
        result.output.append(buffer, got);
    }
    result.status = pclose(pipe);
    return result;
}

std::filesystem::path ScratchFile(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(VARNEL_TEST_TMP) / "output";
    std::filesystem::create_directories(folder);
    return folder / name;
}

std::filesystem::path Save(const std::string& name, const output::MemorySink& sink) {
    const std::filesystem::path path = ScratchFile(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(sink.Bytes().data()),
               static_cast<std::streamsize>(sink.Bytes().size()));
    file.close();
    EXPECT_TRUE(file.good()) << path;
    return path;
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

Bytes DecodeWithImageMagick(const std::filesystem::path& path) {
    const CommandResult result =
        RunCommand(std::string(Convert) + " " + Quoted(path) + " -depth 8 rgb:- 2>/dev/null");
    EXPECT_EQ(result.status, 0) << path;
    return Bytes(result.output.begin(), result.output.end());
}

struct ImageCase {
    const char* name;
    TestImage (*make)();
};

const ImageCase Images[] = {
    {"OnePixel",
     [] {
         return TestImage(1, 1, {0x11, 0x22, 0x33});
     }},
    {"TwoByTwo", [] { return testimages::NoiseImage(2, 2, 1); }},
    {"Padded63", [] { return testimages::NoiseImage(63, 17, 2); }},
    {"OneColumn", [] { return testimages::NoiseImage(1, 500, 3); }},
    {"Screen626", [] { return testimages::ScreenshotImage(626, 415, 4); }},
    {"NoiseManyChunks", [] { return testimages::NoiseImage(701, 503, 5); }},
};

enum class Format { Png, Bmp };

// The file in the format, as our encoder or writer makes it.
output::MemorySink Encoded(const TestImage& image, Format format) {
    output::MemorySink sink;
    if (format == Format::Png) {
        output::PngEncoder encoder;
        encoder.TakeImage(image.View());
        encoder.Write(sink);
    } else {
        output::WriteBmp(image.View(), sink);
    }
    return sink;
}

void ExpectPngcheckPasses(const std::filesystem::path& path, const TestImage&) {
    const CommandResult result =
        RunCommand(std::string(PngCheck) + " -v " + Quoted(path) + " 2>&1");
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("No errors detected"), std::string::npos) << result.output;
}

void ExpectImageMagickGivesThePixels(const std::filesystem::path& path, const TestImage& image) {
    EXPECT_TRUE(DecodeWithImageMagick(path) == image.TopDownRgb());
}

// Every decoder that shares no code with ours: the program it runs, the
// format it is given, and what it must make of the file.
struct Decoder {
    const char* name;
    const char* program;
    Format format;
    void (*expect)(const std::filesystem::path&, const TestImage&);
};

const Decoder Decoders[] = {
    {"PngPassesPngcheck", PngCheck, Format::Png, ExpectPngcheckPasses},
    {"PngDecodesWithImageMagick", Convert, Format::Png, ExpectImageMagickGivesThePixels},
    {"BmpDecodesWithImageMagick", Convert, Format::Bmp, ExpectImageMagickGivesThePixels},
};

void PrintTo(const Decoder& d, std::ostream* out) {
    *out << d.name;
}
void PrintTo(const ImageCase& c, std::ostream* out) {
    *out << c.name;
}

using DecoderCase = std::tuple<Decoder, ImageCase>;

class ExternalDecoders : public testing::TestWithParam<DecoderCase> {};

TEST_P(ExternalDecoders, ReadOurFile) {
    const auto& [decoder, imageCase] = GetParam();
    if (access(decoder.program, X_OK) != 0) {
        FAIL() << decoder.program << " is not installed (the test set-up installs it)";
    }
    const TestImage image = imageCase.make();
    const char* extension = decoder.format == Format::Png ? ".png" : ".bmp";
    const auto path = Save(std::string(imageCase.name) + extension, Encoded(image, decoder.format));
    decoder.expect(path, image);
}

INSTANTIATE_TEST_SUITE_P(Images, ExternalDecoders,
                         testing::Combine(testing::ValuesIn(Decoders), testing::ValuesIn(Images)),
                         [](const testing::TestParamInfo<DecoderCase>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

} // namespace
