#include "tests/win/support/MessageBoxWatcher.h"

namespace wintest {

namespace {

thread_local HHOOK hook = nullptr;
thread_local std::vector<MessageBoxWatcher::Box> boxes;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        // Message boxes only: a save dialog is a #32770 too, but has no
        // message text control.
        if (std::wstring(className) == L"#32770" && ::GetDlgItem(window, 0xFFFF) != nullptr) {
            MessageBoxWatcher::Box box;
            wchar_t text[1024] = {};
            ::GetWindowTextW(window, text, 1024);
            box.caption = text;
            text[0] = 0;
            ::GetDlgItemTextW(window, 0xFFFF, text, 1024);
            box.text = text;
            // The icon's static control: id 20 on Windows, 0x440 in Wine's
            // template; the error icon is the shared system one.
            const HICON errorIcon = ::LoadIconW(nullptr, IDI_ERROR);
            for (int id : {20, 0x440}) {
                HWND icon = ::GetDlgItem(window, id);
                if (icon != nullptr &&
                    reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)) == errorIcon) {
                    box.errorIcon = true;
                }
            }
            boxes.push_back(box);
            ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() {
    boxes.clear();
    hook = ::SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, ::GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
    ::UnhookWindowsHookEx(hook);
    hook = nullptr;
}

const std::vector<MessageBoxWatcher::Box>& MessageBoxWatcher::Boxes() const {
    return boxes;
}

} // namespace wintest
