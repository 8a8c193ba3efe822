// Handing data to the open clipboard. The system may refuse it (the
// clipboard was not opened by this thread, the data is not of a kind it
// takes): a refusal is raised with the system's text, and the data stays
// with its owner, which frees it, instead of leaking or being shown as a
// success.
#pragma once

#include "platform/Win.h"

#include <utility>

namespace platform {

// SetClipboardData, or what a test puts in its place to see what follows a
// refusal.
using SetClipboardDataCall = HANDLE(WINAPI*)(UINT format, HANDLE data);

// Puts `call` in place for the whole process and gives back the one it
// replaced.
SetClipboardDataCall ReplaceSetClipboardData(SetClipboardDataCall call) noexcept;

// Calls SetClipboardData (or its stand-in) with the last error cleared
// first; null when refused, the last error then telling why.
HANDLE SetClipboardDataChecked(UINT format, HANDLE data) noexcept;

// Raises the system's text for the code (or "システム リソース不足です").
[[noreturn]] void ThrowClipboardRefusal(DWORD code);

// Gives what `owner` holds to the clipboard in `format`: the owner lets go
// of it only once the system has taken it. Raises the refusal.
template <typename Owner> void HandToClipboard(UINT format, Owner& owner) {
    if (SetClipboardDataChecked(format, owner.get()) == nullptr) {
        const DWORD code = ::GetLastError();
        ThrowClipboardRefusal(code);
    }
    owner.release();
}

} // namespace platform
