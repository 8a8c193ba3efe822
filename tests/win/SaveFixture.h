// What the save tests share: the real capture window with an image held as a
// capture leaves it (known pixels, output buttons enabled), a scratch folder
// of their own, the bytes each format's writer makes of the held image, and
// one call that runs a save command through the real save dialog.
#pragma once

#include "tests/win/FormFixture.h"
#include "tests/win/SaveDialogDriver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class SaveFormat { Bmp, Png };

namespace savetest {

using Bytes = std::vector<std::uint8_t>;

// Pixel painters, 0x00RRGGBB at (x, y): a different colour in every pixel of
// a small image; and noise, which no compressor can shrink.
std::uint32_t Gradient(int x, int y);
std::uint32_t Noise(int x, int y);

// "bmp" or "png": the save command's default extension.
std::wstring Extension(SaveFormat format);

// The whole file, or nothing when it cannot be read.
std::optional<Bytes> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const Bytes& bytes);
// The names of the files in a folder, sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// What the save command must write for the image: the BMP writer's or the
// PNG encoder's output, into memory.
Bytes EncodedBytes(SaveFormat format, const output::HeldImage& image);

// True when the dialog's chosen name is the typed one with the format's
// extension appended (lower case as the default extension gives it on
// Windows, upper case as some Wine versions take it from the filter's
// pattern), or the typed one as it is when it already has an extension.
// A name left without an extension is not accepted.
bool IsTypedNameWithExtension(const std::wstring& chosen, const std::wstring& typed,
                              SaveFormat format);

// Equal byte strings, or where they first differ.
::testing::AssertionResult SameBytes(const std::optional<Bytes>& actual, const Bytes& expected);

// A Unix path as Wine's Z: drive shows it, and back.
std::wstring WindowsPathOf(const std::wstring& unixPath);
std::string UnixPathOf(const std::wstring& windowsPath);

} // namespace savetest

class SaveCommandTest : public CaptureWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the held image by one of width x height painted by pixel, and
    // enables the output buttons as a capture does.
    void HoldImage(int width, int height, std::uint32_t (*pixel)(int x, int y));

    // Runs the save command of the format as the event dispatch runs a
    // button's handler, with the helper answering the dialog.
    wintest::SaveRun Save(SaveFormat format, const wintest::DialogAnswer& answer);

    // A path in this test's scratch folder.
    std::wstring In(const std::wstring& name) const { return folder + L"\\" + name; }

    // What a failed or cancelled save must leave as it was.
    struct FormState {
        int width = 0;
        int height = 0;
        savetest::Bytes pixels;
        bool copyEnabled = false;
        bool saveBmpEnabled = false;
        bool savePngEnabled = false;
        bool operator==(const FormState&) const = default;
    };
    FormState State() const;

    // The error display showed exactly the "cannot create" message for the
    // chosen path and the system's reason for code.
    void ExpectCannotCreate(const wintest::SaveRun& run, const std::wstring& chosen, DWORD code);

    std::wstring folder;
};
