#include "toolkit/DesktopPlacement.h"

#include "platform/Units.h"
#include "toolkit/WindowPixels.h"

#include <algorithm>
#include <limits>

namespace toolkit {

namespace units = platform::units;

namespace {

bool OnADisplay(const std::vector<DisplayArea>& displays, int x, int y) {
    return std::any_of(displays.begin(), displays.end(),
                       [&](const DisplayArea& d) { return d.monitor.Contains(x, y); });
}

} // namespace

bool CornersOnDisplays(const std::vector<DisplayArea>& displays, const WindowPlace& place,
                       int width, int height, int barHeight, float scale) {
    // The first and the last row and column the window paints, not the
    // truncated start of its last logical unit: at 150 % a window at top 166
    // and 368 high paints row 800, which a display 800 high does not have.
    const RectI r = WindowPixels(place.left, place.top, width, height, barHeight, scale);
    if (r.Empty()) {
        return OnADisplay(displays, r.left, r.top);
    }
    return OnADisplay(displays, r.left, r.top) && OnADisplay(displays, r.right - 1, r.top) &&
           OnADisplay(displays, r.left, r.bottom - 1) &&
           OnADisplay(displays, r.right - 1, r.bottom - 1);
}

namespace {

bool BarOnAWorkArea(const std::vector<DisplayArea>& displays, const WindowPlace& place, int width,
                    int barHeight, float scale) {
    const RectI bar = WindowPixels(place.left, place.top, width, barHeight, barHeight, scale);
    return std::any_of(displays.begin(), displays.end(),
                       [&](const DisplayArea& d) { return !bar.Intersect(d.work).Empty(); });
}

double Squared(double v) {
    return v * v;
}

// How far a rectangle lies from another, squared; 0 when they meet.
double Distance(const RectI& a, const RectI& b) {
    const double dx = std::max({0.0, double(b.left) - a.right, double(a.left) - b.right});
    const double dy = std::max({0.0, double(b.top) - a.bottom, double(a.top) - b.bottom});
    return Squared(dx) + Squared(dy);
}

// The first display, in the system's order, for which distance is least.
template <typename F>
const DisplayArea* Nearest(const std::vector<DisplayArea>& displays, F distance) {
    const DisplayArea* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const DisplayArea& d : displays) {
        const double dist = distance(d);
        if (dist < bestDistance) {
            best = &d;
            bestDistance = dist;
        }
    }
    return best;
}

// The window's edges must land inside the work area's pixels: the lower
// edge's quotient rounds up, the upper one's down.
int PulledInto(int position, int size, int low, int high, float scale) {
    const int first = units::ToLogicalCeil(low, scale);
    const int last = units::ToLogicalFloor(high, scale);
    return std::max(first, std::min(position, last - size));
}

} // namespace

WindowPlace CentredOnDesktop(const std::vector<DisplayArea>& displays, const RectI& desktop,
                             int width, int height, int barHeight, float scale) {
    const double s = scale;
    const double centreX = desktop.left + desktop.Width() / 2.0;
    const double centreY = desktop.top + desktop.Height() / 2.0;
    WindowPlace place{units::Trunc(centreX / s - units::Trunc(width / 2.0)),
                      units::Trunc(centreY / s - units::Trunc(height / 2.0))};
    if (CornersOnDisplays(displays, place, width, height, barHeight, scale)) {
        return place;
    }
    // Not the display under the desktop's centre: that one's work area can
    // lie farther from it than another's.
    const DisplayArea* nearest = Nearest(displays, [&](const DisplayArea& d) {
        return Squared((d.work.left + d.work.right) / 2.0 - centreX) +
               Squared((d.work.top + d.work.bottom) / 2.0 - centreY);
    });
    if (nearest == nullptr) {
        return place;
    }
    const RectI& work = nearest->work;
    place.top = PulledInto(place.top, height, work.top, work.bottom, scale);
    if (!CornersOnDisplays(displays, place, width, height, barHeight, scale)) {
        place.left = PulledInto(place.left, width, work.left, work.right, scale);
    }
    return place;
}

std::optional<WindowPlace> PulledOntoDisplay(const std::vector<DisplayArea>& displays,
                                             const WindowPlace& place, int width, int height,
                                             int barHeight, float scale) {
    if (BarOnAWorkArea(displays, place, width, barHeight, scale)) {
        return std::nullopt;
    }
    const RectI window = WindowPixels(place.left, place.top, width, height, barHeight, scale);
    const DisplayArea* nearest =
        Nearest(displays, [&](const DisplayArea& d) { return Distance(window, d.work); });
    if (nearest == nullptr) {
        return std::nullopt;
    }
    const RectI& work = nearest->work;
    WindowPlace pulled = place;
    pulled.top = PulledInto(pulled.top, height, work.top, work.bottom, scale);
    if (!CornersOnDisplays(displays, pulled, width, height, barHeight, scale) ||
        !BarOnAWorkArea(displays, pulled, width, barHeight, scale)) {
        pulled.left = PulledInto(pulled.left, width, work.left, work.right, scale);
    }
    return pulled;
}

} // namespace toolkit
