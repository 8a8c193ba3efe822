// A flat tool button: a text glyph on a transparent face that lights up
// under the pointer. It reacts to the left button only and never takes the
// keyboard focus. A latching button toggles its pressed state when the
// button goes down, so its click handler reads the new state.
#pragma once

#include "toolkit/Control.h"

namespace toolkit {

class ToolButton : public Control {
public:
    using Control::Control;

    const std::wstring& Text() const { return text_; }
    void SetText(std::wstring text);
    void SetFont(std::wstring family, float size);
    const std::wstring& FontFamily() const { return family_; }
    float FontSize() const { return fontSize_; }

    bool StaysPressed() const { return staysPressed_; }
    void SetStaysPressed(bool latching) { staysPressed_ = latching; }
    bool IsPressed() const { return latched_; }
    void SetPressed(bool pressed);
    // What a left click does, without a pointer: a latching button toggles,
    // then the click handler runs. Nothing happens while disabled.
    void Click();

    AccessibleRole Role() const override {
        return staysPressed_ ? AccessibleRole::CheckButton : AccessibleRole::PushButton;
    }
    // A latching button is checked while pressed; its action is a click.
    unsigned AccessibleState() const override;
    void DoDefaultAction(Form&) override { Click(); }

    bool TakesMouse() const override { return true; }
    void MouseDown(MouseButton button, unsigned modifiers, PointF at) override;
    void MouseMove(unsigned modifiers, PointF at, bool inside) override;
    void MouseUp(MouseButton button, unsigned modifiers, PointF at, bool inside) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Paint(PaintContext& context) override;

    Notify onClick;

private:
    // A latching button's press, by pointer or by Click alike.
    void ToggleIfLatching();

    std::wstring text_;
    std::wstring family_ = L"Segoe UI";
    float fontSize_ = 12;
    bool staysPressed_ = false;
    bool latched_ = false;
    bool hot_ = false;
    bool down_ = false;
};

} // namespace toolkit
