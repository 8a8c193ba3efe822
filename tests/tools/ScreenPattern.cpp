// An X client of its own that lays the known test picture on the root
// window's background (or takes it away again), so captures can be compared
// with what another program drew on the screen.
//   screen-pattern set | clear
#include "tests/support/ScreenPattern.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "set") != 0 && std::strcmp(argv[1], "clear") != 0)) {
        std::fprintf(stderr, "usage: screen-pattern set|clear\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screen-pattern: no display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    // A compositing manager paints the background from the root pixmap that
    // these properties name, not from the root window's own background.
    const Atom rootPixmapAtoms[] = {XInternAtom(display, "_XROOTPMAP_ID", False),
                                    XInternAtom(display, "_XSETROOT_ID", False)};
    if (std::strcmp(argv[1], "clear") == 0) {
        for (const Atom atom : rootPixmapAtoms) {
            XDeleteProperty(display, root, atom);
        }
        XSetWindowBackground(display, root, 0x808080);
        XClearWindow(display, root);
        XCloseDisplay(display);
        return 0;
    }
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    const int depth = DefaultDepth(display, screen);
    if (depth != 24) {
        std::fprintf(stderr, "screen-pattern: needs a 24-bit screen, not %d\n", depth);
        return 1;
    }
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[std::size_t(y) * width + x] = testpattern::ScreenPatternAt(x, y);
        }
    }
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), depth, ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), width, height, 32, 0);
    const Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, width, height);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    for (const Atom atom : rootPixmapAtoms) {
        XChangeProperty(display, root, atom, XA_PIXMAP, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pixmap), 1);
    }
    XFreeGC(display, gc);
    image->data = nullptr; // owned by the vector
    XDestroyImage(image);
    // The pixmap must outlive this client.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
