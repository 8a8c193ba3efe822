// Stand-ins for the window system around a form: a host that records every
// call the form makes of it, and a glyph rasterizer that draws deterministic
// coverage instead of asking a font engine. Tests read the records to see
// what the window would have done; the rasterizer's pattern can be computed
// again by a test, so drawn glyph pixels can be checked one by one.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/FormHost.h"
#include "toolkit/Glyph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

class RecordingHost : public toolkit::FormHost {
public:
    void Present(toolkit::RectI screenRect) override { presented.push_back(screenRect); }
    void ScheduleRepaint() override { ++repaints; }
    void SetCursorShape(toolkit::Cursor cursor) override { cursors.push_back(cursor); }
    void CaptureMouse(bool capture) override {
        captureCalls.push_back(capture);
        captured = capture;
    }
    void SetTopmost(bool topmost) override { topmostCalls.push_back(topmost); }
    void RequestClose() override { ++closeRequests; }
    void ReportError(const std::exception& error) override { errors.emplace_back(error.what()); }
    void ControlsMoved() override { ++controlsMoved; }
    void AccessibleChanged(toolkit::AccessibleEvent event, toolkit::Control& control) override {
        accessibleEvents.emplace_back(event, control.Name());
    }

    toolkit::Cursor LastCursor() const {
        return cursors.empty() ? toolkit::Cursor::Arrow : cursors.back();
    }

    std::vector<toolkit::RectI> presented;
    int repaints = 0;
    std::vector<toolkit::Cursor> cursors;
    std::vector<bool> captureCalls;
    bool captured = false;
    std::vector<bool> topmostCalls;
    int closeRequests = 0;
    std::vector<std::string> errors;
    int controlsMoved = 0;
    std::vector<std::pair<toolkit::AccessibleEvent, std::string>> accessibleEvents;
};

// Glyphs as wide as 0.6 em a character and 1.2 em high at the key's scale,
// their coverage a fixed function of the key's first character and the pixel.
// Colour fonts are simulated by family "Color": those give premultiplied
// pixels of one fixed colour at that coverage.
class PatternRasterizer : public toolkit::GlyphRasterizer {
public:
    static constexpr const wchar_t* ColourFamily = L"Color";
    static constexpr std::uint32_t ColourGlyphArgb = 0xFF20C040;

    static std::uint8_t Coverage(const toolkit::GlyphKey& key, int x, int y) {
        const unsigned seed = key.text.empty() ? 0u : unsigned(key.text[0]);
        return std::uint8_t((unsigned(x) * 37u + unsigned(y) * 91u + seed * 13u) & 0xFFu);
    }

    static int EmPixels(const toolkit::GlyphKey& key) {
        return std::max(1, int(std::trunc(double(key.sizeDip) * key.scale)));
    }

    toolkit::GlyphBitmap Rasterize(const toolkit::GlyphKey& key) override {
        ++calls[{key.text, key.scale}];
        ++total;
        const int em = EmPixels(key);
        toolkit::GlyphBitmap glyph;
        glyph.advance = int(key.text.size()) * (em * 6 / 10 + 1);
        glyph.lineHeight = em * 12 / 10 + 1;
        glyph.width = std::max(1, glyph.advance - 1);
        glyph.height = em;
        glyph.offsetX = 1 % glyph.advance;
        glyph.offsetY = glyph.lineHeight - glyph.height;
        glyph.colour = key.family == ColourFamily;
        const std::size_t count = std::size_t(glyph.width) * std::size_t(glyph.height);
        if (glyph.colour) {
            glyph.bgra.resize(count);
        } else {
            glyph.coverage.resize(count);
        }
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const std::uint8_t c = Coverage(key, x, y);
                const std::size_t i = std::size_t(y) * std::size_t(glyph.width) + std::size_t(x);
                if (glyph.colour) {
                    glyph.bgra[i] = PremultipliedAt(c);
                } else {
                    glyph.coverage[i] = c;
                }
            }
        }
        return glyph;
    }

    static std::uint32_t PremultipliedAt(std::uint8_t coverage) {
        auto channel = [&](int shift) {
            return std::uint32_t(
                std::lround(((ColourGlyphArgb >> shift) & 0xFF) * coverage / 255.0));
        };
        return (std::uint32_t(coverage) << 24) | (channel(16) << 16) | (channel(8) << 8) |
               channel(0);
    }

    std::map<std::pair<std::wstring, float>, int> calls;
    int total = 0;
};

} // namespace fakes
