#include "platform/SystemError.h"

#include "platform/Error.h"
#include "platform/MessageText.h"

namespace platform {

std::wstring SystemErrorText(DWORD code) {
    wchar_t buffer[257] = {};
    DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 256, nullptr);
    return std::wstring(buffer, length);
}

void ThrowResourceError(DWORD code) {
    const std::wstring text = code != 0 ? TrimSystemText(SystemErrorText(code)) : std::wstring();
    throw Error(text.empty() ? OutOfResourcesText() : text);
}

void ThrowIfFailed(HRESULT result) {
    if (FAILED(result)) {
        ThrowResourceError(static_cast<DWORD>(result));
    }
}

} // namespace platform
