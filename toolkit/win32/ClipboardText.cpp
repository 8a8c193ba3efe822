#include "toolkit/win32/ClipboardText.h"

#include "platform/ClipboardData.h"
#include "platform/ClipboardScope.h"
#include "platform/GlobalMemory.h"
#include "platform/SystemError.h"

#include <cstring>

namespace toolkit::win32 {

std::wstring ReadClipboardText(HWND owner) {
    std::wstring text;
    const platform::ClipboardScope clipboard(owner);
    if (!clipboard) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        const platform::GlobalLockScope locked(data);
        if (const auto* chars = static_cast<const wchar_t*>(locked.get())) {
            text.assign(chars, ::wcsnlen(chars, locked.Size() / sizeof(wchar_t)));
        }
    }
    return text;
}

void WriteClipboardText(HWND owner, const std::wstring& text) {
    // The text is made ready before the clipboard is opened and emptied, so
    // a block that cannot be had leaves what the clipboard held.
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    platform::UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        platform::ThrowResourceError(::GetLastError());
    }
    {
        const platform::GlobalLockScope locked(memory.get());
        if (!locked) {
            platform::ThrowResourceError(::GetLastError());
        }
        std::memcpy(locked.get(), text.c_str(), bytes);
    }
    const platform::ClipboardScope clipboard(owner);
    if (!clipboard) {
        return;
    }
    ::EmptyClipboard();
    // The block passes to the system when it takes it; a refusal leaves it
    // here to be freed.
    platform::HandToClipboard(CF_UNICODETEXT, memory);
}

} // namespace toolkit::win32
