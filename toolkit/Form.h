// The root of a window's control tree: the window's logical geometry, the
// conversion of that geometry to physical pixels, input routing with
// implicit mouse capture, keyboard focus and tab order, the window's own move
// and resize tracking by mouse and by keyboard, and the one place where a handler's error is caught
// and shown.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/FormHost.h"
#include "toolkit/GlyphCache.h"
#include "toolkit/KeyPlacement.h"
#include "toolkit/WindowTracking.h"

#include <functional>
#include <string>

namespace toolkit {

enum class FormStyle { Normal = 0, StayOnTop = 2 };

class Form : public Control {
public:
    explicit Form(std::string name);
    ~Form() override;

    // Logical geometry of the window, whole units; the client area is the
    // whole window (there is no frame).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int ClientWidth() const { return width_; }
    int ClientHeight() const { return height_; }
    // Sizes stop at a width of 1 and at the height of the top-aligned bars,
    // so the area that fills the rest never gets a negative size.
    void SetWindowBounds(int left, int top, int width, int height);
    void SetClientSize(int width, int height) { SetWindowBounds(left_, top_, width, height); }
    int MinimumClientHeight() const;

    float Scale() const { return scale_; }
    void SetScale(float scale);

    // The system window's class name and title, set by the program's own
    // form before its window is made.
    const std::wstring& WindowClassName() const { return className_; }
    void SetWindowClassName(std::wstring name) { className_ = std::move(name); }
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption) { caption_ = std::move(caption); }

    // Where the window lies on the screen in physical pixels (WindowPixels,
    // with the top-aligned bars). The conversion is the one the capture
    // code uses: the left and top edges of the window and of its top-level
    // children truncate their absolute logical position times the scale,
    // sizes truncate their logical size times the scale, and a top-aligned
    // bar takes any truncation slack so that the area below it keeps
    // exactly its own size.
    RectI ScreenRect() const { return screen_; }

    void AttachHost(FormHost* host, GlyphRasterizer* rasterizer);
    FormHost* Host() const { return host_; }
    // Paints the window into the canvas; only `part` of it (window physical
    // coordinates) when given.
    void Render(Canvas& canvas);
    // `target`, when given, is where the canvas paints (Canvas::BeginFrame).
    void Render(Canvas& canvas, RectI part, std::uint32_t* target = nullptr);

    // Runs the creation handler; the host calls it once before first show.
    void Create();
    // A close request: runs the closing handler, then the host closes.
    void Close();
    void HandleClose();

    void SetFormStyle(FormStyle style);

    // The window's own move and resize tracking, started while the mouse
    // button that was just pressed is still down.
    void StartWindowDrag();
    void StartWindowResize();
    bool Moving() const { return tracker_.Mode() == TrackingMode::Move; }
    bool Resizing() const { return tracker_.Mode() == TrackingMode::Resize; }

    Control* Focused() const { return focused_; }
    void SetFocus(Control* control);
    void FocusNext(bool backwards);
    // Tab order of a focusable control; lower first.
    void SetTabOrder(Control& control, int order);

    // Input from the host, in physical client pixels.
    void HostMouseDown(int x, int y, MouseButton button, unsigned modifiers);
    void HostDoubleClick(int x, int y, MouseButton button, unsigned modifiers);
    void HostMouseMove(int x, int y, unsigned modifiers);
    void HostMouseUp(int x, int y, MouseButton button, unsigned modifiers);
    void HostMouseLeave();
    void HostWheel(int x, int y, int notches);
    // Arrow keys move or resize the window by one unit each press, repeats
    // included, unless the focused control keeps them (PlacementForKey);
    // every other key goes to the focused control.
    void HostKeyDown(Key key, unsigned modifiers);
    void HostChar(wchar_t c);
    void HostFocusLost();
    void HostCaptureLost();

    // The deepest enabled-or-not control at a physical client point that
    // takes mouse input, or null.
    Control* ControlAt(int x, int y) const;
    PointF ToLocal(const Control& control, int x, int y) const;
    // A physical client point in logical client units, as move and resize
    // tracking measure the pointer.
    PointF TrackingPoint(int x, int y) const;

    void LayoutChanged();
    void InvalidateWindow();

    // Runs a handler; an error it raises is shown once and the form goes on.
    template <typename F> void Dispatch(F&& f) {
        try {
            f();
        } catch (const std::exception& error) {
            ReportError(error);
        }
    }

    std::function<void()> onCreate;
    std::function<void()> onClose;

private:
    void ComputePhysical();
    void PlaceChildren(Control& parent);
    void Present();
    void ReportError(const std::exception& error);
    void UpdateHover(int x, int y);
    void EndTracking();
    void PlaceByKey(const KeyPlacement& placement);

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    float scale_ = 1;
    std::wstring className_ = L"ToolkitForm";
    std::wstring caption_;
    RectI screen_;
    FormHost* host_ = nullptr;
    GlyphCache glyphs_;
    bool created_ = false;
    bool closing_ = false;

    WindowTracker tracker_{0};
    PointF pressPoint_; // client position of the last press, logical

    Control* pressed_ = nullptr;
    Control* hovered_ = nullptr;
    Control* focused_ = nullptr;
    std::vector<std::pair<int, Control*>> tabOrder_;
};

} // namespace toolkit
