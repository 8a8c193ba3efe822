// The application's error display: one modal message box with the caption
// "エラー", the error icon and OK, owned by the active window.
#pragma once

#include <exception>
#include <string>

namespace toolkit::win32 {

// The message an error carries, as the display shows it before its "." rule.
std::wstring ErrorMessage(const std::exception& error);

void ShowErrorDisplay(const std::exception& error);

} // namespace toolkit::win32
