// A screen that cannot be read (the secure desktop, a locked or
// disconnected session): the failed copy is shown on the error display, no
// pixel of the capture before is handed back as a new one, and the next
// capture works. The screen is played by the copy call put in place for the
// test: one that shows a known colour, then one that fails.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/Snapshot.h"
#include "capture/WindowCapture.h"
#include "platform/ForegroundWindow.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/ScreenCopy.h"
#include "platform/SystemError.h"

namespace {

// What the screen showed at the capture before: one colour no real screen
// of the test session shows.
constexpr std::uint32_t Earlier = 0x123456;

BOOL WINAPI ShowEarlier(HDC target, int x, int y, int width, int height, HDC, int, int, DWORD) {
    const platform::SelectGuard brush(target, ::GetStockObject(DC_BRUSH));
    ::SetDCBrushColor(target, RGB(0x12, 0x34, 0x56));
    return ::PatBlt(target, x, y, width, height, PATCOPY);
}

DWORD failureCode = 0;

BOOL WINAPI FailToRead(HDC, int, int, int, int, HDC, int, int, DWORD) {
    ::SetLastError(failureCode);
    return FALSE;
}

struct FailingCopy {
    const char* what;
    DWORD code;
};

const FailingCopy FailingCopies[] = {
    {"the system gives no text", 0},
    {"access denied", ERROR_ACCESS_DENIED},
};

// The error display's text for a failed copy: the system's own, or the
// resource shortage when it has none.
std::wstring Shown(DWORD code) {
    const std::wstring system =
        code != 0 ? platform::TrimSystemText(platform::SystemErrorText(code)) : L"";
    return system.empty() ? L"システム リソース不足です." : platform::ErrorDisplayText(system);
}

int PixelsOf(const output::HeldImage& image, std::uint32_t colour) {
    if (!image.HasPixels()) {
        return 0;
    }
    int count = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            count += wintest::HeldPixel(image, x, y) == colour;
        }
    }
    return count;
}

} // namespace

TEST_F(CaptureWindowTest, ARegionCaptureOfAnUnreadableScreenIsShownAndHandsBackNothingEarlier) {
    Form1->SetWindowBounds(100, 100, 120, TitleBar + 80);
    {
        const platform::BlockCopyOverride screen(&ShowEarlier);
        Form1->CutBtnClick(*Form1->CutBtn);
    }
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(PixelsOf(*Form1->BMP, Earlier), 120 * 80) << "the earlier capture";

    for (const FailingCopy& c : FailingCopies) {
        SCOPED_TRACE(c.what);
        failureCode = c.code;
        wintest::MessageBoxWatcher watcher;
        {
            const platform::BlockCopyOverride screen(&FailToRead);
            Form1->Dispatch([] { Form1->CutBtnClick(*Form1->CutBtn); });
        }
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, L"エラー");
        EXPECT_EQ(watcher.Boxes()[0].text, Shown(c.code));
        if (Form1->BMP != nullptr) {
            EXPECT_EQ(PixelsOf(*Form1->BMP, Earlier), 0) << "the earlier capture handed back";
        }
        EXPECT_EQ(Form1->DesktopBitmap, nullptr) << "no snapshot is left to crop";
        EXPECT_EQ(Form1->ClientHeight(), TitleBar + 80) << "restored, not left collapsed";
    }

    // The program goes on: the next capture reads the real screen.
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_TRUE(Form1->BMP->HasPixels());
    EXPECT_EQ(Form1->BMP->Width(), 120);
    EXPECT_EQ(PixelsOf(*Form1->BMP, Earlier), 0);
    EXPECT_NE(Form1->DesktopBitmap, nullptr);
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
}

TEST_F(CaptureWindowTest, ASnapshotWhoseCopyFailsLeavesNothingToCrop) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    capture::Snapshot snapshot;
    const capture::Desktop desktop = capture::CurrentDesktop();
    {
        const platform::BlockCopyOverride screen(&ShowEarlier);
        snapshot.Take(desktop);
    }
    {
        output::HeldImage image;
        capture::CropRegion(snapshot, {0, 0, 4, 3}, image);
        ASSERT_EQ(PixelsOf(image, Earlier), 12);
    }

    for (const FailingCopy& c : FailingCopies) {
        SCOPED_TRACE(c.what);
        failureCode = c.code;
        {
            const platform::BlockCopyOverride screen(&FailToRead);
            EXPECT_THROW(snapshot.Take(desktop), platform::Error);
        }
        EXPECT_EQ(snapshot.Bitmap(), nullptr);
        EXPECT_EQ(snapshot.Width(), 0);
        EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps) << "its storage is given up";
        output::HeldImage cropped;
        capture::CropRegion(snapshot, {0, 0, 4, 3}, cropped);
        ASSERT_TRUE(cropped.HasPixels());
        EXPECT_EQ(PixelsOf(cropped, Earlier), 0);
        EXPECT_EQ(PixelsOf(cropped, 0xFFFFFF), 12) << "a crop from no snapshot is white";
    }
    EXPECT_EQ(platform::WindowDc::Live(), 0);

    snapshot.Take(desktop);
    EXPECT_NE(snapshot.Bitmap(), nullptr);
}

TEST_F(CaptureWindowTest, AWindowCopiedFromAnUnreadableScreenIsShownAndHoldsNothingEarlier) {
    // The capture window is layered, so its copy is read from the screen.
    HWND window = host->Handle();
    const std::optional<RECT> bounds = platform::WindowRect(window);
    ASSERT_TRUE(bounds);
    output::SpareImageStorage spare;
    {
        output::HeldImage image(&spare);
        const platform::BlockCopyOverride screen(&ShowEarlier);
        capture::CopyWindow(window, bounds, image);
        ASSERT_GT(image.Width(), 0);
        ASSERT_EQ(PixelsOf(image, Earlier), image.Width() * image.Height());
    }
    ASSERT_FALSE(spare.Empty()) << "the next image takes the earlier one's storage";

    for (const FailingCopy& c : FailingCopies) {
        SCOPED_TRACE(c.what);
        failureCode = c.code;
        output::HeldImage image(&spare);
        wintest::MessageBoxWatcher watcher;
        {
            const platform::BlockCopyOverride screen(&FailToRead);
            Form1->Dispatch([&] { capture::CopyWindow(window, bounds, image); });
        }
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].text, Shown(c.code));
        EXPECT_EQ(PixelsOf(image, Earlier), 0) << "the earlier capture handed back";
    }
    EXPECT_EQ(platform::WindowDc::Live(), 0);

    output::HeldImage image(&spare);
    capture::CopyWindow(window, bounds, image);
    EXPECT_TRUE(image.HasPixels());
    EXPECT_EQ(PixelsOf(image, Earlier), 0);
}
