// The painter: draws into a 32-bit premultiplied BGRA buffer, the format
// UpdateLayeredWindow takes. Rows start out "stale" each frame and are
// cleared only where nothing covers them whole, so a frame of opaque or
// half-transparent rectangles costs about one fill of the buffer.
#pragma once

#include "toolkit/Geometry.h"
#include "toolkit/Glyph.h"

#include <cstdint>
#include <vector>

namespace toolkit {

using Argb = std::uint32_t; // alpha in the top byte, straight (not premultiplied)

// A straight ARGB colour scaled by an opacity, premultiplied.
std::uint32_t Premultiply(Argb colour, float opacity);

class Canvas {
public:
    Canvas() = default;
    // A copy would paint into the original's buffer.
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    // A moved buffer keeps its storage, so the frame stays where it was.
    Canvas(Canvas&&) = default;
    Canvas& operator=(Canvas&&) = default;

    // A frame of width x height pixels showing the drawing area from
    // (originX, originY) on: callers draw in their own coordinates and the
    // canvas keeps only that part, so a window larger than the screen
    // costs only what shows. The frame is painted into `target` when given
    // (width x height pixels, rows one after another, kept by the caller
    // for as long as the frame is read), so a host paints straight into
    // what the window system shows; else into the canvas's own buffer.
    void BeginFrame(int width, int height, int originX = 0, int originY = 0,
                    std::uint32_t* target = nullptr);
    // Clears what no drawing covered; the buffer is complete afterwards.
    void EndFrame();

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint32_t* Pixels() const { return pixels_; }
    std::uint32_t* Pixels() { return pixels_; }
    // A pixel of the frame, in frame coordinates (the origin at 0, 0).
    std::uint32_t At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    void SetClip(RectI clip);
    void ResetClip();

    void FillRect(RectI rect, Argb colour, float opacity);
    // Fill and stroke as one shape: the opacity applies to the whole, so the
    // stroke does not show the fill through it.
    void DrawRectangle(RectI rect, Argb fill, Argb stroke, int strokeWidth, float opacity);
    void DrawGlyph(const GlyphBitmap& glyph, int x, int y, Argb colour, float opacity);

private:
    enum class RowState : std::uint8_t { Stale, Drawn };
    void Span(int y, int left, int right, std::uint32_t premultiplied);
    std::uint32_t* Row(int y);

    RectI Local(RectI rect) const {
        return {rect.left - originX_, rect.top - originY_, rect.right - originX_,
                rect.bottom - originY_};
    }

    int width_ = 0;
    int height_ = 0;
    int originX_ = 0;
    int originY_ = 0;
    RectI clip_;
    std::uint32_t* pixels_ = nullptr; // the target's, or own_'s
    std::vector<std::uint32_t> own_;
    std::vector<RowState> rows_;
};

} // namespace toolkit
