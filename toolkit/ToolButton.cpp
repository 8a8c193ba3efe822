#include "toolkit/ToolButton.h"

#include "toolkit/GlyphCache.h"

namespace toolkit {

namespace {
constexpr Argb HotFace = 0xFFFFFFFF;
constexpr Argb DownFace = 0xFF000000;
constexpr Argb GlyphColour = 0xFF000000;
} // namespace

void ToolButton::SetText(std::wstring text) {
    text_ = std::move(text);
    Invalidate();
}

void ToolButton::SetFont(std::wstring family, float size) {
    family_ = std::move(family);
    fontSize_ = size;
    Invalidate();
}

void ToolButton::SetPressed(bool pressed) {
    if (latched_ != pressed) {
        latched_ = pressed;
        Invalidate();
        NotifyAccessible(AccessibleEvent::StateChange);
    }
}

void ToolButton::ToggleIfLatching() {
    if (staysPressed_) {
        SetPressed(!latched_);
    }
}

void ToolButton::Click() {
    if (!Enabled()) {
        return;
    }
    ToggleIfLatching();
    if (onClick) {
        onClick(*this);
    }
}

void ToolButton::MouseDown(MouseButton button, unsigned, PointF) {
    if (button != MouseButton::Left) {
        return;
    }
    down_ = true;
    Invalidate();
    ToggleIfLatching();
}

void ToolButton::MouseMove(unsigned, PointF, bool inside) {
    if (hot_ != inside) {
        hot_ = inside;
        Invalidate();
    }
}

void ToolButton::MouseUp(MouseButton button, unsigned, PointF, bool inside) {
    if (button != MouseButton::Left || !down_) {
        return;
    }
    down_ = false;
    hot_ = inside;
    Invalidate();
    if (inside && Enabled() && onClick) {
        onClick(*this);
    }
}

void ToolButton::MouseEnter() {
    hot_ = true;
    Invalidate();
}

void ToolButton::MouseLeave() {
    hot_ = false;
    Invalidate();
}

unsigned ToolButton::AccessibleState() const {
    const unsigned state = Control::AccessibleState();
    return StaysPressed() && IsPressed() ? state | StateChecked : state;
}

void ToolButton::Paint(PaintContext& context) {
    const RectI r = PhysicalRect();
    if (Enabled()) {
        if (down_ && hot_) {
            context.canvas.FillRect(r, DownFace, 0.25f);
        } else if (latched_) {
            context.canvas.FillRect(r, DownFace, 0.18f);
        } else if (hot_) {
            context.canvas.FillRect(r, HotFace, 0.25f);
        }
    }
    if (text_.empty()) {
        return;
    }
    const GlyphBitmap& glyph = context.glyphs.Get({text_, family_, fontSize_, context.scale});
    const int boxLeft = r.left + (r.Width() - glyph.advance) / 2;
    const int boxTop = r.top + (r.Height() - glyph.lineHeight) / 2;
    context.canvas.DrawGlyph(glyph, boxLeft + glyph.offsetX, boxTop + glyph.offsetY, GlyphColour,
                             Enabled() ? 1.0f : 0.35f);
}

} // namespace toolkit
