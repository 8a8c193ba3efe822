#include "tests/win/SaveDialogDriver.h"

#include <atomic>
#include <map>
#include <set>
#include <thread>

namespace wintest {

namespace {

// A dialog the driver cannot read is cancelled after this long, so a test
// fails instead of hanging in a modal loop.
constexpr DWORD GiveUpMilliseconds = 15000;
// A dialog still open this long after its answer with an empty name box took
// the answer before it was ready (it clears the name box while it starts,
// slowly on a busy machine), and waits: it is answered again.
constexpr DWORD AnswerAgainMilliseconds = 2000;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// The text of a window of the command's thread. The request is a message
// that thread answers from its modal loop; the time limit keeps the helper
// from waiting for ever on a thread that stopped answering.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, length + 1,
                               reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                               &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

// This process's visible dialog-class windows: the save dialog and the
// message boxes are both of the system dialog class.
std::vector<HWND> OwnDialogs() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
                ClassOf(window) == L"#32770") {
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A message box carries its text in a static control of id 0xFFFF; the
// save dialog has none.
bool IsMessageBox(HWND dialog) {
    HWND text = ::GetDlgItem(dialog, 0xFFFF);
    return text != nullptr && ClassOf(text) == L"Static";
}

// The file name box. Wine's dialog has a plain edit (id 1152) of its own;
// Windows' puts the edit inside the file name combo box. The folder view's
// rename edit and the search box have neither parentage.
HWND NameBox(HWND dialog) {
    HWND found = nullptr;
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) -> BOOL {
            if (ClassOf(child) != L"Edit" || !::IsWindowVisible(child)) {
                return TRUE;
            }
            const std::wstring parent = ClassOf(::GetParent(child));
            if (::GetDlgCtrlID(child) == 1152 || parent == L"ComboBox" ||
                parent == L"ComboBoxEx32") {
                *reinterpret_cast<HWND*>(param) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

MessageBoxWatcher::Box ReadMessageBox(HWND box) {
    MessageBoxWatcher::Box seen;
    seen.caption = TextOf(box);
    seen.text = TextOf(::GetDlgItem(box, 0xFFFF));
    // The icon's static control: id 20 on Windows, 0x440 in Wine's template.
    const HICON errorIcon = ::LoadIconW(nullptr, IDI_ERROR);
    for (int id : {20, 0x440}) {
        HWND icon = ::GetDlgItem(box, id);
        DWORD_PTR shown = 0;
        if (icon != nullptr &&
            ::SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown) &&
            reinterpret_cast<HICON>(shown) == errorIcon) {
            seen.errorIcon = true;
        }
    }
    return seen;
}

// Posted, as a click on the button would post it: the command's thread
// closes the dialog from its own loop.
void ClickDialogButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

} // namespace

SaveRun RunWithSaveDialog(const std::function<void()>& command, const DialogAnswer& answer) {
    SaveRun run;
    std::atomic<bool> done{false};
    std::thread helper([&] {
        std::set<HWND> handled;
        std::map<HWND, DWORD> answeredAt;
        bool answered = false;
        DWORD unreadableSince = 0;
        while (!done.load()) {
            for (HWND dialog : OwnDialogs()) {
                if (handled.count(dialog) != 0) {
                    const auto at = answeredAt.find(dialog);
                    if (at == answeredAt.end() ||
                        ::GetTickCount() - at->second < AnswerAgainMilliseconds) {
                        continue;
                    }
                    HWND nameBox = NameBox(dialog);
                    if (nameBox != nullptr && TextOf(nameBox).empty()) {
                        ::SendMessageTimeoutW(nameBox, WM_SETTEXT, 0,
                                              reinterpret_cast<LPARAM>(answer.name.c_str()),
                                              SMTO_ABORTIFHUNG, 5000, nullptr);
                        ClickDialogButton(dialog, IDOK);
                    }
                    at->second = ::GetTickCount();
                    continue;
                }
                if (IsMessageBox(dialog)) {
                    run.boxes.push_back(ReadMessageBox(dialog));
                    ClickDialogButton(dialog, IDOK);
                    handled.insert(dialog);
                    continue;
                }
                HWND nameBox = NameBox(dialog);
                if (nameBox == nullptr) {
                    if (unreadableSince == 0) {
                        unreadableSince = ::GetTickCount();
                    } else if (::GetTickCount() - unreadableSince > GiveUpMilliseconds) {
                        run.nameBoxes.push_back(L"<no name box>");
                        ClickDialogButton(dialog, IDCANCEL);
                        handled.insert(dialog);
                    }
                    continue;
                }
                unreadableSince = 0;
                run.nameBoxes.push_back(TextOf(nameBox));
                if (!answered && answer.accept) {
                    ::SendMessageTimeoutW(nameBox, WM_SETTEXT, 0,
                                          reinterpret_cast<LPARAM>(answer.name.c_str()),
                                          SMTO_ABORTIFHUNG, 5000, nullptr);
                    ClickDialogButton(dialog, IDOK);
                    answeredAt[dialog] = ::GetTickCount();
                } else {
                    ClickDialogButton(dialog, IDCANCEL);
                }
                answered = true;
                handled.insert(dialog);
            }
            ::Sleep(10);
        }
    });
    command();
    done = true;
    helper.join();
    return run;
}

} // namespace wintest
