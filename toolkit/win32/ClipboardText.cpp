#include "toolkit/win32/ClipboardText.h"

#include <cstring>

namespace toolkit::win32 {

std::wstring ReadClipboardText(HWND owner) {
    std::wstring text;
    if (!::OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text.assign(chars, ::wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void WriteClipboardText(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) {
        return;
    }
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = ::GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            // The memory passes to the system when it takes it.
            if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
                ::GlobalFree(memory);
            }
        } else {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

} // namespace toolkit::win32
