// A filled and stroked rectangle with square corners; the title bar and the
// viewfinder are two of these. It takes mouse presses anywhere no child
// covers.
#pragma once

#include "toolkit/Control.h"

namespace toolkit {

class RectangleControl : public Control {
public:
    using Control::Control;

    Argb FillColor() const { return fill_; }
    void SetFillColor(Argb colour);
    Argb StrokeColor() const { return stroke_; }
    void SetStrokeColor(Argb colour);
    float StrokeThickness() const { return strokeThickness_; }
    void SetStrokeThickness(float thickness);
    float Opacity() const { return opacity_; }
    void SetOpacity(float opacity);

    bool TakesMouse() const override { return true; }
    void MouseDown(MouseButton button, unsigned modifiers, PointF at) override;
    void Paint(PaintContext& context) override;

    MouseNotify onMouseDown;

private:
    Argb fill_ = 0xFFE0E0E0;
    Argb stroke_ = 0xFF000000;
    float strokeThickness_ = 1;
    float opacity_ = 1;
};

// Physical stroke width: the logical width times the scale, truncated, but
// never thinner than one pixel when there is a stroke at all.
int PhysicalStroke(float thickness, float scale);

} // namespace toolkit
