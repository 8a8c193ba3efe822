#include "toolkit/win32/Application.h"

#include "platform/Display.h"
#include "platform/Units.h"
#include "toolkit/win32/DWriteRasterizer.h"
#include "toolkit/win32/ErrorDisplay.h"

#include <commctrl.h>

#include <algorithm>
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

namespace {

// The display whose work area's centre lies nearest the point (physical
// pixels); the first such in the system's order on a tie.
HMONITOR WorkAreaNearest(double x, double y) {
    struct Search {
        double x, y;
        HMONITOR best = nullptr;
        double bestDistance = std::numeric_limits<double>::infinity();
    } search{x, y};
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                const double dx = (info.rcWork.left + info.rcWork.right) / 2.0 - s.x;
                const double dy = (info.rcWork.top + info.rcWork.bottom) / 2.0 - s.y;
                const double distance = dx * dx + dy * dy;
                if (distance < s.bestDistance) {
                    s.best = monitor;
                    s.bestDistance = distance;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.best;
}

} // namespace

void CentreOnDesktop(Form& form) {
    namespace units = platform::units;
    const float scale = form.Scale();
    const double s = scale;
    const RECT desktop = platform::VirtualScreen();
    const int vx = desktop.left;
    const int vy = desktop.top;
    const int vw = desktop.right - desktop.left;
    const int vh = desktop.bottom - desktop.top;
    const double centreX = (vx + vw / 2.0) / s;
    const double centreY = (vy + vh / 2.0) / s;
    const int width = form.ClientWidth();
    const int height = form.ClientHeight();
    int left = units::Trunc(centreX - units::Trunc(width / 2.0));
    int top = units::Trunc(centreY - units::Trunc(height / 2.0));

    auto onDisplay = [&](int l, int t) {
        const auto on = [&](double x, double y) {
            POINT p{units::ToPhysical(x, scale), units::ToPhysical(y, scale)};
            return ::MonitorFromPoint(p, MONITOR_DEFAULTTONULL) != nullptr;
        };
        return on(l, t) && on(l + double(width) - 1, t) && on(l, t + double(height) - 1) &&
               on(l + double(width) - 1, t + double(height) - 1);
    };
    if (!onDisplay(left, top)) {
        // Not the display under the desktop's centre: that one's work area
        // can lie farther from it than another's.
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoW(WorkAreaNearest(vx + vw / 2.0, vy + vh / 2.0), &info)) {
            // The window's edges must land inside the work area's pixels.
            const RECT& work = info.rcWork;
            const int workTop = units::ToLogicalCeil(work.top, scale);
            const int workBottom = units::ToLogicalFloor(work.bottom, scale);
            const int workLeft = units::ToLogicalCeil(work.left, scale);
            const int workRight = units::ToLogicalFloor(work.right, scale);
            top = std::max(workTop, std::min(top, workBottom - height));
            if (!onDisplay(left, top)) {
                left = std::max(workLeft, std::min(left, workRight - width));
            }
        }
    }
    form.SetWindowBounds(left, top, width, height);
}

} // namespace toolkit::win32
