#include "toolkit/AccessibleTree.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace toolkit {

namespace {

// A control's rectangle in logical units relative to the window.
RectF LogicalInWindow(const Control& control) {
    RectF r = control.Bounds();
    for (const Control* p = control.Parent(); p != nullptr && p->Parent() != nullptr;
         p = p->Parent()) {
        r.x += p->Bounds().x;
        r.y += p->Bounds().y;
    }
    return r;
}

void CollectShown(Control& control, std::vector<Control*>& out) {
    for (const auto& child : control.Children()) {
        if (child->Role() != AccessibleRole::None) {
            out.push_back(child.get());
        }
        CollectShown(*child, out);
    }
}

} // namespace

AccessibleTree::AccessibleTree(Form& form) : form_(form) {
    std::vector<Control*> shown;
    CollectShown(form, shown);
    // Reading order: controls whose vertical extents overlap share a line;
    // lines go from the top, each left to right.
    std::stable_sort(shown.begin(), shown.end(), [](const Control* a, const Control* b) {
        return LogicalInWindow(*a).y < LogicalInWindow(*b).y;
    });
    std::size_t lineStart = 0;
    float lineBottom = -std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i <= shown.size(); ++i) {
        const bool newLine =
            i == shown.size() || (i > lineStart && LogicalInWindow(*shown[i]).y >= lineBottom);
        if (newLine) {
            std::stable_sort(shown.begin() + std::ptrdiff_t(lineStart),
                             shown.begin() + std::ptrdiff_t(i),
                             [](const Control* a, const Control* b) {
                                 return LogicalInWindow(*a).x < LogicalInWindow(*b).x;
                             });
            lineStart = i;
            lineBottom = -std::numeric_limits<float>::infinity();
        }
        if (i < shown.size()) {
            const RectF r = LogicalInWindow(*shown[i]);
            lineBottom = std::max(lineBottom, r.y + r.height);
        }
    }
    children_ = std::move(shown);
}

Control* AccessibleTree::ControlOf(int id) const {
    return id >= 1 && id <= ChildCount() ? children_[std::size_t(id - 1)] : nullptr;
}

std::optional<int> AccessibleTree::IdOf(const Control& control) const {
    const auto it = std::find(children_.begin(), children_.end(), &control);
    if (it == children_.end()) {
        return std::nullopt;
    }
    return int(it - children_.begin()) + 1;
}

std::wstring AccessibleTree::Name(int id) const {
    const Control* control = ControlOf(id);
    return control != nullptr ? control->AccessibleName() : title_;
}

AccessibleRole AccessibleTree::Role(int id) const {
    const Control* control = ControlOf(id);
    return control != nullptr ? control->Role() : AccessibleRole::Window;
}

unsigned AccessibleTree::State(int id) const {
    const Control* control = ControlOf(id);
    if (control == nullptr) {
        return form_.ScreenRect().Empty() ? StateInvisible : StateNormal;
    }
    const unsigned state = control->AccessibleState();
    return (state & StateFocusable) != 0 && form_.Focused() == control ? state | StateFocused
                                                                       : state;
}

std::optional<std::wstring> AccessibleTree::Value(int id) const {
    const Control* control = ControlOf(id);
    return control != nullptr ? control->AccessibleValue() : std::nullopt;
}

RectI AccessibleTree::Location(int id) const {
    const RectI screen = form_.ScreenRect();
    const Control* control = ControlOf(id);
    if (control == nullptr) {
        return screen;
    }
    const RectI& r = control->PhysicalRect();
    return {screen.left + r.left, screen.top + r.top, screen.left + r.right, screen.top + r.bottom};
}

std::wstring AccessibleTree::DefaultAction(int id) const {
    const Control* control = ControlOf(id);
    return control != nullptr ? control->DefaultAction() : std::wstring();
}

std::optional<int> AccessibleTree::HitTest(int screenX, int screenY) const {
    const RectI screen = form_.ScreenRect();
    if (!screen.Contains(screenX, screenY)) {
        return std::nullopt;
    }
    for (const Control* c = form_.ControlAt(screenX - screen.left, screenY - screen.top);
         c != nullptr; c = c->Parent()) {
        if (const auto id = IdOf(*c)) {
            return id;
        }
    }
    return Self;
}

std::optional<int> AccessibleTree::Navigate(int from, NavDirection direction) const {
    const int count = ChildCount();
    switch (direction) {
    case NavDirection::FirstChild:
    case NavDirection::LastChild:
        if (from != Self || count == 0) {
            return std::nullopt;
        }
        return direction == NavDirection::FirstChild ? 1 : count;
    case NavDirection::Next:
        return from >= 1 && from < count ? std::optional<int>(from + 1) : std::nullopt;
    case NavDirection::Previous:
        return from > 1 && from <= count ? std::optional<int>(from - 1) : std::nullopt;
    default:
        break;
    }
    if (from < 1 || from > count) {
        return std::nullopt;
    }
    // Spatial: the nearest child wholly on that side that overlaps the
    // start on the other axis.
    const RectI a = Location(from);
    std::optional<int> best;
    long bestGap = 0;
    long bestOffset = 0;
    for (int id = 1; id <= count; ++id) {
        if (id == from) {
            continue;
        }
        const RectI b = Location(id);
        long gap = -1;
        long offset = 0;
        const bool overlapsX = b.left < a.right && a.left < b.right;
        const bool overlapsY = b.top < a.bottom && a.top < b.bottom;
        switch (direction) {
        case NavDirection::Left:
            gap = overlapsY && b.right <= a.left ? long(a.left) - b.right : -1;
            offset = std::labs(long(b.top + b.bottom) - (a.top + a.bottom));
            break;
        case NavDirection::Right:
            gap = overlapsY && b.left >= a.right ? long(b.left) - a.right : -1;
            offset = std::labs(long(b.top + b.bottom) - (a.top + a.bottom));
            break;
        case NavDirection::Up:
            gap = overlapsX && b.bottom <= a.top ? long(a.top) - b.bottom : -1;
            offset = std::labs(long(b.left + b.right) - (a.left + a.right));
            break;
        case NavDirection::Down:
            gap = overlapsX && b.top >= a.bottom ? long(b.top) - a.bottom : -1;
            offset = std::labs(long(b.left + b.right) - (a.left + a.right));
            break;
        default:
            break;
        }
        if (gap >= 0 && (!best || gap < bestGap || (gap == bestGap && offset < bestOffset))) {
            best = id;
            bestGap = gap;
            bestOffset = offset;
        }
    }
    return best;
}

AccessibleTree::ActionResult AccessibleTree::CanDoDefaultAction(int id) const {
    const Control* control = ControlOf(id);
    if (control == nullptr || DefaultAction(id).empty()) {
        return ActionResult::NoAction;
    }
    return control->Enabled() ? ActionResult::Done : ActionResult::Unavailable;
}

AccessibleTree::ActionResult AccessibleTree::DoDefaultAction(int id) {
    const ActionResult can = CanDoDefaultAction(id);
    if (can != ActionResult::Done) {
        return can;
    }
    Control* control = ControlOf(id);
    form_.Dispatch([&] { control->DoDefaultAction(form_); });
    return ActionResult::Done;
}

bool AccessibleTree::TakesValue(int id) const {
    return Value(id).has_value();
}

AccessibleTree::ActionResult AccessibleTree::CanSetValue(int id) const {
    if (!TakesValue(id)) {
        return ActionResult::NoAction;
    }
    return ControlOf(id)->Enabled() ? ActionResult::Done : ActionResult::Unavailable;
}

bool AccessibleTree::SetValue(int id, const std::wstring& text) {
    if (CanSetValue(id) != ActionResult::Done) {
        return false;
    }
    Control* control = ControlOf(id);
    form_.Dispatch([&] { control->SetAccessibleValue(text); });
    return true;
}

} // namespace toolkit
