// The form's life and look: its host, creation and closing, the stay-on-top
// style, painting its controls into a canvas, and the one place a handler's
// error is shown. Its geometry and limits are in FormLayout.cpp, the routing
// of mouse and keys and the window's own tracking in FormInput.cpp, the
// keyboard focus in FormFocus.cpp.
#include "toolkit/Form.h"

#include <cstdint>
#include <utility>

namespace toolkit {

Form::Form(std::string name) : Control(std::move(name)) {}

Form::~Form() = default;

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

void Form::InvalidateWindow() {
    if (host_ != nullptr) {
        host_->ScheduleRepaint();
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

void Form::ReportError(const std::exception& error) {
    if (host_ != nullptr) {
        host_->ReportError(error);
    }
}

} // namespace toolkit
