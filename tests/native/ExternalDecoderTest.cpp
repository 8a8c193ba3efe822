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

void PrintTo(const ImageCase& c, std::ostream* out) {
    *out << c.name;
}

class ExternalDecoders : public testing::TestWithParam<ImageCase> {};

TEST_P(ExternalDecoders, PngPassesPngcheck) {
    if (access(PngCheck, X_OK) != 0) {
        FAIL() << PngCheck << " is not installed (the test set-up installs it)";
    }
    const TestImage image = GetParam().make();
    output::PngEncoder encoder;
    encoder.TakeImage(image.View());
    output::MemorySink sink;
    encoder.Write(sink);
    const auto path = Save(std::string(GetParam().name) + ".png", sink);

    const CommandResult result =
        RunCommand(std::string(PngCheck) + " -v " + Quoted(path) + " 2>&1");
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("No errors detected"), std::string::npos) << result.output;
}

TEST_P(ExternalDecoders, PngDecodesWithImageMagick) {
    if (access(Convert, X_OK) != 0) {
        FAIL() << Convert << " is not installed (the test set-up installs it)";
    }
    const TestImage image = GetParam().make();
    output::PngEncoder encoder;
    encoder.TakeImage(image.View());
    output::MemorySink sink;
    encoder.Write(sink);
    const auto path = Save(std::string(GetParam().name) + ".png", sink);
    EXPECT_TRUE(DecodeWithImageMagick(path) == image.TopDownRgb());
}

TEST_P(ExternalDecoders, BmpDecodesWithImageMagick) {
    if (access(Convert, X_OK) != 0) {
        FAIL() << Convert << " is not installed (the test set-up installs it)";
    }
    const TestImage image = GetParam().make();
    output::MemorySink sink;
    output::WriteBmp(image.View(), sink);
    const auto path = Save(std::string(GetParam().name) + ".bmp", sink);
    EXPECT_TRUE(DecodeWithImageMagick(path) == image.TopDownRgb());
}

INSTANTIATE_TEST_SUITE_P(
    Images, ExternalDecoders,
    testing::Values(ImageCase{"OnePixel",
                              [] {
                                  return TestImage(1, 1, {0x11, 0x22, 0x33});
                              }},
                    ImageCase{"TwoByTwo", [] { return testimages::NoiseImage(2, 2, 1); }},
                    ImageCase{"Padded63", [] { return testimages::NoiseImage(63, 17, 2); }},
                    ImageCase{"OneColumn", [] { return testimages::NoiseImage(1, 500, 3); }},
                    ImageCase{"Screen626", [] { return testimages::ScreenshotImage(626, 415, 4); }},
                    ImageCase{"NoiseManyChunks",
                              [] { return testimages::NoiseImage(701, 503, 5); }}),
    [](const testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

} // namespace
