// The editing model of a number box: its value and range, the text it shows,
// caret and selection, typing and clipboard editing, committing typed text,
// stepping by keys, wheel and mouse drag. The control that draws the box and
// turns window messages into these calls wraps one of these; everything the
// box does with its content is decided here, so it can be tested and fuzzed
// without a window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace toolkit {

// The editing keys a number box responds to; everything else is either a
// typed character (TypeChar) or a clipboard command of the control.
enum class EditKey { Left, Right, Home, End, Backspace, Delete, Up, Down, Enter, Escape };

class NumberEdit {
public:
    // The characters a box accepts from the keyboard and the clipboard.
    static constexpr std::wstring_view AcceptedChars = L"0123456789-+";

    // Step of the arrow keys, each wheel notch and horizontal dragging, and of
    // vertical dragging.
    static constexpr double Step = 1;
    static constexpr double VerticalDragStep = 5;

    // How far (in logical units, on either axis) the pointer must move from
    // where it was pressed before a drag changes the value, and how far it
    // must then move from the previous step for the next one.
    static constexpr float DragThreshold = 5;
    static constexpr float DragStepDistance = 1;

    // A box for values in [minimum, maximum], holding the minimum. Throws
    // std::invalid_argument unless both are finite and minimum <= maximum.
    NumberEdit(double minimum, double maximum);

    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }

    // Stores value clamped to the range (NaN leaves the value as it is) and
    // shows it: the text becomes the value's whole number, the caret goes to
    // its end and nothing is selected.
    void SetValue(double value);
    double Value() const { return value_; }

    // What the box shows now: the value's text, or text typed since and not
    // yet committed (for example "+640"), exactly as typed.
    const std::wstring& Text() const { return text_; }

    // Caret and selection, as indices between characters of Text(). The
    // selection runs between the anchor and the caret, in either order.
    std::size_t Caret() const { return caret_; }
    std::size_t SelectionAnchor() const { return anchor_; }
    std::size_t SelectionStart() const;
    std::size_t SelectionEnd() const;
    bool HasSelection() const { return anchor_ != caret_; }

    // Places the caret (index limited to the text); with extend the anchor
    // stays, so the selection grows or shrinks, otherwise it collapses.
    void SetCaret(std::size_t index, bool extend);
    void SelectAll();

    // Types one character, replacing the selection. Characters outside
    // AcceptedChars are refused and change nothing; returns whether accepted.
    bool TypeChar(wchar_t c);

    // Inserts the accepted characters of text in place of the selection;
    // when text has none, nothing changes. Returns whether anything was
    // inserted.
    bool Paste(std::wstring_view text);

    // The selected text, for copy and cut; and removing it (cut, or the
    // control's own delete command).
    std::wstring SelectedText() const;
    void DeleteSelection();

    // Left/Right/Home/End move the caret (with shift the selection extends;
    // without, Left/Right on a selection go to its start/end); Backspace and
    // Delete remove the selection or one character; Up/Down step the value;
    // Enter commits; Escape shows the value again and selects all of it.
    void KeyDown(EditKey key, bool shift);

    // Wheel notches: positive turned up (adds), negative down (subtracts).
    void Wheel(int notches);

    // Losing the keyboard focus commits the text, as Enter does.
    void FocusLost();

    // Mouse drag with the left button, in the box's logical coordinates. A
    // press alone changes nothing (the control places the caret for it).
    // DragMove returns true once the pointer has passed the threshold and the
    // drag steps the value; from then on the control should not treat the
    // drag as a text selection.
    void DragPress(float x, float y);
    bool DragMove(float x, float y);
    void DragRelease();
    bool IsValueDrag() const {
        return drag_ == DragState::Horizontal || drag_ == DragState::Vertical;
    }

private:
    enum class DragState { None, Pending, Horizontal, Vertical };

    void Commit();
    void ShowValue();
    void ReplaceSelection(std::wstring_view insert);
    void StepBy(double delta);
    double Clamp(double value) const;

    double minimum_;
    double maximum_;
    double value_;
    std::wstring text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    // The text was edited since it last showed the value; only then has a
    // commit anything to read, so focusing in and out keeps a value such as
    // 626.25 instead of replacing it by its shown 626.
    bool edited_ = false;

    DragState drag_ = DragState::None;
    // The press point while Pending, then the position of the last step.
    float dragX_ = 0;
    float dragY_ = 0;
};

} // namespace toolkit
