#include "output/Clipboard.h"

#include "platform/ClipboardScope.h"
#include "platform/Error.h"
#include "platform/MessageText.h"
#include "platform/SystemError.h"

#include <vector>

namespace output {

namespace {

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

} // namespace

HWND ClipboardWindow() {
    static platform::UniqueHwnd window(::CreateWindowExW(0, L"STATIC", L"Varnel clipboard", 0, 0, 0,
                                                         0, 0, HWND_MESSAGE, nullptr,
                                                         ::GetModuleHandleW(nullptr), nullptr));
    return window.get();
}

void CopyToClipboard(HeldImage& image) {
    // An empty image is no picture: the clipboard keeps what it holds.
    if (image.Empty()) {
        return;
    }
    platform::ClipboardScope clipboard(ClipboardWindow());
    if (!clipboard) {
        throw platform::Error(
            platform::ClipboardOpenErrorText(platform::SystemErrorText(clipboard.Error())));
    }
    ::EmptyClipboard();

    HDC source = image.DrawingDc();
    platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    ::SetLastError(0);
    platform::UniqueHbitmap bitmap(
        ::CreateCompatibleBitmap(screen.get(), image.Width(), image.Height()));
    if (!bitmap) {
        platform::ThrowResourceError(::GetLastError());
    }
    platform::UniqueHdc target(::CreateCompatibleDC(screen.get()));
    if (!target) {
        platform::ThrowResourceError(::GetLastError());
    }
    {
        platform::SelectGuard select(target.get(), bitmap.get());
        const platform::PaletteGuard palette(target.get(), image.Palette());
        ::BitBlt(target.get(), 0, 0, image.Width(), image.Height(), source, 0, 0, SRCCOPY);
    }
    platform::UniqueHpalette palette;
    if (image.Palette() != nullptr) {
        palette = CopyPalette(image.Palette());
    }
    // Both pass to the system with the call.
    ::SetClipboardData(CF_BITMAP, bitmap.release());
    if (palette) {
        ::SetClipboardData(CF_PALETTE, palette.release());
    }
}

} // namespace output
