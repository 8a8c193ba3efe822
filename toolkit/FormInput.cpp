// Routing the window's input: mouse presses, moves and wheel turns to the
// control under the pointer (or to the one that holds the implicit capture),
// the window's own move and resize tracking, and keys, where the arrows
// place the window unless the focused control keeps them.
#include "toolkit/Form.h"

#include "toolkit/WindowTracking.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>

namespace toolkit {

void Form::StartWindowDrag() {
    tracker_ = WindowTracker(MinimumClientHeight());
    tracker_.StartMove(pressPoint_.x, pressPoint_.y);
    if (host_ != nullptr) {
        host_->CaptureMouse(true);
    }
}

void Form::StartWindowResize() {
    tracker_ = WindowTracker(MinimumClientHeight());
    tracker_.StartResize({left_, top_, width_, height_}, pressPoint_.x, pressPoint_.y);
    if (host_ != nullptr) {
        host_->CaptureMouse(true);
    }
}

void Form::EndTracking() {
    if (tracker_.Mode() != TrackingMode::None) {
        tracker_.Stop();
        if (host_ != nullptr) {
            host_->CaptureMouse(false);
            host_->SetCursorShape(Cursor::Arrow);
        }
    }
}

Control* Form::ControlAt(int x, int y) const {
    const Control* found = nullptr;
    std::function<void(const Control&)> visit = [&](const Control& control) {
        for (const auto& child : control.Children()) {
            if (child->PhysicalRect().Contains(x, y)) {
                if (child->TakesMouse()) {
                    found = child.get();
                }
                visit(*child);
            }
        }
    };
    visit(*this);
    return const_cast<Control*>(found);
}

PointF Form::TrackingPoint(int x, int y) const {
    // Measured from the window's logical origin, not from its truncated
    // physical one: the truncation's fraction changes as the window moves,
    // and measuring from it makes a still pointer seem to move, so the
    // window would hop back and forth between two places.
    const double s = scale_;
    return {float((x + screen_.left) / s - left_), float((y + screen_.top) / s - top_)};
}

PointF Form::ToLocal(const Control& control, int x, int y) const {
    const RectI& r = control.PhysicalRect();
    return {float((x - r.left) / double(scale_)), float((y - r.top) / double(scale_))};
}

void Form::HostMouseDown(int x, int y, MouseButton button, unsigned modifiers) {
    Dispatch([&] {
        if (tracker_.Mode() != TrackingMode::None || pressed_ != nullptr) {
            return;
        }
        pressPoint_ = TrackingPoint(x, y);
        Control* target = ControlAt(x, y);
        if (target == nullptr || !target->Enabled()) {
            return;
        }
        if (target->TakesFocus()) {
            SetFocus(target);
        }
        pressed_ = target;
        if (host_ != nullptr) {
            host_->CaptureMouse(true);
        }
        target->MouseDown(button, modifiers, ToLocal(*target, x, y));
    });
}

void Form::HostDoubleClick(int x, int y, MouseButton button, unsigned modifiers) {
    HostMouseDown(x, y, button, modifiers);
    Dispatch([&] {
        Control* target = ControlAt(x, y);
        if (target != nullptr && target->Enabled() && tracker_.Mode() == TrackingMode::None) {
            target->DoubleClick(button, ToLocal(*target, x, y));
        }
    });
}

void Form::HostMouseMove(int x, int y, unsigned modifiers) {
    Dispatch([&] {
        if (tracker_.Mode() != TrackingMode::None) {
            const PointF p = TrackingPoint(x, y);
            if (tracker_.Mode() == TrackingMode::Resize && host_ != nullptr) {
                host_->SetCursorShape(Cursor::SizeNwse);
            }
            const WindowRect next = tracker_.PointerMoved({left_, top_, width_, height_}, p.x, p.y);
            SetWindowBounds(next.left, next.top, next.width, next.height);
            return;
        }
        if (pressed_ != nullptr) {
            pressed_->MouseMove(modifiers, ToLocal(*pressed_, x, y),
                                pressed_->PhysicalRect().Contains(x, y));
            return;
        }
        UpdateHover(x, y);
    });
}

void Form::UpdateHover(int x, int y) {
    Control* target = ControlAt(x, y);
    if (target != hovered_) {
        if (hovered_ != nullptr) {
            hovered_->MouseLeave();
        }
        hovered_ = target;
        if (hovered_ != nullptr) {
            hovered_->MouseEnter();
        }
    }
    if (host_ != nullptr) {
        host_->SetCursorShape(target != nullptr ? target->CursorShape() : Cursor::Arrow);
    }
    if (hovered_ != nullptr) {
        hovered_->MouseMove(0, ToLocal(*hovered_, x, y), true);
    }
}

void Form::HostMouseUp(int x, int y, MouseButton button, unsigned modifiers) {
    Dispatch([&] {
        if (tracker_.Mode() != TrackingMode::None) {
            pressed_ = nullptr;
            EndTracking();
            return;
        }
        Control* target = std::exchange(pressed_, nullptr);
        if (host_ != nullptr) {
            host_->CaptureMouse(false);
        }
        if (target != nullptr) {
            target->MouseUp(button, modifiers, ToLocal(*target, x, y),
                            target->PhysicalRect().Contains(x, y));
        }
        UpdateHover(x, y);
    });
}

void Form::HostMouseLeave() {
    Dispatch([&] {
        if (hovered_ != nullptr && pressed_ == nullptr) {
            hovered_->MouseLeave();
            hovered_ = nullptr;
        }
    });
}

void Form::HostCaptureLost() {
    Dispatch([&] {
        EndTracking();
        if (Control* target = std::exchange(pressed_, nullptr)) {
            target->MouseUp(MouseButton::Left, 0, {-1, -1}, false);
        }
    });
}

void Form::HostWheel(int x, int y, int notches) {
    Dispatch([&] {
        Control* target = ControlAt(x, y);
        if (target == nullptr || !target->TakesFocus()) {
            target = focused_;
        }
        if (target != nullptr && target->Enabled()) {
            target->Wheel(notches);
        }
    });
}

void Form::HostKeyDown(Key key, unsigned modifiers) {
    Dispatch([&] {
        if (key == Key::Tab) {
            FocusNext((modifiers & ShiftKey) != 0);
            return;
        }
        const KeyPlacement placement =
            PlacementForKey(key, modifiers, focused_ != nullptr && focused_->KeepsPlainArrows());
        if (placement.action != KeyAction::ToFocused) {
            PlaceByKey(placement);
            return;
        }
        if (focused_ != nullptr) {
            focused_->KeyDown(key, modifiers);
        }
    });
}

namespace {

int StepSaturated(int value, int step) {
    return int(std::clamp<std::int64_t>(std::int64_t(value) + step, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

} // namespace

void Form::PlaceByKey(const KeyPlacement& placement) {
    // A drag in progress owns the window's geometry: its next pointer step
    // would undo the key's anyway.
    if (tracker_.Mode() != TrackingMode::None) {
        return;
    }
    // The same path as a drag's steps, so the window's own limits hold and
    // the boxes are left as they are.
    if (placement.action == KeyAction::Move) {
        SetWindowBounds(StepSaturated(left_, placement.dx), StepSaturated(top_, placement.dy),
                        width_, height_);
    } else {
        SetWindowBounds(left_, top_, StepSaturated(width_, placement.dx),
                        StepSaturated(height_, placement.dy));
    }
}

void Form::HostChar(wchar_t c) {
    Dispatch([&] {
        if (focused_ != nullptr) {
            focused_->Char(c);
        }
    });
}

} // namespace toolkit
