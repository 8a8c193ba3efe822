// The window as assistive technology sees it: the window itself (id 0) and,
// as its children, every control with a role (ids 1..n) in reading order,
// line by line from the top and left to right within a line. The order is
// taken from the layout when the tree is made and then kept, so an id names
// the same control for the window's whole life, also when a resize moves
// anchored controls past others. Platform providers answer from here and
// only translate codes.
#pragma once

#include "toolkit/Accessible.h"
#include "toolkit/Form.h"

#include <optional>
#include <string>
#include <vector>

namespace toolkit {

class AccessibleTree {
public:
    static constexpr int Self = 0;

    explicit AccessibleTree(Form& form);

    int ChildCount() const { return int(children_.size()); }
    bool Valid(int id) const { return id >= Self && id <= ChildCount(); }
    // The control of a child id; null for the window itself.
    Control* ControlOf(int id) const;
    // The child id of a control, or nothing when it is not shown.
    std::optional<int> IdOf(const Control& control) const;

    // Each query takes a valid id.
    std::wstring Name(int id) const;
    AccessibleRole Role(int id) const;
    unsigned State(int id) const;
    // The text a box shows; nothing for controls without a value.
    std::optional<std::wstring> Value(int id) const;
    // Where the control is drawn, in physical screen pixels.
    RectI Location(int id) const;
    // A short description of what the default action does; empty when the
    // control has none.
    std::wstring DefaultAction(int id) const;

    // The child at a physical screen point, the window itself where no
    // child is, nothing outside the window.
    std::optional<int> HitTest(int screenX, int screenY) const;
    std::optional<int> Navigate(int from, NavDirection direction) const;

    enum class ActionResult { Done, NoAction, Unavailable };
    // Whether the default action can run now, without running it.
    ActionResult CanDoDefaultAction(int id) const;
    // Runs the default action through the form's dispatch, as a left click
    // on the control would: errors go to the error display.
    ActionResult DoDefaultAction(int id);
    // Whether the control has a value that SetValue sets.
    bool TakesValue(int id) const;
    // Whether a value can be set now: not on a control without one, nor on
    // a disabled box, as no action runs on a disabled control.
    ActionResult CanSetValue(int id) const;
    // Sets a box's text as typing it and pressing Enter does; false for
    // controls without a value and for disabled ones.
    bool SetValue(int id, const std::wstring& text);

    void SetTitle(std::wstring title) { title_ = std::move(title); }

private:
    Form& form_;
    std::vector<Control*> children_;
    std::wstring title_;
};

} // namespace toolkit
