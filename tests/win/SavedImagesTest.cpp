// A real capture of the known screen picture, saved with clicks on the save
// buttons through the real dialog as BMP and as PNG, one PNG under a name
// ending in ".bmp". The files, a raw dump of the held image's pixels and a
// list of what was saved go to the folder named in VARNEL_SAVE_FOLDER;
// scripts/check-saved-images.sh then has decoders that are not ours read the
// files back and compares their pixels with the dump. CTest runs this only
// through that script.
#include "tests/win/SaveFixture.h"

#include "output/ImageView.h"
#include "tests/support/ScreenPattern.h"

#include <cstdio>

namespace {

// Top row first, red, green, blue, no padding: ImageMagick's "rgb:" layout.
// Read from the held image's storage here, apart from both writers.
savetest::Bytes RgbRows(const output::HeldImage& image) {
    const output::ImageView view = image.View();
    const std::size_t stride = output::DibStride(view.width);
    savetest::Bytes rgb;
    for (int y = view.height - 1; y >= 0; --y) {
        const std::uint8_t* row = view.bits + stride * std::size_t(y);
        for (int x = 0; x < view.width; ++x) {
            rgb.push_back(row[x * 3 + 2]);
            rgb.push_back(row[x * 3 + 1]);
            rgb.push_back(row[x * 3]);
        }
    }
    return rgb;
}

// A click on a title bar button, delivered to the window as the mouse would.
void ClickOn(HWND window, const toolkit::Control& button) {
    const toolkit::RectI r = button.PhysicalRect();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
}

} // namespace

class SavedForDecodersHelper : public SaveCommandTest {};

TEST_F(SavedForDecodersHelper, CaptureSavedAsBmpAndPng) {
    const std::wstring unixFolder = wintest::Environment(L"VARNEL_SAVE_FOLDER");
    ASSERT_FALSE(unixFolder.empty()) << "run through scripts/check-saved-images.sh";
    const std::wstring out = savetest::WindowsPathOf(unixFolder);

    // Wide enough for every title bar button; 613 pixels make rows of 1839
    // bytes, padded by 1 in the held image.
    Form1->SetWindowBounds(37, 53, 613, TitleBar + 77);
    wintest::Pump(150);
    ClickOn(host->Handle(), *Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), int(613 * Form1->Scale));
    ASSERT_EQ(Form1->BMP->Height(), int(77 * Form1->Scale));
    ASSERT_TRUE(Form1->SaveBmpBtn->Enabled());
    // The known picture, not a blank screen: every pixel of the files differs.
    const savetest::Bytes rgb = RgbRows(*Form1->BMP);
    const std::uint32_t topLeft = std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
    ASSERT_EQ(topLeft, testpattern::ScreenPatternAt(Form1->itix, Form1->itiy));

    struct Saved {
        SaveFormat format;
        const toolkit::Control* button;
        const wchar_t* typed;
    };
    const Saved saves[] = {
        {SaveFormat::Bmp, Form1->SaveBmpBtn, L"capture"},
        {SaveFormat::Png, Form1->SavePngBtn, L"capture.png"},
        {SaveFormat::Png, Form1->SavePngBtn, L"capture-png.bmp"},
    };
    std::string manifest = "size " + std::to_string(Form1->BMP->Width()) + " " +
                           std::to_string(Form1->BMP->Height()) + "\n";
    for (const Saved& s : saves) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(s.typed)));
        const wintest::SaveRun run = wintest::RunWithSaveDialog(
            [&] { ClickOn(host->Handle(), *s.button); }, {out + L"\\" + s.typed});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        ASSERT_TRUE(run.boxes.empty());
        const std::wstring chosen = Form1->SaveDialog1.FileName;
        ASSERT_TRUE(savetest::IsTypedNameWithExtension(chosen, out + L"\\" + s.typed, s.format))
            << testing::PrintToString(chosen);
        manifest +=
            (s.format == SaveFormat::Bmp ? "bmp " : "png ") + savetest::UnixPathOf(chosen) + "\n";
    }

    savetest::WriteFileBytes(out + L"\\expected.rgb", rgb);
    // Written last: the script takes a manifest as the sign that all went well.
    savetest::WriteFileBytes(out + L"\\manifest.txt",
                             savetest::Bytes(manifest.begin(), manifest.end()));
}
