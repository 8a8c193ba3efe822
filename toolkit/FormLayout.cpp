// The form's geometry and its limits: the window's logical place and size,
// the least size it keeps, and the conversion of the window and its
// controls to physical pixels that the host shows and the capture copies.
#include "toolkit/Form.h"

#include "platform/Units.h"
#include "toolkit/WindowPixels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace toolkit {

namespace units = platform::units;

int Form::MinimumClientHeight() const {
    float height = 0;
    for (const auto& child : Children()) {
        if (child->GetAlign() == Align::Top) {
            height += child->Height();
        }
    }
    return static_cast<int>(std::ceil(height));
}

void Form::SetWindowBounds(int left, int top, int width, int height) {
    const int oldLeft = left_, oldTop = top_, oldWidth = width_, oldHeight = height_;
    left_ = left;
    top_ = top;
    width_ = std::max(width, MinimumWindowWidth);
    height_ = std::max(height, MinimumClientHeight());
    SetBoundsQuietly({0, 0, float(width_), float(height_)});
    try {
        LayoutChanged();
    } catch (...) {
        // A size the system cannot show: keep the window as it was.
        left_ = oldLeft;
        top_ = oldTop;
        width_ = oldWidth;
        height_ = oldHeight;
        SetBoundsQuietly({0, 0, float(width_), float(height_)});
        LayoutChanged();
        throw;
    }
}

void Form::SetScale(float scale) {
    scale_ = scale;
    LayoutChanged();
}

void Form::LayoutChanged() {
    ComputePhysical();
    Present();
}

void Form::ComputePhysical() {
    double bars = 0;
    for (const auto& child : Children()) {
        if (child->GetAlign() == Align::Top) {
            bars += child->Height();
        }
    }
    screen_ = WindowPixels(left_, top_, width_, height_, bars, scale_);
    const int originX = screen_.left;
    const int originY = screen_.top;
    const Control* filler = nullptr;
    for (const auto& child : Children()) {
        const RectF& b = child->Bounds();
        const int x = units::ToPhysical(left_, b.x, scale_) - originX;
        const int y = units::ToPhysical(top_, b.y, scale_) - originY;
        child->SetPhysicalRect({x, y, x + units::ToPhysical(b.width, scale_),
                                y + units::ToPhysical(b.height, scale_)});
        if (child->GetAlign() == Align::Client) {
            filler = child.get();
        }
    }
    for (const auto& child : Children()) {
        RectI r = child->PhysicalRect();
        // Truncating the bar's and the filler's edges separately can leave a
        // gap row or, left of or above the screen's origin where truncation
        // goes up, an overlap row; either way the bar gives or takes it.
        if (child->GetAlign() == Align::Top && filler != nullptr &&
            std::abs(filler->PhysicalRect().top - r.bottom) == 1) {
            r.bottom = filler->PhysicalRect().top;
            child->SetPhysicalRect(r);
        }
        PlaceChildren(*child);
    }
    SetPhysicalRect({0, 0, screen_.Width(), screen_.Height()});
}

void Form::PlaceChildren(Control& parent) {
    const RectI& p = parent.PhysicalRect();
    for (const auto& child : parent.Children()) {
        const RectF& b = child->Bounds();
        const int x = p.left + units::ToPhysical(b.x, scale_);
        const int y = p.top + units::ToPhysical(b.y, scale_);
        child->SetPhysicalRect({x, y, x + units::ToPhysical(b.width, scale_),
                                y + units::ToPhysical(b.height, scale_)});
        PlaceChildren(*child);
    }
}

void Form::Present() {
    if (host_ != nullptr && created_) {
        host_->Present(screen_);
        host_->ControlsMoved();
    }
}

} // namespace toolkit
