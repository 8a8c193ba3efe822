// Repeated use leaks nothing: after 200 captures and copies the program
// holds as many GDI and USER objects, images and kernel handles as after
// the first. GetGuiResources says nothing under Wine, so the objects are
// counted where they are made, in the platform layer's handle types.
#include "tests/win/FormFixture.h"
#include "tests/win/SaveDialogDriver.h"
#include "tests/win/WinTestSupport.h"

namespace {

struct Census {
    long dcs = platform::UniqueHdc::Live();
    long bitmaps = platform::UniqueHbitmap::Live();
    long palettes = platform::UniqueHpalette::Live();
    long windows = platform::UniqueHwnd::Live();
    long borrowedDcs = platform::WindowDc::Live();
    long images = output::HeldImage::LiveCount();
    DWORD handles = [] {
        DWORD count = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &count);
        return count;
    }();
};

} // namespace

TEST_F(CaptureWindowTest, TwoHundredCapturesAndCopiesLeakNothing) {
    Form1->SetWindowBounds(120, 140, 64, TitleBar + 48);
    auto round = [] {
        Form1->CutBtnClick(*Form1->CutBtn);
        Form1->CopyBtnClick(*Form1->CopyBtn);
    };
    round(); // the first use makes what is kept: the snapshot, the clipboard window
    const Census before;
    for (int i = 0; i < 200; ++i) {
        round();
    }
    const Census after;
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.palettes, before.palettes);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.borrowedDcs, 0);
    EXPECT_EQ(after.images, before.images);
    EXPECT_EQ(after.images, 1);
    EXPECT_LE(after.handles, before.handles + 4) << "kernel handles grow with use";
}

TEST_F(CaptureWindowTest, TwoHundredSavesThroughTheDialogLeakNothing) {
    Form1->SetWindowBounds(120, 140, 64, TitleBar + 48);
    Form1->CutBtnClick(*Form1->CutBtn);
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring name = std::wstring(folder) + L"varnel-leak-save";
    auto save = [&](int i) {
        auto command = i % 2 == 0 ? [] { Form1->SaveBmpBtnClick(*Form1->SaveBmpBtn); }
                                  : [] { Form1->SavePngBtnClick(*Form1->SavePngBtn); };
        const wintest::SaveRun run = wintest::RunWithSaveDialog(command, {name, true});
        ASSERT_EQ(run.nameBoxes.size(), 1u);
        ASSERT_TRUE(run.boxes.empty());
    };
    save(0);
    save(1);
    const Census before;
    for (int i = 0; i < 200; ++i) {
        save(i);
    }
    const Census after;
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.borrowedDcs, 0);
    EXPECT_EQ(after.images, before.images);
    EXPECT_LE(after.handles, before.handles + 4) << "kernel handles grow with use";
    for (const wchar_t* suffix : {L".BMP", L".PNG", L".bmp", L".png", L""}) {
        ::DeleteFileW((name + suffix).c_str());
    }
}

TEST_F(CaptureWindowTest, ClosingTheWindowWithAnImageHeldFreesItsPixels) {
    // The held image gives its storage back to the window's spare when it
    // goes; the spare must still be there to take it and free it.
    Application.DestroyForms();
    const long bitmaps = platform::UniqueHbitmap::Live();
    const long images = output::HeldImage::LiveCount();
    Application.CreateForm(Form1);
    host = Application.HostOf(*Form1);
    ASSERT_NE(host, nullptr);
    host->Show();
    Form1->SetWindowBounds(120, 140, 64, TitleBar + 48);
    Form1->CutBtnClick(*Form1->CutBtn);
    Form1->CutBtnClick(*Form1->CutBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_TRUE(Form1->BMP->HasPixels());
    Application.DestroyForms();
    Form1 = nullptr;
    EXPECT_EQ(output::HeldImage::LiveCount(), images);
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps) << "the image's pixels outlived the window";
}
