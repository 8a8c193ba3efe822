#include "toolkit/NumberBox.h"

#include "platform/Units.h"
#include "toolkit/GlyphCache.h"

#include <cmath>

namespace toolkit {

namespace {
namespace units = platform::units;
constexpr Argb Face = 0xFFFFFFFF;
constexpr Argb Frame = 0xFF8A8A8A;
constexpr Argb FocusFrame = 0xFF0078D7;
constexpr Argb TextColour = 0xFF000000;
constexpr Argb SelectionColour = 0xFF99C9EF;
} // namespace

NumberBox::NumberBox(std::string name, double minimum, double maximum)
    : Control(std::move(name)), edit_(minimum, maximum), announced_(edit_.Text()) {}

void NumberBox::Refresh() {
    Invalidate();
    if (edit_.Text() != announced_) {
        announced_ = edit_.Text();
        NotifyAccessible(AccessibleEvent::ValueChange);
    }
}

void NumberBox::EnterText(const std::wstring& text) {
    edit_.SelectAll();
    edit_.DeleteSelection();
    for (wchar_t c : text) {
        edit_.TypeChar(c);
    }
    edit_.KeyDown(EditKey::Enter, false);
    Refresh();
}

void NumberBox::SetValue(double value) {
    edit_.SetValue(value);
    Refresh();
}

std::size_t NumberBox::CaretAt(float x) const {
    const double px = PhysicalRect().left + x * double(scale_);
    std::size_t best = 0;
    for (std::size_t i = 1; i < caretX_.size(); ++i) {
        if (std::abs(caretX_[i] - px) < std::abs(caretX_[best] - px)) {
            best = i;
        }
    }
    return best;
}

void NumberBox::MouseDown(MouseButton button, unsigned modifiers, PointF at) {
    if (button != MouseButton::Left) {
        return;
    }
    edit_.DragPress(at.x, at.y);
    edit_.SetCaret(CaretAt(at.x), (modifiers & ShiftKey) != 0);
    selecting_ = true;
    Refresh();
}

void NumberBox::MouseMove(unsigned modifiers, PointF at, bool) {
    if (!selecting_ || !(modifiers & LeftButtonDown)) {
        return;
    }
    if (!edit_.DragMove(at.x, at.y) && !edit_.IsValueDrag()) {
        edit_.SetCaret(CaretAt(at.x), true);
    }
    Refresh();
}

void NumberBox::MouseUp(MouseButton button, unsigned, PointF, bool) {
    if (button == MouseButton::Left && selecting_) {
        selecting_ = false;
        edit_.DragRelease();
        Refresh();
    }
}

void NumberBox::DoubleClick(MouseButton button, PointF) {
    if (button == MouseButton::Left && onDoubleClick) {
        onDoubleClick(*this);
    }
    Refresh();
}

void NumberBox::Wheel(int notches) {
    edit_.Wheel(notches);
    Refresh();
}

void NumberBox::KeyDown(Key key, unsigned modifiers) {
    const bool shift = (modifiers & ShiftKey) != 0;
    switch (key) {
    case Key::Left:
        edit_.KeyDown(EditKey::Left, shift);
        break;
    case Key::Right:
        edit_.KeyDown(EditKey::Right, shift);
        break;
    case Key::Home:
        edit_.KeyDown(EditKey::Home, shift);
        break;
    case Key::End:
        edit_.KeyDown(EditKey::End, shift);
        break;
    case Key::Up:
        edit_.KeyDown(EditKey::Up, shift);
        break;
    case Key::Down:
        edit_.KeyDown(EditKey::Down, shift);
        break;
    case Key::Backspace:
        edit_.KeyDown(EditKey::Backspace, shift);
        break;
    case Key::Delete:
        edit_.KeyDown(EditKey::Delete, shift);
        break;
    case Key::Enter:
        edit_.KeyDown(EditKey::Enter, shift);
        break;
    case Key::Escape:
        edit_.KeyDown(EditKey::Escape, shift);
        break;
    case Key::SelectAll:
        edit_.SelectAll();
        break;
    case Key::Copy:
    case Key::Cut:
        if (edit_.HasSelection() && writeClipboard) {
            writeClipboard(edit_.SelectedText());
            if (key == Key::Cut) {
                edit_.DeleteSelection();
            }
        }
        break;
    case Key::Paste:
        if (readClipboard) {
            edit_.Paste(readClipboard());
        }
        break;
    default:
        return;
    }
    Refresh();
}

void NumberBox::Char(wchar_t c) {
    edit_.TypeChar(c);
    Refresh();
}

void NumberBox::FocusChanged(bool focused) {
    focused_ = focused;
    if (!focused) {
        selecting_ = false;
        edit_.FocusLost();
    }
    Refresh();
}

void NumberBox::Paint(PaintContext& context) {
    scale_ = context.scale;
    const RectI r = PhysicalRect();
    const int frame = std::max(1, units::ToPhysical(1, context.scale));
    context.canvas.DrawRectangle(r, Face, focused_ ? FocusFrame : Frame, frame, 1.0f);

    const RectI inner{r.left + frame, r.top + frame, r.right - frame, r.bottom - frame};
    context.canvas.SetClip(inner);
    const int pad = units::ToPhysical(Padding, context.scale);
    const std::wstring& text = edit_.Text();
    std::vector<const GlyphBitmap*> glyphs;
    caretX_.assign(1, inner.left + pad);
    int lineHeight = 0;
    for (wchar_t c : text) {
        const GlyphBitmap& glyph =
            context.glyphs.Get({std::wstring(1, c), FontFamily, FontSize, context.scale});
        glyphs.push_back(&glyph);
        caretX_.push_back(caretX_.back() + glyph.advance);
        lineHeight = std::max(lineHeight, glyph.lineHeight);
    }
    if (lineHeight == 0) {
        lineHeight = units::ToPhysical(FontSize * 1.33, context.scale);
    }
    const int top = inner.top + (inner.Height() - lineHeight) / 2;
    if (focused_ && edit_.HasSelection()) {
        context.canvas.FillRect(
            {caretX_[edit_.SelectionStart()], top, caretX_[edit_.SelectionEnd()], top + lineHeight},
            SelectionColour, 1.0f);
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        context.canvas.DrawGlyph(*glyphs[i], caretX_[i] + glyphs[i]->offsetX,
                                 top + glyphs[i]->offsetY, TextColour, 1.0f);
    }
    if (focused_) {
        const int x = caretX_[std::min(edit_.Caret(), caretX_.size() - 1)];
        context.canvas.FillRect({x, top, x + frame, top + lineHeight}, TextColour, 1.0f);
    }
}

} // namespace toolkit
