// The hints: resting the pointer on a control shows its tooltip with the
// exact text; the close button has none.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>

namespace {

// The text of this process's visible tooltip, once one shows.
std::wstring ShownTooltip(DWORD milliseconds) {
    std::wstring text;
    wintest::WaitFor(
        [&] {
            HWND tip = nullptr;
            while ((tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(tip, &pid);
                if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(tip)) {
                    wchar_t buffer[256] = {};
                    ::GetWindowTextW(tip, buffer, 256);
                    text = buffer;
                    return !text.empty();
                }
            }
            return false;
        },
        milliseconds);
    return text;
}

} // namespace

TEST_F(CaptureWindowTest, RestingOnAControlShowsItsHint) {
    ::SetForegroundWindow(host->Handle());
    const struct {
        toolkit::Control* control;
        const wchar_t* hint;
    } cases[] = {
        {Form1->CutBtn, L"矩形カット"},
        {Form1->CopyBtn, L"クリップボードにコピー"}, // disabled, still explained
        {Form1->NBoxH, L"Height:ダブルクリックで現在の高さをセット"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.hint)));
        // Away first, so each rest starts a new tooltip.
        const toolkit::RectI screen = Form1->ScreenRect();
        wintest::MoveMouse(screen.left + 250, screen.top + 200);
        wintest::Pump(300);
        const toolkit::RectI r = c.control->PhysicalRect();
        wintest::MoveMouse(screen.left + (r.left + r.right) / 2,
                           screen.top + (r.top + r.bottom) / 2);
        EXPECT_EQ(ShownTooltip(5000), c.hint);
    }
    EXPECT_TRUE(Form1->ExitBtn->Hint().empty());
}
