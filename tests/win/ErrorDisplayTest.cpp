// The error display as the user sees it: one message box per error, caption
// "エラー", the error icon, the text with its "." rule; and the program goes
// on afterwards.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Error.h"

#include <new>

namespace {

struct DisplayCase {
    const wchar_t* message;
    const wchar_t* shown;
};

const DisplayCase DisplayCases[] = {
    {L"abc", L"abc."}, {L"abc.", L"abc."},
    {L"", L""},        {L"a-", L"a-"}, // "-" comes before "." in code order: nothing appended
    {L"a/", L"a/."},   {L"ストリームへの書き込みエラー", L"ストリームへの書き込みエラー."},
};

} // namespace

TEST_F(CaptureWindowTest, ErrorsAreShownOnceWithCaptionIconAndFullStopRule) {
    for (const DisplayCase& c : DisplayCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.message)));
        wintest::MessageBoxWatcher watcher;
        Form1->Dispatch([&] { throw platform::Error(c.message); });
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].caption, L"エラー");
        EXPECT_EQ(watcher.Boxes()[0].text, c.shown);
        EXPECT_TRUE(watcher.Boxes()[0].errorIcon);
    }
}

TEST_F(CaptureWindowTest, OutOfMemoryIsShownAsResourceShortage) {
    wintest::MessageBoxWatcher watcher;
    Form1->Dispatch([] { throw std::bad_alloc(); });
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, L"システム リソース不足です.");
}

TEST_F(CaptureWindowTest, AnErrorInAHandlerLeavesTheWindowWorking) {
    wintest::MessageBoxWatcher watcher;
    // A handler that fails, reached through a real click on the title bar's
    // apply button with a size box holding no number.
    Form1->SetFocus(Form1->NBoxH);
    while (!Form1->NBoxH->Text().empty()) {
        Form1->HostKeyDown(toolkit::Key::Backspace, 0);
    }
    const toolkit::RectI r = Form1->SetRectBtn->PhysicalRect();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageW(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(host->Handle(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, L"'' は Integer 型の値として有効な整数値ではありません.");
    EXPECT_TRUE(::IsWindow(host->Handle()));
    // The next event is handled as usual.
    Form1->NBoxWDblClick(*Form1->NBoxW);
    EXPECT_EQ(Form1->NBoxW->Text(), L"501");
}
