#include "toolkit/win32/Application.h"

#include "toolkit/win32/DWriteRasterizer.h"
#include "toolkit/win32/ErrorDisplay.h"

#include <commctrl.h>

#include <cmath>
#include <limits>

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
    entry.host = std::make_unique<HostWindow>(*entry.form, L"Varnel");
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
    const double s = form.Scale();
    const int vx = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int vy = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int vh = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const double centreX = (vx + vw / 2.0) / s;
    const double centreY = (vy + vh / 2.0) / s;
    const int width = form.ClientWidth();
    const int height = form.ClientHeight();
    int left = static_cast<int>(std::trunc(centreX - std::trunc(width / 2.0)));
    int top = static_cast<int>(std::trunc(centreY - std::trunc(height / 2.0)));

    auto onDisplay = [&](int l, int t) {
        const auto on = [&](double x, double y) {
            POINT p{static_cast<LONG>(std::trunc(x * s)), static_cast<LONG>(std::trunc(y * s))};
            return ::MonitorFromPoint(p, MONITOR_DEFAULTTONULL) != nullptr;
        };
        return on(l, t) && on(l + width - 1, t) && on(l, t + height - 1) &&
               on(l + width - 1, t + height - 1);
    };
    if (!onDisplay(left, top)) {
        POINT centre{static_cast<LONG>(vx + vw / 2), static_cast<LONG>(vy + vh / 2)};
        MONITORINFO info{sizeof info};
        if (::GetMonitorInfoW(::MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), &info)) {
            const RECT& work = info.rcWork;
            const int workTop = static_cast<int>(std::ceil(work.top / s));
            const int workBottom = static_cast<int>(std::floor(work.bottom / s));
            const int workLeft = static_cast<int>(std::ceil(work.left / s));
            const int workRight = static_cast<int>(std::floor(work.right / s));
            top = std::max(workTop, std::min(top, workBottom - height));
            if (!onDisplay(left, top)) {
                left = std::max(workLeft, std::min(left, workRight - width));
            }
        }
    }
    form.SetWindowBounds(left, top, width, height);
}

} // namespace toolkit::win32
