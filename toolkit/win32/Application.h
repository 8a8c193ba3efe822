// The application object: initialises the process's UI services, makes the
// forms with their windows, runs the event loop and processes pending events
// for handlers that wait without blocking the window.
#pragma once

#include "platform/Com.h"
#include "toolkit/Form.h"
#include "toolkit/win32/HostWindow.h"

#include <memory>
#include <vector>

namespace toolkit::win32 {

class TApplication {
public:
    TApplication();
    ~TApplication();

    void Initialize();

    // Makes a form of type T, stores it in `reference` before anything of it
    // runs, gives it its window and runs its creation handler. The first
    // form made is the main form: closing it ends the event loop.
    template <typename T> void CreateForm(T*& reference) {
        auto form = std::make_unique<T>();
        reference = form.get();
        Adopt(std::move(form));
    }

    // Shows the main form centred on the desktop and dispatches events
    // until the main form closes.
    void Run();
    // Handles every event waiting in the queue, then returns.
    void ProcessMessages();
    bool Terminated() const { return terminated_; }

    HostWindow* HostOf(const Form& form) const;
    // Tears down every form and its window; for tests that make forms
    // without running the loop.
    void DestroyForms();

private:
    void Adopt(std::unique_ptr<Form> form);
    void DispatchOne(MSG& message);

    struct Entry {
        std::unique_ptr<Form> form;
        std::unique_ptr<HostWindow> host;
    };
    // First, so it is left last: the forms and the rasterizer hold COM
    // objects.
    platform::ComApartment com_;
    std::vector<Entry> forms_;
    std::unique_ptr<GlyphRasterizer> rasterizer_;
    bool initialized_ = false;
    bool terminated_ = false;
};

// Centres a form's window on the desktop (the bounding rectangle of all
// displays) and pulls it into a work area if a corner lies on no display.
void CentreOnDesktop(Form& form);

} // namespace toolkit::win32

extern toolkit::win32::TApplication Application;
