#include "toolkit/RectangleControl.h"

#include "platform/Units.h"

#include <algorithm>
#include <cmath>

namespace toolkit {

int PhysicalStroke(float thickness, float scale) {
    if (thickness <= 0) {
        return 0;
    }
    return std::max(1, platform::units::ToPhysical(thickness, scale));
}

void RectangleControl::SetFillColor(Argb colour) {
    if (fill_ != colour) {
        fill_ = colour;
        Invalidate();
    }
}

void RectangleControl::SetStrokeColor(Argb colour) {
    stroke_ = colour;
    Invalidate();
}

void RectangleControl::SetStrokeThickness(float thickness) {
    strokeThickness_ = thickness;
    Invalidate();
}

void RectangleControl::SetOpacity(float opacity) {
    opacity_ = std::clamp(opacity, 0.0f, 1.0f);
    Invalidate();
}

void RectangleControl::MouseDown(MouseButton button, unsigned modifiers, PointF at) {
    if (onMouseDown) {
        onMouseDown(*this, button, modifiers, at.x, at.y);
    }
}

void RectangleControl::Paint(PaintContext& context) {
    context.canvas.DrawRectangle(PhysicalRect(), fill_, stroke_,
                                 PhysicalStroke(strokeThickness_, context.scale), opacity_);
}

} // namespace toolkit
