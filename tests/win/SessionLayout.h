// The displays of a test session that scripts/wine-session.sh --heads
// started: Xorg's dummy outputs at the X root places VARNEL_HEADS lists (the
// first primary), with the test picture on the screen's background.
// VARNEL_WORKAREA (X,Y,W,H in root coordinates, optional) is the window
// manager's work area that tests/win/multi-display.sh put in place of the
// whole screen's. Shared by the suites of the several-display layouts.
#pragma once

#include "app/Unit1.h"
#include "tests/support/HeadList.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/WinTestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace sessionlayout {

inline int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

inline std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The session's heads in Windows coordinates: Wine puts the primary's
// top-left corner at 0,0, so a Windows point plus primaryRoot is the X root
// point where the test picture was drawn.
struct Layout {
    std::vector<RECT> heads;
    POINT primaryRoot{};
    std::optional<RECT> workArea; // Windows coordinates

    // Each display's work area: the part of it inside the reserved work area.
    RECT WorkAreaOf(const RECT& head) const {
        RECT work = head;
        if (workArea) {
            ::IntersectRect(&work, &head, &*workArea);
        }
        return work;
    }

    bool OnADisplay(int x, int y) const {
        for (const RECT& r : heads) {
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                return true;
            }
        }
        return false;
    }
    // What a capture must hold at a Windows screen pixel.
    std::uint32_t Expected(int x, int y) const {
        return OnADisplay(x, y) ? testpattern::ScreenPatternAt(x + primaryRoot.x, y + primaryRoot.y)
                                : 0xFFFFFFu;
    }
    RECT Bounds() const {
        RECT b = heads.front();
        for (const RECT& r : heads) {
            ::UnionRect(&b, &b, &r);
        }
        return b;
    }
};

// The layout of the heads in text (VARNEL_HEADS's form), with no work area.
inline Layout LayoutOf(const std::string& text) {
    testheads::Head list[testheads::kMaxHeads];
    int count = 0;
    Layout layout;
    if (!testheads::ParseHeads(text.c_str(), list, count)) {
        return layout;
    }
    layout.primaryRoot = POINT{list[0].x, list[0].y};
    for (int i = 0; i < count; ++i) {
        const testheads::Head& h = list[i];
        const int left = h.x - list[0].x;
        const int top = h.y - list[0].y;
        layout.heads.push_back(RECT{left, top, left + h.width, top + h.height});
    }
    return layout;
}

inline Layout SessionLayout() {
    Layout layout = LayoutOf(Env(testheads::kVariable));
    int x = 0, y = 0, w = 0, h = 0;
    if (!layout.heads.empty() &&
        std::sscanf(Env("VARNEL_WORKAREA").c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) == 4) {
        x -= layout.primaryRoot.x;
        y -= layout.primaryRoot.y;
        layout.workArea = RECT{x, y, x + w, y + h};
    }
    return layout;
}

// Mismatches between a held image taken at (x, y) and what the layout shows
// there; the first one described in first.
inline int Mismatches(const output::HeldImage& image, const Layout& layout, int x, int y,
                      std::string& first) {
    const int w = image.Width();
    const int h = image.Height();
    int mismatches = 0;
    char text[160];
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const std::uint32_t expected = layout.Expected(x + col, y + row);
            const std::uint32_t actual = wintest::HeldPixel(image, col, row);
            if (actual != expected && mismatches++ == 0) {
                std::snprintf(text, sizeof text,
                              "first at image (%d,%d) screen (%d,%d): %06x instead of %06x", col,
                              row, x + col, y + row, unsigned(actual), unsigned(expected));
                first = text;
            }
        }
    }
    return mismatches;
}

// A region capture of the window now, whose viewfinder is width x height
// logical units: the program's region and exactly what the layout shows
// there.
inline void ExpectAnExactCapture(const Layout& shown, int width, int height) {
    const double s = Form1->Scale;
    Form1->CutBtnClick(*Form1->CutBtn);
    const int x = Trunc(Form1->Left() * s);
    const int y = Trunc(36 * s + Form1->Top() * s);
    EXPECT_EQ(Form1->itix, x);
    EXPECT_EQ(Form1->itiy, y);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), Trunc(width * s));
    ASSERT_EQ(Form1->BMP->Height(), Trunc(height * s));
    std::string first;
    EXPECT_EQ(Mismatches(*Form1->BMP, shown, x, y, first), 0) << first;
}

// Runs a shell command on the X side (xrandr, xdotool, the layout script)
// and gives what it printed, or nothing when it failed. Wine starts a Unix
// program named by its path on drive Z: as a process of its own, but gives
// no handle to wait on: the command says it is done by the file it leaves.
inline std::optional<std::string> RunOnTheXSide(const std::string& command) {
    static int runs = 0;
    const std::string done = "/tmp/varnel-x-side-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++runs);
    const std::string script = command + " >" + done + ".out 2>&1; echo $? >" + done +
                               ".rc.new && mv " + done + ".rc.new " + done + ".rc";
    const std::string line = "Z:\\bin\\sh -c \"" + script + "\"";
    wintest::ChildProcess shell(std::wstring(line.begin(), line.end()));
    const auto windowsPath = [](const std::string& path) {
        std::string p = "Z:" + path;
        for (char& c : p) {
            c = c == '/' ? '\\' : c;
        }
        return p;
    };
    const auto read = [](const std::string& path) -> std::optional<std::string> {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) {
            return std::nullopt;
        }
        std::string text;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
            text.append(buffer, n);
        }
        std::fclose(f);
        return text;
    };
    std::optional<std::string> rc;
    wintest::WaitFor([&] { return (rc = read(windowsPath(done + ".rc"))).has_value(); }, 30000);
    std::optional<std::string> out = read(windowsPath(done + ".out"));
    std::remove(windowsPath(done + ".rc").c_str());
    std::remove(windowsPath(done + ".out").c_str());
    if (!rc || std::atoi(rc->c_str()) != 0) {
        std::fprintf(stderr, "on the X side, '%s' failed (%s): %s\n", command.c_str(),
                     rc ? rc->c_str() : "no end seen", out ? out->c_str() : "");
        return std::nullopt;
    }
    return out ? out : std::string();
}

// Where X shows this process's window titled title: its root position.
inline std::optional<POINT> XPlaceOf(const std::string& title) {
    const std::optional<std::string> out = RunOnTheXSide("xdotool search --onlyvisible --name '^" +
                                                         title + "$' getwindowgeometry --shell");
    int x = 0, y = 0;
    const char* text = out ? out->c_str() : "";
    const char* at = std::strstr(text, "X=");
    const char* atY = std::strstr(text, "Y=");
    if (at == nullptr || atY == nullptr || std::sscanf(at, "X=%d", &x) != 1 ||
        std::sscanf(atY, "Y=%d", &y) != 1) {
        return std::nullopt;
    }
    return POINT{x, y};
}

// Sets the session's displays to the heads in text, as the session set them
// at its start (scripts/xorg-layout.sh): a shorter list switches the outputs
// beyond it off.
inline bool SetDisplays(const std::string& text) {
    return RunOnTheXSide(VARNEL_SOURCE_DIR "/scripts/xorg-layout.sh " + text).has_value();
}

} // namespace sessionlayout
