#include "tests/win/SaveFixture.h"

#include "output/BmpWriter.h"
#include "output/ByteSink.h"
#include "output/PngEncoder.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace savetest {

std::uint32_t Gradient(int x, int y) {
    return (std::uint32_t(x * 4 & 255) << 16) | (std::uint32_t(y * 5 & 255) << 8) |
           std::uint32_t((x * 7 + y) & 255);
}

std::uint32_t Noise(int x, int y) {
    std::uint32_t h = std::uint32_t(x) * 0x9E3779B1u ^ std::uint32_t(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h & 0xFFFFFF;
}

std::wstring Extension(SaveFormat format) {
    return format == SaveFormat::Bmp ? L"bmp" : L"png";
}

std::optional<Bytes> ReadFileBytes(const std::wstring& path) {
    return wintest::ReadFileBytes(path);
}

void WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
    FILE* file = ::_wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr) << UnixPathOf(path);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

Bytes EncodedBytes(SaveFormat format, const output::HeldImage& image) {
    output::MemorySink sink;
    if (format == SaveFormat::Bmp) {
        output::WriteBmp(image.View(), sink);
    } else {
        output::PngEncoder encoder;
        encoder.TakeImage(image.View());
        encoder.Write(sink);
    }
    return sink.Bytes();
}

bool IsTypedNameWithExtension(const std::wstring& chosen, const std::wstring& typed,
                              SaveFormat format) {
    std::wstring upper = Extension(format);
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    if (chosen == typed + L"." + Extension(format) || chosen == typed + L"." + upper) {
        return true;
    }
    // A typed name that has an extension of its own may be kept as it is
    // (Windows and Wine 10 keep "shot.png"; Wine 8 makes it "shot.png.PNG"),
    // but never a name that has none.
    const std::size_t name = chosen.find_last_of(L"\\/") + 1;
    const std::size_t dot = chosen.find_last_of(L'.');
    return chosen == typed && dot != std::wstring::npos && dot > name && dot + 1 < chosen.size();
}

::testing::AssertionResult SameBytes(const std::optional<Bytes>& actual, const Bytes& expected) {
    if (!actual) {
        return ::testing::AssertionFailure() << "the file cannot be read";
    }
    const std::size_t common = std::min(actual->size(), expected.size());
    const auto mismatch =
        std::mismatch(actual->begin(), actual->begin() + common, expected.begin());
    if (mismatch.first == actual->begin() + common && actual->size() == expected.size()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream why;
    why << actual->size() << " bytes instead of " << expected.size();
    if (mismatch.first != actual->begin() + common) {
        why << ", first different byte at offset " << (mismatch.first - actual->begin());
    }
    return ::testing::AssertionFailure() << why.str();
}

std::wstring WindowsPathOf(const std::wstring& unixPath) {
    std::wstring path = L"Z:" + unixPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    std::string path;
    const std::size_t start = windowsPath.rfind(L"Z:", 0) == 0 ? 2 : 0;
    for (std::size_t i = start; i < windowsPath.size(); ++i) {
        const wchar_t c = windowsPath[i];
        path += c == L'\\' ? '/' : c < 0x80 ? char(c) : '?';
    }
    return path;
}

} // namespace savetest

void SaveCommandTest::SetUp() {
    CaptureWindowTest::SetUp();
    static int made = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"varnel-save-" + std::to_wstring(::GetCurrentProcessId()) +
             L"-" + std::to_wstring(++made);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << ::GetLastError();
}

void SaveCommandTest::TearDown() {
    for (const std::wstring& name : savetest::FilesIn(folder)) {
        ::DeleteFileW(In(name).c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
    CaptureWindowTest::TearDown();
}

void SaveCommandTest::HoldImage(int width, int height, std::uint32_t (*pixel)(int x, int y)) {
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(width, height);
    // Painted in one call from a bottom-up 24-bit picture of its own, so the
    // fixture does not lean on the layout code it helps to test.
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    savetest::Bytes bits(stride * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixel(x, y);
            std::uint8_t* p = bits.data() + stride * (height - 1 - y) + std::size_t(x) * 3;
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    ASSERT_EQ(::SetDIBitsToDevice(Form1->BMP->DrawingDc(), 0, 0, width, height, 0, 0, 0, height,
                                  bits.data(), &info, DIB_RGB_COLORS),
              height);
    const output::ImageView view = Form1->BMP->View();
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (i % stride < std::size_t(width) * 3) {
            ASSERT_EQ(view.bits[i], bits[i]) << "the painting did not land, byte " << i;
        }
    }
    Form1->CopyBtn->SetEnabled(true);
    Form1->SaveBmpBtn->SetEnabled(true);
    Form1->SavePngBtn->SetEnabled(true);
}

wintest::SaveRun SaveCommandTest::Save(SaveFormat format, const wintest::DialogAnswer& answer) {
    return wintest::RunWithSaveDialog(
        [format] {
            Form1->Dispatch([format] {
                if (format == SaveFormat::Bmp) {
                    Form1->SaveBmpBtnClick(*Form1->SaveBmpBtn);
                } else {
                    Form1->SavePngBtnClick(*Form1->SavePngBtn);
                }
            });
        },
        answer);
}

SaveCommandTest::FormState SaveCommandTest::State() const {
    FormState state;
    if (Form1->BMP) {
        state.width = Form1->BMP->Width();
        state.height = Form1->BMP->Height();
        if (Form1->BMP->HasPixels()) {
            const output::ImageView view = Form1->BMP->View();
            state.pixels.assign(view.bits,
                                view.bits + output::DibStorageSize(view.width, view.height));
        }
    }
    state.copyEnabled = Form1->CopyBtn->Enabled();
    state.saveBmpEnabled = Form1->SaveBmpBtn->Enabled();
    state.savePngEnabled = Form1->SavePngBtn->Enabled();
    return state;
}

void SaveCommandTest::ExpectCannotCreate(const wintest::SaveRun& run, const std::wstring& chosen,
                                         DWORD code) {
    const std::wstring reason = platform::SystemErrorText(code);
    ASSERT_FALSE(reason.empty()) << "the system has no text for " << code;
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, L"エラー");
    EXPECT_TRUE(run.boxes[0].errorIcon);
    EXPECT_EQ(run.boxes[0].text,
              platform::ErrorDisplayText(platform::CannotCreateFileText(chosen, reason)))
        << "expected the reason for error " << code;
}
