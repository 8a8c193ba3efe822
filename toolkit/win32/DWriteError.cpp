// Turns a failed DirectWrite call into the program's error exception.
#include "toolkit/win32/DWriteError.h"

#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

namespace toolkit::win32 {

void ThrowIfFailed(HRESULT result) {
    if (SUCCEEDED(result)) {
        return;
    }
    std::wstring text =
        platform::TrimSystemText(platform::SystemErrorText(static_cast<DWORD>(result)));
    throw platform::Error(text.empty() ? platform::OutOfResourcesText() : std::move(text));
}

} // namespace toolkit::win32
