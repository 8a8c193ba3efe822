// The clipboard copy, checked from another process: the picture read back
// as CF_DIB equals the held image; a clipboard held by another program gives
// the error and changes nothing; the title bar flashes yellow.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "output/BmpWriter.h"
#include "output/Clipboard.h"
#include "output/ClipboardOwner.h"
#include "output/FileSink.h"
#include "platform/ClipboardData.h"
#include "platform/ClipboardScope.h"
#include "platform/Error.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"
#include "toolkit/win32/ClipboardText.h"

#include <cstring>

namespace {

// A picture with a different colour in every pixel.
void PaintGradient(output::HeldImage& image) {
    HDC dc = image.DrawingDc();
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            ::SetPixelV(dc, x, y, RGB(x * 4, y * 5, (x * 7 + y) & 255));
        }
    }
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// Puts text on the clipboard, as the user's earlier copy in another
// program would have.
void PutText(const std::wstring& text) {
    const platform::ClipboardScope clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    platform::UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    ASSERT_TRUE(memory);
    {
        const platform::GlobalLockScope lock(memory.get());
        ASSERT_TRUE(lock);
        std::memcpy(lock.get(), text.c_str(), bytes);
    }
    ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, memory.get()), nullptr);
    memory.release();
}

} // namespace

// Started by the copy test as a second process: compares the clipboard's
// CF_DIB with the BMP file that the first process wrote of its held image.
TEST(ClipboardReaderHelper, DibEqualsTheFile) {
    const std::vector<std::uint8_t> file =
        wintest::ReadFileBytes(wintest::Environment(L"VARNEL_EXPECT_BMP"))
            .value_or(std::vector<std::uint8_t>{});
    ASSERT_GT(file.size(), 54u);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + 14);
    const std::optional<wintest::Picture> picture = wintest::ClipboardDib();
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, header->biWidth);
    ASSERT_EQ(picture->height, header->biHeight);
    // The file's pixels are the held image's layout as it stands.
    const output::ImageView expected{header->biWidth, header->biHeight, file.data() + 54};
    ASSERT_GE(file.size(), 54 + output::DibStorageSize(expected.width, expected.height));
    EXPECT_TRUE(wintest::SamePixels(
        picture->width, picture->height, [&](int x, int y) { return picture->At(x, y); },
        [&](int x, int y) { return wintest::PixelAt(expected, x, y); }));
}

// Started by the busy-clipboard test: holds the clipboard open until told.
TEST(ClipboardHolderHelper, HoldsTheClipboardUntilReleased) {
    const wintest::HelperSide side;
    ASSERT_TRUE(side.Opened());
    const platform::ClipboardScope clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    side.SayReady();
    EXPECT_TRUE(side.WaitForRelease());
}

TEST_F(CaptureWindowTest, CopyPutsAnEqualPictureOnTheClipboard) {
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(61, 47);
    PaintGradient(*Form1->BMP);
    const std::wstring expected = TempFile(L"varnel-clipboard-expected.bmp");
    {
        output::FileSink file(expected);
        output::WriteBmp(Form1->BMP->View(), file);
    }
    Form1->CopyBtnClick(*Form1->CopyBtn);
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_PALETTE)) << "a 24-bit screen needs no palette";

    // The copy is the system's own: releasing the held image keeps it.
    Form1->BMP.reset();
    EXPECT_TRUE(wintest::RunSelf(L"ClipboardReaderHelper.DibEqualsTheFile",
                                 {{L"VARNEL_EXPECT_BMP", expected}}));
    ::DeleteFileW(expected.c_str());
}

TEST_F(CaptureWindowTest, CopyFlashesTheTitleBarYellowThenSlateGrey) {
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(8, 8);
    // A message posted before the copy is handled while the copy processes
    // pending events, that is while the title bar shows the flash.
    static std::uint32_t seenFill = 0;
    static std::uint32_t seenOnScreen = 0;
    static TForm1* form = nullptr;
    static toolkit::win32::HostWindow* seenHost = nullptr;
    form = Form1;
    seenHost = host;
    const platform::UniqueHwnd probe(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0,
                                                       HWND_MESSAGE, nullptr, nullptr, nullptr));
    ::SetWindowLongPtrW(probe.get(), GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                            if (m == WM_APP + 7) {
                                seenFill = form->Rectangle2->FillColor();
                                // The repaint is pending before this message.
                                seenHost->RepaintIfPending();
                                seenOnScreen = seenHost->LastFrame().At(400, 18) & 0xFFFFFF;
                                return LRESULT(0);
                            }
                            return ::DefWindowProcW(w, m, wp, lp);
                        }));
    ::PostMessageW(probe.get(), WM_APP + 7, 0, 0);
    const DWORD start = ::GetTickCount();
    Form1->CopyBtnClick(*Form1->CopyBtn);
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(seenFill, 0xFFFFFF00u);
    EXPECT_EQ(seenOnScreen, 0xFFFF00u);
    EXPECT_GE(elapsed, 95u) << "the flash lasts at least 100 ms";
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
}

TEST_F(CaptureWindowTest, WithNoOrAnEmptyImageCopyLeavesTheClipboardAlone) {
    const DWORD before = ::GetClipboardSequenceNumber();
    Form1->CopyBtnClick(*Form1->CopyBtn); // no image
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(0, 10);
    Form1->CopyBtnClick(*Form1->CopyBtn); // empty image
    EXPECT_EQ(::GetClipboardSequenceNumber(), before);
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
}

// The output keeps the rule itself, whoever calls it: what the clipboard
// held before is still there, unopened.
TEST_F(CaptureWindowTest, CopyingAnEmptyImageTouchesNothing) {
    ASSERT_NO_FATAL_FAILURE(PutText(L"kept"));
    const DWORD before = ::GetClipboardSequenceNumber();
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}}) {
        output::HeldImage image;
        image.SetSize(w, h);
        output::CopyToClipboard(image);
    }
    EXPECT_EQ(::GetClipboardSequenceNumber(), before);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
}

TEST_F(CaptureWindowTest, ABusyClipboardGivesTheErrorAndStaysAsItWas) {
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(8, 8);
    wintest::OtherProgram holder(L"ClipboardHolderHelper.*");
    // The holder is ready only once it holds the clipboard.
    ASSERT_TRUE(holder.WaitUntilReady(30000));
    const DWORD before = ::GetClipboardSequenceNumber();
    {
        wintest::MessageBoxWatcher watcher;
        Form1->Dispatch([] { Form1->CopyBtnClick(*Form1->CopyBtn); });
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        const std::wstring& text = watcher.Boxes()[0].text;
        // The system's reason sits between the two halves, trimmed.
        const std::wstring head = L"クリップボード ";
        const std::wstring tail = L" を開けません.";
        ASSERT_GT(text.size(), head.size() + tail.size()) << testing::PrintToString(text);
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        const std::wstring reason =
            text.substr(head.size(), text.size() - head.size() - tail.size());
        EXPECT_EQ(reason, platform::TrimSystemText(reason));
        EXPECT_EQ(watcher.Boxes()[0].caption, L"エラー");
    }
    EXPECT_EQ(::GetClipboardSequenceNumber(), before);
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
    holder.Release();
    EXPECT_EQ(holder.WaitForExit(30000), std::optional<DWORD>(0));
}

namespace {

// A copy that fails at one call, the system's error code it leaves, and
// whether the clipboard must still hold what it held.
struct CopyFailure {
    const char* name;
    bool bitmapFails;
    bool setDataRefuses;
    DWORD code;
    bool clipboardKept;
};

const CopyFailure CopyFailures[] = {
    {"a bitmap that cannot be made", true, false, ERROR_NOT_ENOUGH_MEMORY, true},
    {"a refused SetClipboardData", false, true, ERROR_ACCESS_DENIED, false},
};

DWORD failureCode = 0;

HBITMAP WINAPI NoBitmap(HDC, int, int) {
    ::SetLastError(failureCode);
    return nullptr;
}

// The last handle refused, to see that its owner freed it: the live
// counts cannot tell a freed handle from one given away and lost.
HANDLE refused = nullptr;

HANDLE WINAPI RefuseData(UINT, HANDLE data) {
    refused = data;
    ::SetLastError(failureCode);
    return nullptr;
}

} // namespace

// What fails is raised once with the system's text; there is no flash, no
// GDI object or memory block is left behind, and a copy that fails before
// it has anything to place leaves the clipboard as it was.
TEST_F(CaptureWindowTest, AFailedCopyShowsTheSystemsTextOnceAndLosesNothing) {
    for (const CopyFailure& failure : CopyFailures) {
        SCOPED_TRACE(failure.name);
        Form1->BMP = std::make_unique<output::HeldImage>();
        Form1->BMP->SetSize(8, 8);
        Form1->BMP->DrawingDc();
        ASSERT_NO_FATAL_FAILURE(PutText(L"kept"));
        const DWORD sequence = ::GetClipboardSequenceNumber();
        const long bitmaps = platform::UniqueHbitmap::Live();
        const long dcs = platform::UniqueHdc::Live();
        const long palettes = platform::UniqueHpalette::Live();
        const long borrowed = platform::WindowDc::Live();
        // Any flash would run this while the title bar is yellow.
        static bool sawYellow = false;
        sawYellow = false;
        const platform::UniqueHwnd probe(::CreateWindowExW(
            0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        ::SetWindowLongPtrW(probe.get(), GWLP_WNDPROC,
                            reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                                if (m == WM_APP + 8) {
                                    sawYellow |= Form1->Rectangle2->FillColor() == 0xFFFFFF00u;
                                    return LRESULT(0);
                                }
                                return ::DefWindowProcW(w, m, wp, lp);
                            }));
        ::PostMessageW(probe.get(), WM_APP + 8, 0, 0);

        failureCode = failure.code;
        refused = nullptr;
        const output::CreateBitmapCall bitmapCall =
            failure.bitmapFails ? output::ReplaceCreateClipboardBitmap(&NoBitmap) : nullptr;
        const platform::SetClipboardDataCall setDataCall =
            failure.setDataRefuses ? platform::ReplaceSetClipboardData(&RefuseData) : nullptr;
        wintest::MessageBoxWatcher watcher;
        Form1->Dispatch([] { Form1->CopyBtnClick(*Form1->CopyBtn); });
        if (bitmapCall != nullptr) {
            output::ReplaceCreateClipboardBitmap(bitmapCall);
        }
        if (setDataCall != nullptr) {
            platform::ReplaceSetClipboardData(setDataCall);
        }
        wintest::Pump(50);

        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, L"エラー");
        EXPECT_EQ(watcher.Boxes()[0].text, platform::ErrorDisplayText(platform::TrimSystemText(
                                               platform::SystemErrorText(failure.code))));
        EXPECT_FALSE(sawYellow) << "a failed copy flashed as a success";
        EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u);
        EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps) << "the bitmap not handed over leaks";
        EXPECT_EQ(platform::UniqueHdc::Live(), dcs);
        EXPECT_EQ(platform::UniqueHpalette::Live(), palettes);
        EXPECT_EQ(platform::WindowDc::Live(), borrowed);
        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
        EXPECT_FALSE(output::PngPromised());
        EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
        if (failure.setDataRefuses) {
            ASSERT_NE(refused, nullptr);
            EXPECT_EQ(::GetObjectType(refused), 0u) << "the refused bitmap was never deleted";
        }
        if (failure.clipboardKept) {
            EXPECT_EQ(::GetClipboardSequenceNumber(), sequence) << "the clipboard was touched";
            EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
        }
    }
}

// The boxes' text copy keeps the same rule: a refusal is raised with the
// system's text and the block the system did not take is freed.
TEST_F(CaptureWindowTest, ARefusedTextCopyIsRaisedAndItsBlockFreed) {
    ASSERT_NO_FATAL_FAILURE(PutText(L"kept"));
    const long blocks = platform::UniqueHglobal::Live();
    failureCode = ERROR_ACCESS_DENIED;
    refused = nullptr;
    const platform::SetClipboardDataCall previous = platform::ReplaceSetClipboardData(&RefuseData);
    std::wstring raised;
    try {
        toolkit::win32::WriteClipboardText(Form1->Handle(), L"123");
    } catch (const platform::Error& error) {
        raised = error.Message();
    }
    platform::ReplaceSetClipboardData(previous);
    EXPECT_EQ(raised, platform::TrimSystemText(platform::SystemErrorText(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(platform::UniqueHglobal::Live(), blocks);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(::GlobalSize(refused), 0u) << "the refused block was never freed";

    // Accepted, the block passes to the system and the text is there.
    toolkit::win32::WriteClipboardText(Form1->Handle(), L"123");
    EXPECT_EQ(platform::UniqueHglobal::Live(), blocks);
    EXPECT_EQ(toolkit::win32::ReadClipboardText(Form1->Handle()), L"123");
}
