// The PNG a copy announces beside the bitmap: made only when a program asks
// for it, decoded by libpng (the native tool png-pixels) to exactly the
// copied pixels, made before the program ends, never of a later capture,
// and nothing of it when its encoding fails.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "output/Clipboard.h"
#include "output/ClipboardOwner.h"
#include "platform/ClipboardScope.h"
#include "platform/GlobalMemory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>

namespace {

// A picture with a different colour in nearly every pixel; `seed` makes
// another one of the same size.
void PaintPicture(output::HeldImage& image, int seed) {
    const output::PixelView pixels = image.Pixels();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = output::PictureRow(pixels, y);
        for (int x = 0; x < image.Width(); ++x) {
            row[3 * x] = std::uint8_t(x * 7 + y + seed);       // blue
            row[3 * x + 1] = std::uint8_t(y * 5 + seed * 3);   // green
            row[3 * x + 2] = std::uint8_t(x * 4 ^ (y + seed)); // red
        }
    }
}

// The held image's pixels as raw RGB rows, top row first: what a decoder
// of its PNG must give.
std::vector<std::uint8_t> RgbOf(const output::ImageView& image) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = output::PictureRow(image, y);
        for (int x = 0; x < image.width; ++x) {
            rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        }
    }
    return rgb;
}

std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    const platform::ClipboardScope clipboard(nullptr);
    for (UINT format = ::EnumClipboardFormats(0); format != 0;
         format = ::EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    return formats;
}

bool Holds(const std::vector<UINT>& formats, UINT format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

// The clipboard's PNG as another program reads it: rendered on request
// when it is still promised. Nothing when there is none.
std::optional<std::vector<std::uint8_t>> ClipboardPng() {
    const platform::ClipboardScope clipboard(nullptr);
    if (!clipboard) {
        return std::nullopt;
    }
    HANDLE data = ::GetClipboardData(output::PngClipboardFormat());
    if (data == nullptr) {
        return std::nullopt;
    }
    const platform::GlobalLockScope locked(data);
    if (!locked) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(locked.get());
    return std::vector<std::uint8_t>(bytes, bytes + locked.Size());
}

// libpng's pixels of a PNG file, raw RGB top row first, through the native
// tool that the Windows build builds for its tests (a Linux program, which
// Wine starts as any other, though without a handle to wait on: the tool
// makes its output appear whole, and the test waits for it).
std::optional<std::vector<std::uint8_t>> DecodedByLibpng(const std::vector<std::uint8_t>& png) {
    std::wstring tool = wintest::Environment(L"VARNEL_PNG_PIXELS");
    if (tool.empty()) {
        const std::string built = VARNEL_BINARY_DIR "/tests/tools-native/png-pixels";
        tool.assign(built.begin(), built.end());
    }
    // One folder both sides name: Linux's path, and Wine's drive Z: for it.
    auto windows = [](std::wstring path) {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return L"Z:" + path;
    };
    const std::string base = VARNEL_BINARY_DIR "/clipboard-png";
    const std::wstring folder(base.begin(), base.end());
    ::CreateDirectoryW(windows(folder).c_str(), nullptr);
    const std::wstring in = folder + L"/clipboard.png";
    const std::wstring out = folder + L"/clipboard.rgb";
    {
        std::ofstream file(std::filesystem::path(windows(in)), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    ::DeleteFileW(windows(out).c_str());
    wintest::ChildProcess decoder(L"\"" + windows(tool) + L"\" " + in + L" " + out);
    const bool decoded = wintest::WaitFor(
        [&] { return ::GetFileAttributesW(windows(out).c_str()) != INVALID_FILE_ATTRIBUTES; },
        30000);
    if (!decoded) {
        ADD_FAILURE() << "libpng gave no pixels of the clipboard's PNG";
        return std::nullopt;
    }
    return wintest::ReadFileBytes(windows(out));
}

// Renders with the program's encoder and counts the renders.
struct CountedRendering {
    CountedRendering() : previous(output::ReplacePngRendering(&Render)) { renders = 0; }
    ~CountedRendering() { output::ReplacePngRendering(previous); }
    static void Render(const output::ImageView& image, output::ByteSink& sink) {
        ++renders;
        output::EncodePng(image, sink);
    }
    static inline int renders = 0;
    output::PngRendering previous;
};

class ClipboardPngTest : public CaptureWindowTest {
protected:
    // The form's held image, 61 x 47 (rows with padding), painted; its
    // storage taken from and given back to the spare, as captures do.
    void HoldPicture(int seed) {
        Form1->BMP = std::make_unique<output::HeldImage>(&spare);
        Form1->BMP->SetSize(61, 47);
        PaintPicture(*Form1->BMP, seed);
    }

    // Outlives the form's images, which the fixture's tear-down releases.
    output::SpareImageStorage spare;
};

} // namespace

TEST_F(ClipboardPngTest, CopyPromisesAPngMadeOnlyWhenAskedThatDecodesToTheHeldPixels) {
    const CountedRendering counted;
    HoldPicture(1);
    const std::vector<std::uint8_t> expected = RgbOf(Form1->BMP->View());
    Form1->CopyBtnClick(*Form1->CopyBtn);

    const std::vector<UINT> formats = ClipboardFormats();
    EXPECT_TRUE(Holds(formats, CF_BITMAP));
    EXPECT_TRUE(Holds(formats, output::PngClipboardFormat()));
    EXPECT_FALSE(Holds(formats, CF_PALETTE)) << "a 24-bit screen needs no palette";
    EXPECT_EQ(CountedRendering::renders, 0) << "a copy encodes nothing until a program asks";

    const std::optional<std::vector<std::uint8_t>> png = ClipboardPng();
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(CountedRendering::renders, 1);
    EXPECT_FALSE(output::PngPromised()) << "a rendered PNG keeps no picture";
    // The same file as the save command writes.
    output::MemorySink saved;
    output::EncodePng(Form1->BMP->View(), saved);
    EXPECT_EQ(*png, saved.Bytes());
    EXPECT_EQ(DecodedByLibpng(*png), std::optional(expected));
    // Rendered once: a second reader gets the same bytes without a render.
    EXPECT_EQ(ClipboardPng(), png);
    EXPECT_EQ(CountedRendering::renders, 1);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(ClipboardPngTest, ALaterCaptureNeverChangesTheCopiedPicture) {
    const CountedRendering counted;
    // Images of one size, as repeated captures of one viewfinder: the
    // second would reuse the first one's storage if it were free.
    HoldPicture(1);
    const std::vector<std::uint8_t> copied = RgbOf(Form1->BMP->View());
    Form1->CopyBtnClick(*Form1->CopyBtn);
    HoldPicture(2);
    ASSERT_NE(RgbOf(Form1->BMP->View()), copied);
    Form1->BMP.reset();
    HoldPicture(3);
    EXPECT_EQ(CountedRendering::renders, 0);

    const std::optional<std::vector<std::uint8_t>> png = ClipboardPng();
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(DecodedByLibpng(*png), std::optional(copied));
}

TEST_F(ClipboardPngTest, ClosingTheWindowMakesThePngSoItOutlivesTheProgram) {
    const CountedRendering counted;
    HoldPicture(4);
    const std::vector<std::uint8_t> expected = RgbOf(Form1->BMP->View());
    Form1->CopyBtnClick(*Form1->CopyBtn);
    EXPECT_EQ(CountedRendering::renders, 0);
    Form1->ExitBtnClick(*Form1->ExitBtn);
    ASSERT_TRUE(wintest::WaitFor([] { return Form1->BMP == nullptr; }, 5000));
    EXPECT_EQ(CountedRendering::renders, 1) << "the PNG is made before the program ends";
    EXPECT_FALSE(output::PngPromised());

    // Nothing is left to render it: what is read is what was placed.
    const std::optional<std::vector<std::uint8_t>> png = ClipboardPng();
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(CountedRendering::renders, 1);
    EXPECT_EQ(DecodedByLibpng(*png), std::optional(expected));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(ClipboardPngTest, EmptyingTheClipboardDropsThePromiseAndItsPicture) {
    const CountedRendering counted;
    HoldPicture(5);
    Form1->CopyBtnClick(*Form1->CopyBtn);
    ASSERT_TRUE(output::PngPromised());
    const std::shared_ptr<const platform::DibSection> pixels = Form1->BMP->SharedPixels();
    EXPECT_EQ(pixels.use_count(), 3) << "the image, the promise and this test";
    {
        const platform::ClipboardScope clipboard(nullptr);
        ASSERT_TRUE(clipboard);
        ::EmptyClipboard();
    }
    EXPECT_FALSE(output::PngPromised());
    EXPECT_EQ(pixels.use_count(), 2);
    EXPECT_FALSE(::IsClipboardFormatAvailable(output::PngClipboardFormat()));
    EXPECT_EQ(CountedRendering::renders, 0);
}

TEST_F(ClipboardPngTest, AFailedEncodingRendersNothingAndLeavesTheBitmap) {
    const output::PngRendering previous =
        output::ReplacePngRendering([](const output::ImageView&, output::ByteSink& sink) {
            const std::uint8_t start[] = {0x89, 'P', 'N', 'G'};
            sink.Write(start, sizeof start);
            throw std::bad_alloc();
        });
    HoldPicture(6);
    Form1->CopyBtnClick(*Form1->CopyBtn);
    const long blocks = platform::UniqueHglobal::Live();
    EXPECT_EQ(ClipboardPng(), std::nullopt);
    output::ReplacePngRendering(previous);
    EXPECT_EQ(platform::UniqueHglobal::Live(), blocks);
    const platform::ClipboardScope clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    EXPECT_NE(::GetClipboardData(CF_BITMAP), nullptr) << "the bitmap stays the copy";
}
