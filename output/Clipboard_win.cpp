// The copy makes everything it places before it opens the clipboard: the
// clipboard is emptied only when there is something to put on it, so a
// copy that fails leaves what the user had there.
#include "output/Clipboard.h"

#include "output/ClipboardOwner.h"
#include "platform/ClipboardData.h"
#include "platform/ClipboardScope.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

#include <atomic>
#include <vector>

namespace output {

namespace {

std::atomic<CreateBitmapCall> createBitmap{&::CreateCompatibleBitmap};

platform::UniqueHpalette CopyPalette(HPALETTE palette) {
    const UINT count = ::GetPaletteEntries(palette, 0, 0, nullptr);
    if (count == 0) {
        return {};
    }
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    ::GetPaletteEntries(palette, 0, count, logical->palPalEntry);
    return platform::UniqueHpalette(::CreatePalette(logical));
}

// The held image copied into a new bitmap of the screen's own format.
platform::UniqueHbitmap MakeClipboardBitmap(HeldImage& image) {
    HDC source = image.DrawingDc();
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    ::SetLastError(ERROR_SUCCESS);
    platform::UniqueHbitmap bitmap(
        createBitmap.load()(screen.get(), image.Width(), image.Height()));
    if (!bitmap) {
        platform::ThrowResourceError(::GetLastError());
    }
    platform::UniqueHdc target(::CreateCompatibleDC(screen.get()));
    if (!target) {
        platform::ThrowResourceError(::GetLastError());
    }
    platform::SelectGuard select(target.get(), bitmap.get());
    const platform::PaletteGuard palette(target.get(), image.Palette());
    if (!::BitBlt(target.get(), 0, 0, image.Width(), image.Height(), source, 0, 0, SRCCOPY)) {
        platform::ThrowResourceError(::GetLastError());
    }
    return bitmap;
}

} // namespace

CreateBitmapCall ReplaceCreateClipboardBitmap(CreateBitmapCall call) noexcept {
    return createBitmap.exchange(call);
}

void CopyToClipboard(HeldImage& image) {
    // An empty image is no picture: the clipboard keeps what it holds.
    if (image.Empty()) {
        return;
    }
    platform::UniqueHbitmap bitmap = MakeClipboardBitmap(image);
    // A palette that cannot be copied is left out, unreported.
    platform::UniqueHpalette palette;
    if (image.Palette() != nullptr) {
        palette = CopyPalette(image.Palette());
    }
    const HWND owner = ClipboardOwnerWindow();

    platform::ClipboardScope clipboard(owner);
    if (!clipboard) {
        throw platform::Error(
            platform::ClipboardOpenErrorText(platform::SystemErrorText(clipboard.Error())));
    }
    if (!::EmptyClipboard()) {
        platform::ThrowClipboardRefusal(::GetLastError());
    }
    // Each passes to the system once it is taken.
    platform::HandToClipboard(CF_BITMAP, bitmap);
    if (palette) {
        platform::HandToClipboard(CF_PALETTE, palette);
    }
    PromisePng(CopiedPicture{image.SharedPixels(), image.Width(), image.Height()});
}

} // namespace output
