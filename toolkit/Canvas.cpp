#include "toolkit/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace toolkit {

namespace {

std::uint32_t Blend(std::uint32_t src, std::uint32_t dst) {
    const std::uint32_t inverse = 255 - (src >> 24);
    // Two channels at a time: red and blue, then alpha and green.
    std::uint32_t rb = (dst & 0x00FF00FFu) * inverse;
    std::uint32_t ag = ((dst >> 8) & 0x00FF00FFu) * inverse;
    rb = ((rb + 0x00800080u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + 0x00800080u + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return src + (rb | ag);
}

std::uint32_t Scale8(std::uint32_t premultiplied, std::uint32_t coverage) {
    std::uint32_t rb = (premultiplied & 0x00FF00FFu) * coverage;
    std::uint32_t ag = ((premultiplied >> 8) & 0x00FF00FFu) * coverage;
    rb = ((rb + 0x00800080u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + 0x00800080u + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

} // namespace

std::uint32_t Premultiply(Argb colour, float opacity) {
    const float a = std::clamp(opacity, 0.0f, 1.0f) * float(colour >> 24);
    const auto alpha = static_cast<std::uint32_t>(std::lround(a));
    auto channel = [&](int shift) {
        return static_cast<std::uint32_t>(
            std::lround(float((colour >> shift) & 0xFF) * a / 255.0f));
    };
    return (alpha << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

void Canvas::BeginFrame(int width, int height, int originX, int originY, std::uint32_t* target) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    originX_ = originX;
    originY_ = originY;
    if (target != nullptr) {
        pixels_ = target;
    } else {
        own_.resize(std::size_t(width_) * std::size_t(height_));
        pixels_ = own_.data();
    }
    rows_.assign(std::size_t(height_), RowState::Stale);
    ResetClip();
}

void Canvas::EndFrame() {
    for (int y = 0; y < height_; ++y) {
        Row(y);
    }
}

void Canvas::SetClip(RectI clip) {
    clip_ = Local(clip).Intersect({0, 0, width_, height_});
}

void Canvas::ResetClip() {
    clip_ = {0, 0, width_, height_};
}

std::uint32_t* Canvas::Row(int y) {
    std::uint32_t* row = pixels_ + std::size_t(y) * width_;
    if (rows_[y] == RowState::Stale) {
        std::memset(row, 0, std::size_t(width_) * sizeof(std::uint32_t));
        rows_[y] = RowState::Drawn;
    }
    return row;
}

void Canvas::Span(int y, int left, int right, std::uint32_t premultiplied) {
    left = std::max(left, clip_.left);
    right = std::min(right, clip_.right);
    if (y < clip_.top || y >= clip_.bottom || left >= right || premultiplied == 0) {
        return;
    }
    std::uint32_t* row = pixels_ + std::size_t(y) * width_;
    if (rows_[y] == RowState::Stale && left == 0 && right == width_) {
        // Over a transparent row source-over is a plain store.
        std::fill(row, row + width_, premultiplied);
        rows_[y] = RowState::Drawn;
        return;
    }
    row = Row(y);
    if ((premultiplied >> 24) == 255) {
        std::fill(row + left, row + right, premultiplied);
        return;
    }
    for (int x = left; x < right; ++x) {
        row[x] = Blend(premultiplied, row[x]);
    }
}

void Canvas::FillRect(RectI rect, Argb colour, float opacity) {
    const std::uint32_t src = Premultiply(colour, opacity);
    const RectI r = Local(rect).Intersect(clip_);
    for (int y = r.top; y < r.bottom; ++y) {
        Span(y, r.left, r.right, src);
    }
}

void Canvas::DrawRectangle(RectI rect, Argb fill, Argb stroke, int strokeWidth, float opacity) {
    rect = Local(rect);
    if (rect.Empty()) {
        return;
    }
    const std::uint32_t fillPm = Premultiply(fill, opacity);
    const std::uint32_t strokePm = Premultiply(stroke, opacity);
    const int sw = std::clamp(strokeWidth, 0, std::min(rect.Width(), rect.Height()));
    const int top = std::max(rect.top, clip_.top);
    const int bottom = std::min(rect.bottom, clip_.bottom);
    for (int y = top; y < bottom; ++y) {
        if (y < rect.top + sw || y >= rect.bottom - sw) {
            Span(y, rect.left, rect.right, strokePm);
            continue;
        }
        if (sw == 0) {
            Span(y, rect.left, rect.right, fillPm);
            continue;
        }
        std::uint32_t* row = pixels_ + std::size_t(y) * width_;
        const bool wholeRow = rows_[y] == RowState::Stale && rect.left <= clip_.left &&
                              rect.right >= clip_.right && clip_.left == 0 && clip_.right == width_;
        if (wholeRow) {
            // The common case, the viewfinder's rows: one pass of stores.
            std::fill(row, row + width_, fillPm);
            // Either side's stroke may lie wholly outside the row.
            const int leftEnd = std::min(rect.left + sw, width_);
            if (leftEnd > 0) {
                std::fill(row + std::max(rect.left, 0), row + leftEnd, strokePm);
            }
            const int rightStart = std::max(rect.right - sw, 0);
            if (rightStart < width_) {
                std::fill(row + rightStart, row + std::min(rect.right, width_), strokePm);
            }
            rows_[y] = RowState::Drawn;
            continue;
        }
        Span(y, rect.left, rect.left + sw, strokePm);
        Span(y, rect.left + sw, rect.right - sw, fillPm);
        Span(y, rect.right - sw, rect.right, strokePm);
    }
}

void Canvas::DrawGlyph(const GlyphBitmap& glyph, int x, int y, Argb colour, float opacity) {
    x -= originX_;
    y -= originY_;
    const RectI target = RectI{x, y, x + glyph.width, y + glyph.height}.Intersect(clip_);
    if (target.Empty()) {
        return;
    }
    const std::uint32_t tint = Premultiply(colour, opacity);
    const auto alpha = static_cast<std::uint32_t>(std::lround(std::clamp(opacity, 0.f, 1.f) * 255));
    for (int ty = target.top; ty < target.bottom; ++ty) {
        std::uint32_t* row = Row(ty);
        const std::size_t srcRow = std::size_t(ty - y) * glyph.width;
        for (int tx = target.left; tx < target.right; ++tx) {
            const std::size_t i = srcRow + std::size_t(tx - x);
            std::uint32_t src;
            if (glyph.colour) {
                src = alpha == 255 ? glyph.bgra[i] : Scale8(glyph.bgra[i], alpha);
            } else {
                src = Scale8(tint, glyph.coverage[i]);
            }
            if (src != 0) {
                row[tx] = Blend(src, row[tx]);
            }
        }
    }
}

} // namespace toolkit
