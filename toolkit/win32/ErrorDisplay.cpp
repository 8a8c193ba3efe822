#include "toolkit/win32/ErrorDisplay.h"

#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/Win.h"

#include <new>

namespace toolkit::win32 {

std::wstring ErrorMessage(const std::exception& error) {
    if (const auto* own = dynamic_cast<const platform::Error*>(&error)) {
        return own->Message();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr ||
        dynamic_cast<const std::length_error*>(&error) != nullptr) {
        return platform::OutOfResourcesText();
    }
    const char* what = error.what();
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
    std::wstring text(length > 0 ? std::size_t(length) : 1u, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, what, -1, text.data(), length);
    text.resize(text.size() - 1);
    return text;
}

void ShowErrorDisplay(const std::exception& error) {
    const std::wstring text = platform::ErrorDisplayText(ErrorMessage(error));
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), L"エラー", MB_OK | MB_ICONERROR);
}

} // namespace toolkit::win32
