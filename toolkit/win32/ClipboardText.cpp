#include "toolkit/win32/ClipboardText.h"

#include "platform/ClipboardScope.h"
#include "platform/GlobalMemory.h"

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
    const platform::ClipboardScope clipboard(owner);
    if (!clipboard) {
        return;
    }
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    platform::UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return;
    }
    {
        const platform::GlobalLockScope locked(memory.get());
        if (!locked) {
            return;
        }
        std::memcpy(locked.get(), text.c_str(), bytes);
    }
    // The memory passes to the system when it takes it.
    if (::SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr) {
        memory.release();
    }
}

} // namespace toolkit::win32
