// The base of every control: a node in the window's tree with logical
// geometry, alignment and anchors, the physical rectangle it was given at
// the last layout, and the input it can receive.
#pragma once

#include "toolkit/Accessible.h"
#include "toolkit/Canvas.h"
#include "toolkit/Geometry.h"
#include "toolkit/Input.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

class Form;
class GlyphCache;

enum class Align { None, Top, Client };

enum Anchor : unsigned {
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
};

struct PaintContext {
    Canvas& canvas;
    GlyphCache& glyphs;
    float scale;
};

class Control {
public:
    using Notify = std::function<void(Control& sender)>;
    using MouseNotify =
        std::function<void(Control& sender, MouseButton, unsigned modifiers, float x, float y)>;

    explicit Control(std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }

    template <typename T, typename... Args> T& Add(Args&&... args) {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *child;
        Adopt(std::move(child));
        return ref;
    }
    Control* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<Control>>& Children() const { return children_; }
    Form* Root();

    // Logical geometry relative to the parent.
    const RectF& Bounds() const { return bounds_; }
    void SetBounds(RectF bounds);
    float Width() const { return bounds_.width; }
    float Height() const { return bounds_.height; }
    Align GetAlign() const { return align_; }
    void SetAlign(Align align);
    unsigned Anchors() const { return anchors_; }
    void SetAnchors(unsigned anchors) { anchors_ = anchors; }

    // Physical rectangle within the window, set by the form's layout.
    const RectI& PhysicalRect() const { return physical_; }
    void SetPhysicalRect(RectI rect) { physical_ = rect; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(std::wstring hint) { hint_ = std::move(hint); }

    // What assistive technology calls the control: its own name when it has
    // one, else its hint.
    const std::wstring& AccessibleName() const {
        return accessibleName_.empty() ? hint_ : accessibleName_;
    }
    void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
    // Controls whose role is None are not shown to assistive technology.
    virtual AccessibleRole Role() const { return role_; }
    void SetRole(AccessibleRole role) { role_ = role; }
    // What assistive technology reads and does beyond the role; each kind
    // of control answers for itself. The state holds the control's own
    // bits (unavailable, checked, focusable, invisible); whether it has the
    // focus is the form's to say.
    virtual unsigned AccessibleState() const;
    // The text the control shows as its value; nothing when it has none.
    // A control with a value takes a value set by assistive technology.
    virtual std::optional<std::wstring> AccessibleValue() const { return std::nullopt; }
    virtual void SetAccessibleValue(const std::wstring& /*text*/) {}
    // A short description of what the default action does, from the role;
    // empty when the control has none.
    virtual std::wstring DefaultAction() const;
    // Does what a left click on the control would: by default it takes the
    // focus when it can. Called through the form's dispatch.
    virtual void DoDefaultAction(Form& form);
    // Tells the window's host about a change assistive technology follows.
    void NotifyAccessible(AccessibleEvent event);

    // Controls that take no input let presses fall through to their parent.
    virtual bool TakesMouse() const { return false; }
    virtual bool TakesFocus() const { return false; }
    // Whether the plain and Shift arrows are this control's own while it has
    // the focus; a focused control that does not keep them leaves them to
    // placing the window (PlacementForKey).
    virtual bool KeepsPlainArrows() const { return false; }
    virtual Cursor CursorShape() const { return Cursor::Arrow; }

    // Coordinates are logical, relative to this control.
    virtual void MouseDown(MouseButton, unsigned /*modifiers*/, PointF) {}
    virtual void MouseMove(unsigned /*modifiers*/, PointF, bool /*inside*/) {}
    virtual void MouseUp(MouseButton, unsigned /*modifiers*/, PointF, bool /*inside*/) {}
    virtual void DoubleClick(MouseButton, PointF) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Wheel(int /*notches*/) {}
    virtual void KeyDown(Key, unsigned /*modifiers*/) {}
    virtual void Char(wchar_t) {}
    virtual void FocusChanged(bool /*focused*/) {}

    virtual void Paint(PaintContext&) {}

    // Asks the window to show this control's new look.
    void Invalidate();

    // Called by layout when its logical size changed.
    virtual void Resized() {}

    // Sets the bounds from layout: resizes and lays out the children but
    // does not ask the form to lay out again.
    void SetBoundsQuietly(RectF bounds);

private:
    void Adopt(std::unique_ptr<Control> child);

    std::string name_;
    Control* parent_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    RectF bounds_;
    RectI physical_;
    Align align_ = Align::None;
    unsigned anchors_ = AnchorLeft | AnchorTop;
    bool enabled_ = true;
    std::wstring hint_;
    std::wstring accessibleName_;
    AccessibleRole role_ = AccessibleRole::None;
};

// Places a control's children after its size changed from the old one:
// top-aligned first, then the one that fills the rest, then the anchored.
void LayoutChildren(Control& parent, float oldWidth, float oldHeight);

} // namespace toolkit
