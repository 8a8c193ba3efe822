#include "output/ClipboardOwner.h"

#include "output/PngEncoder.h"
#include "platform/ClipboardData.h"
#include "platform/ClipboardScope.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "platform/SystemError.h"

#include <atomic>
#include <cstring>
#include <optional>

namespace output {

namespace {

constexpr wchar_t ClassName[] = L"VarnelClipboardOwner";

std::atomic<PngRendering> rendering{&EncodePng};

// The window and its promise. One user-interface thread uses them: the
// window's messages come on the thread that made it.
struct OwnerState {
    platform::UniqueHwnd window;
    std::optional<CopiedPicture> promise;
};

OwnerState& State() {
    static OwnerState state;
    return state;
}

// The promised picture encoded into a movable block, the form the
// clipboard takes; null when the encoding or the block fails (a render
// that fails places nothing, and the bitmap stays the copy).
platform::UniqueHglobal RenderPng(const CopiedPicture& picture) noexcept {
    try {
        MemorySink png;
        ::GdiFlush();
        rendering.load()(ImageView{picture.width, picture.height,
                                   static_cast<const std::uint8_t*>(picture.pixels->bits)},
                         png);
        const std::vector<std::uint8_t>& bytes = png.Bytes();
        platform::UniqueHglobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
        if (!block) {
            return {};
        }
        {
            const platform::GlobalLockScope locked(block.get());
            if (!locked) {
                return {};
            }
            std::memcpy(locked.get(), bytes.data(), bytes.size());
        }
        return block;
    } catch (...) {
        // Nothing of a failed render reaches the program that asked, nor
        // crosses into the system's code that sent the message.
        return {};
    }
}

// Renders the promise onto the clipboard, which whoever asked has open.
void PlacePromisedPng() noexcept {
    OwnerState& state = State();
    const UINT format = PngClipboardFormat();
    if (!state.promise || format == 0) {
        return;
    }
    platform::UniqueHglobal block = RenderPng(*state.promise);
    if (!block) {
        return;
    }
    if (platform::SetClipboardDataChecked(format, block.get()) != nullptr) {
        block.release();
        // Placed for good: the picture is no longer needed.
        state.promise.reset();
    }
}

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RENDERFORMAT:
        if (UINT(wParam) == PngClipboardFormat()) {
            PlacePromisedPng();
        }
        return 0;
    case WM_RENDERALLFORMATS: {
        if (!State().promise) {
            return 0;
        }
        // Here the window opens the clipboard itself, and renders only
        // while the promise on it is still its own. Another program may
        // hold it for a moment (Wine's X11 side opens it after every
        // change to offer the new formats), so a busy clipboard is tried
        // again for a while before the PNG is given up.
        platform::ClipboardScope clipboard(window);
        for (int attempt = 0; !clipboard && attempt < 100; ++attempt) {
            ::Sleep(20);
            clipboard = platform::ClipboardScope(window);
        }
        if (clipboard && ::GetClipboardOwner() == window) {
            PlacePromisedPng();
        }
        State().promise.reset();
        return 0;
    }
    case WM_DESTROYCLIPBOARD:
        State().promise.reset();
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

void EncodePng(const ImageView& image, ByteSink& sink) {
    PngEncoder encoder;
    encoder.TakeImage(image);
    encoder.Write(sink);
}

PngRendering ReplacePngRendering(PngRendering replacement) noexcept {
    return rendering.exchange(replacement);
}

HWND ClipboardOwnerWindow() {
    OwnerState& state = State();
    if (state.window) {
        return state.window.get();
    }
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &OwnerProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    // A class left from an earlier window is used again.
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        platform::ThrowResourceError(::GetLastError());
    }
    state.window.reset(::CreateWindowExW(0, ClassName, L"Varnel clipboard", 0, 0, 0, 0, 0,
                                         HWND_MESSAGE, nullptr, instance, nullptr));
    if (!state.window) {
        platform::ThrowResourceError(::GetLastError());
    }
    return state.window.get();
}

UINT PngClipboardFormat() {
    static const UINT format = ::RegisterClipboardFormatW(L"PNG");
    return format;
}

void PromisePng(CopiedPicture picture) {
    const UINT format = PngClipboardFormat();
    if (format == 0 || !picture.pixels || !*picture.pixels) {
        return;
    }
    State().promise = std::move(picture);
    // Data to come: the call gives null whether or not it was taken, so
    // its answer says nothing. A promise the system did not take is never
    // asked for, and goes with the next emptying.
    platform::SetClipboardDataChecked(format, nullptr);
}

bool PngPromised() {
    return State().promise.has_value();
}

void ReleaseClipboardOwner() noexcept {
    // Destroying the owner sends it WM_RENDERALLFORMATS while it still is.
    State().window.reset();
    State().promise.reset();
}

} // namespace output
