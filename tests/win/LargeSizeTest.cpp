// Sizes at the boxes' maxima: what the system cannot give is shown on the
// error display, and the window stays as it was and keeps working.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/Snapshot.h"

// The largest typed size costs only what the screen shows: the system
// window and its buffer cover the part on the desktop, so nothing is
// refused, nothing is shown on the error display, and the size applies
// exactly.
TEST_F(CaptureWindowTest, TheLargestTypedSizeNeverCrashesOrHangs) {
    Form1->SetFocus(Form1->NBoxW);
    for (wchar_t c : std::wstring(L"999999")) {
        Form1->HostChar(c);
    }
    Form1->HostKeyDown(toolkit::Key::Enter, 0);
    Form1->SetFocus(Form1->NBoxH);
    for (wchar_t c : std::wstring(L"99999")) {
        Form1->HostChar(c);
    }
    Form1->HostKeyDown(toolkit::Key::Enter, 0);
    ASSERT_EQ(Form1->NBoxW->Text(), L"100000");
    ASSERT_EQ(Form1->NBoxH->Text(), L"10000");
    wintest::MessageBoxWatcher watcher;
    Form1->Dispatch([] { Form1->SetRectBtnClick(*Form1->SetRectBtn); });
    wintest::Pump(200);
    ASSERT_EQ(Form1->Scale, 1.0f) << "the sizes below are logical units at 96 DPI";
    for (const auto& box : watcher.Boxes()) {
        ADD_FAILURE() << "error display: " << box.text;
    }
    EXPECT_EQ(Form1->ClientWidth(), 100000);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + 10000);
    // The system window is the part of the window that lies on the desktop.
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(host->Handle(), &r));
    const toolkit::RectI screen = Form1->ScreenRect();
    EXPECT_EQ(r.left, std::max(screen.left, 0));
    EXPECT_EQ(r.top, std::max(screen.top, 0));
    EXPECT_EQ(r.right, std::min(screen.right, ::GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(r.bottom, std::min(screen.bottom, ::GetSystemMetrics(SM_CYSCREEN)));
    // Still usable: a smaller size applies.
    Form1->SetWindowBounds(100, 100, 300, TitleBar + 200);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Width(), 300);
}

TEST_F(CaptureWindowTest, ACaptureWhoseImageCannotBeHadLeavesTheWindowWhole) {
    // 70000 x 70000 pixels: more than a bitmap can describe.
    Form1->SetWindowBounds(0, 0, 70000, TitleBar + 70000);
    wintest::MessageBoxWatcher watcher;
    Form1->Dispatch([] { Form1->CutBtnClick(*Form1->CutBtn); });
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, L"システム リソース不足です.");
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + 70000) << "restored, not left collapsed";
    EXPECT_FALSE(Form1->CopyBtn->Enabled()) << "the outputs keep their state";
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_FALSE(Form1->BMP->HasPixels());
    // The program goes on: a normal capture works.
    Form1->SetWindowBounds(100, 100, 300, TitleBar + 200);
    Form1->CutBtnClick(*Form1->CutBtn);
    EXPECT_TRUE(Form1->BMP->HasPixels());
    EXPECT_TRUE(Form1->CopyBtn->Enabled());
}

TEST_F(CaptureWindowTest, ASnapshotThatCannotBeHadIsShownAndLeavesNoSnapshot) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    const long dcs = platform::UniqueHdc::Live();
    capture::Snapshot snapshot;
    snapshot.Take(capture::CurrentDesktop());
    ASSERT_NE(snapshot.Bitmap(), nullptr);
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1);
    // A desktop of 70000 x 70000 pixels: more than a bitmap can hold.
    const capture::ScreenRect huge{-35000, 0, 35000, 70000};
    wintest::MessageBoxWatcher watcher;
    Form1->Dispatch([&] { snapshot.Take(capture::Desktop{huge, {huge}}); });
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].caption, L"エラー");
    EXPECT_EQ(watcher.Boxes()[0].text, L"システム リソース不足です.");
    EXPECT_EQ(snapshot.Bitmap(), nullptr) << "the previous snapshot is given up first";
    EXPECT_EQ(snapshot.Width(), 0);
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
    EXPECT_EQ(platform::UniqueHdc::Live(), dcs);
    EXPECT_EQ(platform::WindowDc::Live(), 0);
    // A crop from no snapshot is white, and the program's own capture works.
    output::HeldImage image;
    capture::CropRegion(snapshot, {0, 0, 3, 2}, image);
    ASSERT_TRUE(image.HasPixels());
    const output::ImageView view = image.View();
    for (std::size_t i = 0; i < output::DibStorageSize(3, 2); ++i) {
        ASSERT_EQ(view.bits[i], 0xFF) << i;
    }
    Form1->SetWindowBounds(100, 100, 300, TitleBar + 200);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_TRUE(Form1->BMP->HasPixels());
}
