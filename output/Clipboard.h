// Puts a copy of the held image on the Windows clipboard: a bitmap in the
// screen's own format (CF_BITMAP), plus a copy of the image's palette
// (CF_PALETTE) where the screen has one, and the promise of a PNG of the
// same picture, made only when a program asks for it (ClipboardOwner.h).
#pragma once

#include "output/HeldImage.h"
#include "platform/Win.h"

namespace output {

// An empty image (a side of 0) touches nothing: the clipboard is neither
// opened nor emptied. Everything the copy places is made first: a bitmap or
// copy that cannot be made raises the system's text (or "システム リソース
// 不足です") and leaves the clipboard as it was. Throws "クリップボード %s
// を開けません" when the clipboard is held by another program, and the
// system's text when it refuses the bitmap or the palette (what it did not
// take is freed). The clipboard is closed on every path.
void CopyToClipboard(HeldImage& image);

// CreateCompatibleBitmap, or what a test puts in its place to see what
// follows a bitmap that cannot be had.
using CreateBitmapCall = HBITMAP(WINAPI*)(HDC dc, int width, int height);

// Puts `call` in place and gives back the one it replaced.
CreateBitmapCall ReplaceCreateClipboardBitmap(CreateBitmapCall call) noexcept;

} // namespace output
