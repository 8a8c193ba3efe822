// The second program's window that tests bring over the program under
// test: a known picture, shown at a known moment, kept until released.
#pragma once

#include "platform/Win.h"

#include <cstdint>

namespace wintest {

// A window that another program shows over the program under test, painted
// with a known picture pixel by pixel.
struct PictureWindow {
    const wchar_t* className = nullptr;
    DWORD style = WS_POPUP;
    DWORD exStyle = 0;
    int left = 0; // screen coordinates
    int top = 0;
    int width = 0;
    int height = 0;
    std::uint32_t (*pixel)(int x, int y) = nullptr; // 0x00RRGGBB by window coordinates
    // The whole window rectangle is client area, frame included, as for a
    // window that draws its own frame: the picture covers every pixel.
    bool noFrameArea = false;
};

// The body of an OtherProgram's helper suite: creates the window, shows it a
// second later and brings it to the front (so it comes during a capture's
// countdown), says it is ready, and keeps it until released.
void ShowPictureWindowUntilReleased(const PictureWindow& picture);

} // namespace wintest
