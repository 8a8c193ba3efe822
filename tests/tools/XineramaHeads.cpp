// A stand-in libXinerama.so.1 that reports the heads listed in VARNEL_HEADS
// (WxH+X+Y[,...], the first primary) instead of asking the X server. Xvfb
// reports one RandR output, so Wine would see one monitor; with this library
// on LD_LIBRARY_PATH and Wine's X11 driver told not to use RandR, one Xvfb
// screen becomes several displays. Every entry point of the real library is
// here, because openbox and xdotool load it too. Results are allocated with
// malloc, as callers free them with XFree.
#include "tests/support/HeadList.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The layouts of <X11/extensions/Xinerama.h> and <X11/extensions/panoramiXext.h>.
struct XineramaScreenInfo {
    int screen_number;
    short x_org;
    short y_org;
    short width;
    short height;
};

struct XPanoramiXInfo {
    Window window;
    int screen;
    int State;
    int width;
    int height;
    int ScreenCount;
    XID eventMask;
};

struct Heads {
    testheads::Head list[testheads::kMaxHeads];
    int count = 0;
};

// The heads a process starts with: those in the file VARNEL_HEADS_FILE names
// when it can be read (a test rewrites it to take displays away and give
// them back, for processes started afterwards), else VARNEL_HEADS.
std::string HeadsText() {
    if (const char* path = std::getenv("VARNEL_HEADS_FILE")) {
        if (std::FILE* file = std::fopen(path, "r")) {
            char buffer[1024] = {};
            const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
            std::fclose(file);
            std::string text(buffer, length);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
                text.pop_back();
            }
            if (!text.empty()) {
                return text;
            }
        }
    }
    const char* text = std::getenv(testheads::kVariable);
    return text != nullptr ? text : "";
}

// Read once: what a process started with does not change under it.
const Heads& TheHeads() {
    static const Heads heads = [] {
        Heads h;
        const std::string read = HeadsText();
        const char* text = read.empty() ? nullptr : read.c_str();
        if (!testheads::ParseHeads(text, h.list, h.count) && text != nullptr) {
            std::fprintf(stderr, "stand-in Xinerama: %s='%s' is not WxH+X+Y[,WxH+X+Y...]\n",
                         testheads::kVariable, text);
        }
        return h;
    }();
    return heads;
}

bool Active() {
    return TheHeads().count > 0;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) Bool XineramaQueryExtension(Display*, int* event_base,
                                                                   int* error_base) {
    if (event_base != nullptr) {
        *event_base = 0;
    }
    if (error_base != nullptr) {
        *error_base = 0;
    }
    return Active() ? True : False;
}

__attribute__((visibility("default"))) Status XineramaQueryVersion(Display*, int* major,
                                                                   int* minor) {
    if (!Active()) {
        return 0;
    }
    *major = 1;
    *minor = 1;
    return 1;
}

__attribute__((visibility("default"))) Bool XineramaIsActive(Display*) {
    return Active() ? True : False;
}

__attribute__((visibility("default"))) XineramaScreenInfo* XineramaQueryScreens(Display*,
                                                                                int* number) {
    const Heads& heads = TheHeads();
    *number = 0;
    if (heads.count == 0) {
        return nullptr;
    }
    auto* screens =
        static_cast<XineramaScreenInfo*>(std::malloc(sizeof(XineramaScreenInfo) * heads.count));
    if (screens == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < heads.count; ++i) {
        const testheads::Head& h = heads.list[i];
        screens[i] = {i, short(h.x), short(h.y), short(h.width), short(h.height)};
    }
    *number = heads.count;
    return screens;
}

__attribute__((visibility("default"))) Bool
XPanoramiXQueryExtension(Display* display, int* event_base, int* error_base) {
    return XineramaQueryExtension(display, event_base, error_base);
}

__attribute__((visibility("default"))) Status XPanoramiXQueryVersion(Display* display, int* major,
                                                                     int* minor) {
    return XineramaQueryVersion(display, major, minor);
}

__attribute__((visibility("default"))) XPanoramiXInfo* XPanoramiXAllocInfo() {
    return static_cast<XPanoramiXInfo*>(std::calloc(1, sizeof(XPanoramiXInfo)));
}

__attribute__((visibility("default"))) Status XPanoramiXGetState(Display*, Drawable drawable,
                                                                 XPanoramiXInfo* info) {
    info->window = drawable;
    info->State = Active() ? 1 : 0;
    return 1;
}

__attribute__((visibility("default"))) Status XPanoramiXGetScreenCount(Display*, Drawable drawable,
                                                                       XPanoramiXInfo* info) {
    info->window = drawable;
    info->ScreenCount = TheHeads().count;
    return 1;
}

__attribute__((visibility("default"))) Status
XPanoramiXGetScreenSize(Display*, Drawable drawable, int screen_num, XPanoramiXInfo* info) {
    const Heads& heads = TheHeads();
    if (screen_num < 0 || screen_num >= heads.count) {
        return 0;
    }
    info->window = drawable;
    info->screen = screen_num;
    info->width = heads.list[screen_num].width;
    info->height = heads.list[screen_num].height;
    return 1;
}

} // extern "C"
