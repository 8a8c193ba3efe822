#include "toolkit/Form.h"

#include "platform/Units.h"
#include "toolkit/WindowPixels.h"
#include "toolkit/WindowTracking.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace toolkit {

namespace units = platform::units;

Form::Form(std::string name) : Control(std::move(name)) {}

Form::~Form() = default;

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

void Form::AttachHost(FormHost* host, GlyphRasterizer* rasterizer) {
    host_ = host;
    glyphs_.SetRasterizer(rasterizer);
}

void Form::Create() {
    if (!created_) {
        created_ = true;
        if (onCreate) {
            onCreate();
        }
        LayoutChanged();
    }
}

void Form::Close() {
    if (host_ != nullptr) {
        host_->RequestClose();
    } else {
        HandleClose();
    }
}

void Form::HandleClose() {
    if (closing_) {
        return;
    }
    closing_ = true;
    Dispatch([&] {
        if (onClose) {
            onClose();
        }
    });
}

void Form::SetFormStyle(FormStyle style) {
    if (host_ != nullptr) {
        host_->SetTopmost(style == FormStyle::StayOnTop);
    }
}

void Form::LayoutChanged() {
    ComputePhysical();
    Present();
}

void Form::InvalidateWindow() {
    if (host_ != nullptr) {
        host_->ScheduleRepaint();
    }
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

namespace {

void PaintTree(Control& control, PaintContext& context, Canvas& canvas, RectI clip) {
    const RectI own = control.PhysicalRect().Intersect(clip);
    if (own.Empty()) {
        return;
    }
    canvas.SetClip(own);
    control.Paint(context);
    for (const auto& child : control.Children()) {
        PaintTree(*child, context, canvas, own);
    }
}

} // namespace

void Form::Render(Canvas& canvas) {
    Render(canvas, {0, 0, screen_.Width(), screen_.Height()});
}

void Form::Render(Canvas& canvas, RectI part, std::uint32_t* target) {
    canvas.BeginFrame(part.Width(), part.Height(), part.left, part.top, target);
    PaintContext context{canvas, glyphs_, scale_};
    for (const auto& child : Children()) {
        PaintTree(*child, context, canvas, part);
    }
    canvas.ResetClip();
    canvas.EndFrame();
}

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
        const KeyPlacement placement = PlacementForKey(key, modifiers, focused_ != nullptr);
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

void Form::HostFocusLost() {
    Dispatch([&] { SetFocus(nullptr); });
}

void Form::SetFocus(Control* control) {
    if (control == focused_) {
        return;
    }
    Control* previous = std::exchange(focused_, control);
    if (previous != nullptr) {
        previous->FocusChanged(false);
    }
    if (focused_ != nullptr) {
        focused_->FocusChanged(true);
        focused_->NotifyAccessible(AccessibleEvent::Focus);
    }
}

void Form::SetTabOrder(Control& control, int order) {
    std::erase_if(tabOrder_, [&](const auto& entry) { return entry.second == &control; });
    tabOrder_.emplace_back(order, &control);
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void Form::FocusNext(bool backwards) {
    if (tabOrder_.empty()) {
        return;
    }
    auto current = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                [&](const auto& entry) { return entry.second == focused_; });
    std::ptrdiff_t index =
        current == tabOrder_.end() ? (backwards ? 0 : -1) : current - tabOrder_.begin();
    const auto count = std::ptrdiff_t(tabOrder_.size());
    index = ((index + (backwards ? -1 : 1)) % count + count) % count;
    SetFocus(tabOrder_[std::size_t(index)].second);
}

void Form::ReportError(const std::exception& error) {
    if (host_ != nullptr) {
        host_->ReportError(error);
    }
}

} // namespace toolkit
