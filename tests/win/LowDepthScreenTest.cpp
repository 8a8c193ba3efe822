// On a screen of fewer than 24 bits per pixel the held image carries a
// halftone palette, and the clipboard gets a copy of it beside the bitmap.
// Run on a 16-bit display of its own (see CMakeLists.txt).
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "output/ClipboardOwner.h"
#include "platform/ClipboardScope.h"
#include "platform/Gdi.h"

class LowDepthScreenHelper : public CaptureWindowTest {};

TEST_F(LowDepthScreenHelper, CopyPlacesTheBitmapAndAPaletteCopy) {
    const int depth = [] {
        const platform::WindowDc screen = platform::WindowDc::Client(nullptr);
        return ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    }();
    ASSERT_LT(depth, 24) << "needs a display below 24 bits per pixel";

    Form1->SetWindowBounds(100, 100, 40, TitleBar + 30);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    Form1->BMP->DrawingDc();
    ASSERT_NE(Form1->BMP->Palette(), nullptr);
    Form1->CopyBtnClick(*Form1->CopyBtn);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_PALETTE));
    // The PNG is promised beside them, of the held image's own 24-bit pixels.
    EXPECT_TRUE(::IsClipboardFormatAvailable(output::PngClipboardFormat()));
    const platform::ClipboardScope clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    auto* copy = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, Form1->BMP->Palette()) << "the clipboard gets its own copy";
    const UINT entries = ::GetPaletteEntries(Form1->BMP->Palette(), 0, 0, nullptr);
    EXPECT_EQ(::GetPaletteEntries(copy, 0, 0, nullptr), entries);
    // The held image keeps its own palette after the copy.
    EXPECT_NE(Form1->BMP->Palette(), nullptr);
}
