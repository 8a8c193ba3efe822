// Plain text on the clipboard, for copy, cut and paste in the number boxes.
#pragma once

#include "platform/Win.h"

#include <string>

namespace toolkit::win32 {

// The clipboard's Unicode text; empty when it holds none or is busy.
std::wstring ReadClipboardText(HWND owner);

// Puts text on the clipboard; quietly does nothing while another program
// holds it (a text edit's copy reports no error). The text's block is made
// before the clipboard is emptied; a block that cannot be had, or a
// refusal by the system, is raised with the system's text.
void WriteClipboardText(HWND owner, const std::wstring& text);

} // namespace toolkit::win32
