// The clipboard is shared with every other program: it is opened for one
// scope only and closed on every path out of it.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

namespace platform {

class ClipboardScope {
public:
    // Opens the clipboard on behalf of owner; when another program holds
    // it, the scope is not open and Error() tells why.
    explicit ClipboardScope(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {
        error_ = open_ ? ERROR_SUCCESS : ::GetLastError();
    }
    ~ClipboardScope() {
        if (open_) {
            KeepLastError keep;
            ::CloseClipboard();
        }
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;

    explicit operator bool() const noexcept { return open_; }
    // The code OpenClipboard left when it failed.
    DWORD Error() const noexcept { return error_; }

private:
    bool open_;
    DWORD error_ = ERROR_SUCCESS;
};

} // namespace platform
