// The displays ("heads") of a test session, written as WxH+X+Y[,WxH+X+Y...]
// in X root coordinates, the first head primary. One parser for the stand-in
// Xinerama library that turns one Xvfb screen into these heads and for the
// Windows tests that check what Wine made of them.
#pragma once

#include <cstdlib>

namespace testheads {

struct Head {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kMaxHeads = 16;
inline constexpr const char* kVariable = "VARNEL_HEADS";

namespace detail {
// A decimal count of 0 to 32767: X gives a head 16-bit coordinates.
inline bool ReadCount(const char*& p, int& out) {
    if (*p < '0' || *p > '9') {
        return false;
    }
    long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > 32767) {
            return false;
        }
        ++p;
    }
    out = int(value);
    return true;
}
} // namespace detail

// Fills heads[0..count) from the text; false (count 0) for anything that is
// not a non-empty list of heads of positive size within X's 16-bit range.
inline bool ParseHeads(const char* text, Head* heads, int& count) {
    count = 0;
    if (text == nullptr || *text == '\0') {
        return false;
    }
    const char* p = text;
    for (;;) {
        if (count == kMaxHeads) {
            count = 0;
            return false;
        }
        Head h;
        const bool ok = detail::ReadCount(p, h.width) && *p++ == 'x' &&
                        detail::ReadCount(p, h.height) && *p++ == '+' &&
                        detail::ReadCount(p, h.x) && *p++ == '+' && detail::ReadCount(p, h.y);
        if (!ok || h.width == 0 || h.height == 0 || h.x + h.width > 32767 ||
            h.y + h.height > 32767) {
            count = 0;
            return false;
        }
        heads[count++] = h;
        if (*p == '\0') {
            return true;
        }
        if (*p++ != ',') {
            count = 0;
            return false;
        }
    }
}

inline bool HeadsFromEnvironment(Head* heads, int& count) {
    return ParseHeads(std::getenv(kVariable), heads, count);
}

} // namespace testheads
