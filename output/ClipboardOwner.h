// The program's own window that opens the clipboard and owns it. Besides
// the bitmap, a copy announces a PNG ("PNG", the registered format that
// browsers, office programs and Wine's X11 side read as image/png) without
// making it: the window keeps the copied picture and encodes it, with the
// PNG encoder the save command uses, only when a program asks for it
// (WM_RENDERFORMAT), or before the program ends, so that the PNG outlives
// it as the bitmap does (WM_RENDERALLFORMATS). When the clipboard is
// emptied by anyone the promise and the picture go (WM_DESTROYCLIPBOARD).
#pragma once

#include "output/ByteSink.h"
#include "output/ImageView.h"
#include "platform/DibSection.h"
#include "platform/Win.h"

#include <cstdint>
#include <memory>

namespace output {

// What the window keeps of a copy: the copied picture's own pixel storage,
// shared with the held image it was copied from, so that a later capture
// (which makes an image of its own) never changes what is rendered.
struct CopiedPicture {
    std::shared_ptr<const platform::DibSection> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The encoding a render runs: the PNG file's bytes of the image into the
// sink. A test puts a stand-in in its place (to count renders, or to fail).
using PngRendering = void (*)(const ImageView& image, ByteSink& sink);

// The program's encoding: the same file as the save command writes.
void EncodePng(const ImageView& image, ByteSink& sink);

// Puts `rendering` in place and gives back the one it replaced.
PngRendering ReplacePngRendering(PngRendering rendering) noexcept;

// The window, made on first use. Raises the system's text (or "システム
// リソース不足です") when it cannot be made: the clipboard is never opened
// on behalf of no window.
HWND ClipboardOwnerWindow();

// The registered format "PNG"; 0 when the system gives none.
UINT PngClipboardFormat();

// On the clipboard that the window has opened and emptied: announces the
// PNG (data to come) and keeps the picture until it is rendered or the
// clipboard is emptied.
void PromisePng(CopiedPicture picture);

// Whether a PNG is promised and not yet rendered.
bool PngPromised();

// Renders what is still promised and lets the window go; the next copy
// makes it again. Called when the program's window closes.
void ReleaseClipboardOwner() noexcept;

} // namespace output
