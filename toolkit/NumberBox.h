// A numeric edit box: draws a NumberEdit's text, caret and selection, and
// turns the form's mouse and key input into its editing calls. It is one of
// the few controls that take the keyboard focus and it shows the I-beam.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/NumberEdit.h"

namespace toolkit {

class NumberBox : public Control {
public:
    NumberBox(std::string name, double minimum, double maximum);

    NumberEdit& Edit() { return edit_; }
    const NumberEdit& Edit() const { return edit_; }
    double Value() const { return edit_.Value(); }
    void SetValue(double value);
    const std::wstring& Text() const { return edit_.Text(); }
    // Replaces the text as typing it over a full selection and pressing
    // Enter does: characters a box does not accept are dropped, and the
    // value is committed.
    void EnterText(const std::wstring& text);

    AccessibleRole Role() const override { return AccessibleRole::EditableText; }
    // The shown text is the value; a value set is typed and entered.
    std::optional<std::wstring> AccessibleValue() const override { return Text(); }
    void SetAccessibleValue(const std::wstring& text) override { EnterText(text); }

    bool TakesMouse() const override { return true; }
    bool TakesFocus() const override { return true; }
    // The arrows step the value and move the caret or the selection.
    bool KeepsPlainArrows() const override { return true; }
    Cursor CursorShape() const override { return Cursor::IBeam; }
    void MouseDown(MouseButton button, unsigned modifiers, PointF at) override;
    void MouseMove(unsigned modifiers, PointF at, bool inside) override;
    void MouseUp(MouseButton button, unsigned modifiers, PointF at, bool inside) override;
    void DoubleClick(MouseButton button, PointF at) override;
    void Wheel(int notches) override;
    void KeyDown(Key key, unsigned modifiers) override;
    void Char(wchar_t c) override;
    void FocusChanged(bool focused) override;
    void Paint(PaintContext& context) override;

    Notify onDoubleClick;

    // The clipboard, for copy, cut and paste; set by the host.
    std::function<std::wstring()> readClipboard;
    std::function<void(const std::wstring&)> writeClipboard;

    static constexpr const wchar_t* FontFamily = L"Segoe UI";
    static constexpr float FontSize = 12;
    static constexpr float Padding = 3;

private:
    std::size_t CaretAt(float x) const;
    // Repaints, and tells assistive technology when the shown text changed.
    void Refresh();

    NumberEdit edit_;
    bool focused_ = false;
    bool selecting_ = false;
    // Physical x of each caret position, from the last paint.
    std::vector<int> caretX_;
    float scale_ = 1;
    std::wstring announced_;
};

} // namespace toolkit
