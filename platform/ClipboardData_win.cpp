#include "platform/ClipboardData.h"

#include "platform/SystemError.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<SetClipboardDataCall> setClipboardData{&::SetClipboardData};

} // namespace

SetClipboardDataCall ReplaceSetClipboardData(SetClipboardDataCall call) noexcept {
    return setClipboardData.exchange(call);
}

HANDLE SetClipboardDataChecked(UINT format, HANDLE data) noexcept {
    ::SetLastError(ERROR_SUCCESS);
    return setClipboardData.load()(format, data);
}

void ThrowClipboardRefusal(DWORD code) {
    ThrowResourceError(code);
}

} // namespace platform
