#include "toolkit/Control.h"

#include "toolkit/Form.h"

namespace toolkit {

Control::Control(std::string name) : name_(std::move(name)) {}

Control::~Control() = default;

void Control::Adopt(std::unique_ptr<Control> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
}

Form* Control::Root() {
    Control* node = this;
    while (node->parent_ != nullptr) {
        node = node->parent_;
    }
    return dynamic_cast<Form*>(node);
}

unsigned Control::AccessibleState() const {
    unsigned state = StateNormal;
    if (!enabled_) {
        state |= StateUnavailable;
    }
    if (TakesFocus()) {
        state |= StateFocusable;
    }
    if (physical_.Empty()) {
        state |= StateInvisible;
    }
    return state;
}

std::wstring Control::DefaultAction() const {
    switch (Role()) {
    case AccessibleRole::PushButton:
        return L"Press";
    case AccessibleRole::CheckButton:
        return AccessibleState() & StateChecked ? L"Uncheck" : L"Check";
    case AccessibleRole::EditableText:
        return L"Focus";
    default:
        return {};
    }
}

void Control::DoDefaultAction(Form& form) {
    if (TakesFocus()) {
        form.SetFocus(this);
    }
}

void Control::SetBounds(RectF bounds) {
    SetBoundsQuietly(bounds);
    if (Form* form = Root()) {
        form->LayoutChanged();
    }
}

void Control::SetAlign(Align align) {
    align_ = align;
    if (parent_ != nullptr) {
        LayoutChildren(*parent_, parent_->Width(), parent_->Height());
    }
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Invalidate();
        NotifyAccessible(AccessibleEvent::StateChange);
    }
}

void Control::NotifyAccessible(AccessibleEvent event) {
    if (Form* form = Root()) {
        if (FormHost* host = form->Host()) {
            host->AccessibleChanged(event, *this);
        }
    }
}

void Control::Invalidate() {
    if (Form* form = Root()) {
        form->InvalidateWindow();
    }
}

void LayoutChildren(Control& parent, float oldWidth, float oldHeight) {
    const float dw = parent.Width() - oldWidth;
    const float dh = parent.Height() - oldHeight;
    float top = 0;
    for (const auto& child : parent.Children()) {
        RectF b = child->Bounds();
        switch (child->GetAlign()) {
        case Align::Top:
            b = {0, top, parent.Width(), b.height};
            top += b.height;
            break;
        case Align::Client:
            break; // placed below, after every top-aligned sibling
        case Align::None: {
            const unsigned a = child->Anchors();
            if (a & AnchorRight) {
                if (a & AnchorLeft) {
                    b.width += dw;
                } else {
                    b.x += dw;
                }
            }
            if (a & AnchorBottom) {
                if (a & AnchorTop) {
                    b.height += dh;
                } else {
                    b.y += dh;
                }
            }
            break;
        }
        }
        if (child->GetAlign() != Align::Client) {
            child->SetBoundsQuietly(b);
        }
    }
    for (const auto& child : parent.Children()) {
        if (child->GetAlign() == Align::Client) {
            child->SetBoundsQuietly(
                {0, top, parent.Width(), parent.Height() > top ? parent.Height() - top : 0});
        }
    }
}

void Control::SetBoundsQuietly(RectF bounds) {
    const RectF old = bounds_;
    bounds_ = bounds;
    if (old.width != bounds.width || old.height != bounds.height) {
        LayoutChildren(*this, old.width, old.height);
        Resized();
    }
}

} // namespace toolkit
