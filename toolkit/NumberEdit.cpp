// The number box's editing model. Every change of the text goes through
// ReplaceSelection or ShowValue, which keep the caret and anchor inside the
// text; every change of the value goes through Clamp, which keeps it inside
// the range.
#include "toolkit/NumberEdit.h"

#include "toolkit/NumberText.h"
#include "toolkit/RoundHalfEven.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace toolkit {

namespace {

bool IsAccepted(wchar_t c) {
    return NumberEdit::AcceptedChars.find(c) != std::wstring_view::npos;
}

} // namespace

NumberEdit::NumberEdit(double minimum, double maximum)
    : minimum_(minimum), maximum_(maximum), value_(minimum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum) {
        throw std::invalid_argument("NumberEdit range must be finite with minimum <= maximum");
    }
    value_ = Clamp(minimum);
    ShowValue();
}

double NumberEdit::Clamp(double value) const {
    double clamped = std::clamp(value, minimum_, maximum_);
    return clamped == 0.0 ? 0.0 : clamped; // never keep a negative zero
}

void NumberEdit::SetValue(double value) {
    if (!std::isnan(value)) {
        value_ = Clamp(value);
    }
    ShowValue();
}

void NumberEdit::ShowValue() {
    text_ = FormatWholeNumber(value_);
    caret_ = anchor_ = text_.size();
    edited_ = false;
}

std::size_t NumberEdit::SelectionStart() const {
    return std::min(anchor_, caret_);
}

std::size_t NumberEdit::SelectionEnd() const {
    return std::max(anchor_, caret_);
}

void NumberEdit::SetCaret(std::size_t index, bool extend) {
    caret_ = std::min(index, text_.size());
    if (!extend) {
        anchor_ = caret_;
    }
}

void NumberEdit::SelectAll() {
    anchor_ = 0;
    caret_ = text_.size();
}

void NumberEdit::ReplaceSelection(std::wstring_view insert) {
    std::size_t start = SelectionStart();
    text_.replace(start, SelectionEnd() - start, insert);
    caret_ = anchor_ = start + insert.size();
    edited_ = true;
}

bool NumberEdit::TypeChar(wchar_t c) {
    if (!IsAccepted(c)) {
        return false;
    }
    ReplaceSelection(std::wstring_view(&c, 1));
    return true;
}

bool NumberEdit::Paste(std::wstring_view text) {
    std::wstring accepted;
    std::copy_if(text.begin(), text.end(), std::back_inserter(accepted), IsAccepted);
    if (accepted.empty()) {
        return false;
    }
    ReplaceSelection(accepted);
    return true;
}

std::wstring NumberEdit::SelectedText() const {
    return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void NumberEdit::DeleteSelection() {
    if (HasSelection()) {
        ReplaceSelection({});
    }
}

void NumberEdit::KeyDown(EditKey key, bool shift) {
    switch (key) {
    case EditKey::Left:
        if (!shift && HasSelection()) {
            SetCaret(SelectionStart(), false);
        } else {
            SetCaret(caret_ > 0 ? caret_ - 1 : 0, shift);
        }
        break;
    case EditKey::Right:
        if (!shift && HasSelection()) {
            SetCaret(SelectionEnd(), false);
        } else {
            SetCaret(caret_ + 1, shift);
        }
        break;
    case EditKey::Home:
        SetCaret(0, shift);
        break;
    case EditKey::End:
        SetCaret(text_.size(), shift);
        break;
    case EditKey::Backspace:
        if (!HasSelection() && caret_ > 0) {
            SetCaret(caret_ - 1, true);
        }
        DeleteSelection();
        break;
    case EditKey::Delete:
        if (!HasSelection()) {
            SetCaret(caret_ + 1, true);
        }
        DeleteSelection();
        break;
    case EditKey::Up:
        StepBy(Step);
        break;
    case EditKey::Down:
        StepBy(-Step);
        break;
    case EditKey::Enter:
        Commit();
        break;
    case EditKey::Escape:
        ShowValue();
        SelectAll();
        break;
    }
}

void NumberEdit::Commit() {
    if (edited_) {
        if (text_.empty()) {
            value_ = minimum_;
        } else if (std::optional<double> number = ParseNumberText(text_)) {
            value_ = Clamp(RoundHalfEven(*number));
        }
        // Unreadable text leaves the value as it was.
    }
    ShowValue();
}

void NumberEdit::StepBy(double delta) {
    // The step applies to the number the box shows now, typed or not; text
    // that does not read as a number has none, so the value stands in for it,
    // and an empty text stands for the minimum as it would on a commit.
    double base = value_;
    if (edited_) {
        if (text_.empty()) {
            base = minimum_;
        } else if (std::optional<double> number = ParseNumberText(text_)) {
            base = RoundHalfEven(*number);
        }
    }
    SetValue(base + delta);
}

void NumberEdit::Wheel(int notches) {
    if (notches != 0) {
        StepBy(Step * notches);
    }
}

void NumberEdit::FocusLost() {
    Commit();
}

void NumberEdit::DragPress(float x, float y) {
    drag_ = DragState::Pending;
    dragX_ = x;
    dragY_ = y;
}

bool NumberEdit::DragMove(float x, float y) {
    // Differences in double: the coordinates are whatever the pointer gave,
    // and a float difference of two large coordinates could overflow.
    double dx = static_cast<double>(x) - dragX_;
    double dy = static_cast<double>(y) - dragY_;
    double delta = 0;
    switch (drag_) {
    case DragState::None:
        return false;
    case DragState::Pending:
        if (!(std::fabs(dx) > DragThreshold || std::fabs(dy) > DragThreshold)) {
            return false; // still a click: the caret, not the value
        }
        drag_ = std::fabs(dx) > std::fabs(dy) ? DragState::Horizontal : DragState::Vertical;
        // The crossing move is the first step, in the direction moved.
        delta = drag_ == DragState::Horizontal ? (dx > 0 ? Step : -Step)
                                               : (dy < 0 ? VerticalDragStep : -VerticalDragStep);
        break;
    case DragState::Horizontal:
        if (dx > DragStepDistance) {
            delta = Step;
        } else if (dx < -DragStepDistance) {
            delta = -Step;
        }
        break;
    case DragState::Vertical:
        // Window y grows downward; moving up adds.
        if (dy < -DragStepDistance) {
            delta = VerticalDragStep;
        } else if (dy > DragStepDistance) {
            delta = -VerticalDragStep;
        }
        break;
    }
    if (delta != 0) {
        // One step per pointer movement, however far it went: the next step
        // is measured from here.
        StepBy(delta);
        dragX_ = x;
        dragY_ = y;
    }
    return true;
}

void NumberEdit::DragRelease() {
    drag_ = DragState::None;
}

} // namespace toolkit
