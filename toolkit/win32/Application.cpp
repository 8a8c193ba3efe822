#include "toolkit/win32/Application.h"

#include "platform/Display.h"
#include "toolkit/DesktopPlacement.h"
#include "toolkit/win32/DisplayAreas.h"
#include "toolkit/win32/DWriteRasterizer.h"
#include "toolkit/win32/ErrorDisplay.h"

#include <commctrl.h>

toolkit::win32::TApplication Application;

namespace toolkit::win32 {

TApplication::TApplication() = default;

TApplication::~TApplication() {
    DestroyForms();
    rasterizer_.reset();
}

void TApplication::Initialize() {
    if (initialized_) {
        return;
    }
    initialized_ = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    com_ = platform::ComApartment::SingleThreaded();
    rasterizer_ = std::make_unique<DWriteRasterizer>();
}

void TApplication::Adopt(std::unique_ptr<Form> form) {
    Initialize();
    Entry entry;
    entry.form = std::move(form);
    entry.host = std::make_unique<HostWindow>(*entry.form);
    entry.form->AttachHost(entry.host.get(), rasterizer_.get());
    Form& made = *entry.form;
    forms_.push_back(std::move(entry));
    made.Dispatch([&] { made.Create(); });
    CentreOnDesktop(made);
}

HostWindow* TApplication::HostOf(const Form& form) const {
    for (const auto& entry : forms_) {
        if (entry.form.get() == &form) {
            return entry.host.get();
        }
    }
    return nullptr;
}

void TApplication::DestroyForms() {
    while (!forms_.empty()) {
        Entry entry = std::move(forms_.back());
        forms_.pop_back();
        entry.form->AttachHost(nullptr, nullptr);
        entry.host.reset();
        entry.form.reset();
    }
}

void TApplication::DispatchOne(MSG& message) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void TApplication::Run() {
    if (forms_.empty()) {
        return;
    }
    forms_.front().host->Show();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchOne(message);
    }
    terminated_ = true;
}

void TApplication::ProcessMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the main loop, which ends the program.
            terminated_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchOne(message);
    }
    for (const auto& entry : forms_) {
        entry.host->RepaintIfPending();
    }
}

void CentreOnDesktop(Form& form) {
    const RECT desktop = platform::VirtualScreen();
    const WindowPlace place = CentredOnDesktop(
        CurrentDisplayAreas(), {desktop.left, desktop.top, desktop.right, desktop.bottom},
        form.ClientWidth(), form.ClientHeight(), form.MinimumClientHeight(), form.Scale());
    form.SetWindowBounds(place.left, place.top, form.ClientWidth(), form.ClientHeight());
}

} // namespace toolkit::win32
