// Puts a copy of the held image on the Windows clipboard: a bitmap in the
// screen's own format (CF_BITMAP), plus a copy of the image's palette
// (CF_PALETTE) where the screen has one.
#pragma once

#include "output/HeldImage.h"

namespace output {

// An empty image (a side of 0) touches nothing: the clipboard is neither
// opened nor emptied. Throws "クリップボード %s を開けません" when the clipboard is held by another
// program, and the system's text (or "システム リソース不足です") when the
// bitmap cannot be made; the clipboard is closed on every path.
void CopyToClipboard(HeldImage& image);

// The program's hidden window that opens the clipboard and owns it.
HWND ClipboardWindow();

} // namespace output
