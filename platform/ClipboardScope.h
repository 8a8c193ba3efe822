// The clipboard is shared with every other program: it is opened for one
// scope only and closed on every path out of it.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

namespace platform {

namespace detail {
inline void CloseClipboard() {
    ::CloseClipboard();
}
} // namespace detail

class ClipboardScope : public UniqueHandle<OwedCallPolicy<detail::CloseClipboard>> {
public:
    // Opens the clipboard on behalf of owner; when another program holds
    // it, the scope is not open and Error() tells why.
    explicit ClipboardScope(HWND owner) noexcept : UniqueHandle(::OpenClipboard(owner) != FALSE) {
        error_ = *this ? ERROR_SUCCESS : ::GetLastError();
    }

    // The code OpenClipboard left when it failed.
    DWORD Error() const noexcept { return error_; }

private:
    DWORD error_ = ERROR_SUCCESS;
};

} // namespace platform
