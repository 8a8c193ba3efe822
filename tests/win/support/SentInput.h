// A user's mouse and keyboard, sent through the system's input queue.
#pragma once

#include "platform/Win.h"

#include <string>

namespace wintest {

// Input through the system's input queue (SendInput), as a user's mouse and
// keyboard give it: the pointer really moves, capture and focus apply.
// Screen coordinates in physical pixels; the thread's messages are processed
// after each step.
enum class Button { Left, Right, Middle };
void MoveMouse(int x, int y);
void PressButton(Button button);
void ReleaseButton(Button button);
void Click(int x, int y, Button button = Button::Left);
void DoubleClick(int x, int y);
void Drag(int fromX, int fromY, int toX, int toY, Button button = Button::Left);
void TypeText(const std::wstring& text);
void PressKey(WORD virtualKey, bool shift = false, bool ctrl = false);

// In the real program's window (at 100 %), clicks the region capture button
// and then the copy button with posted messages (no pointer moves, no focus
// is needed), and waits up to 10 s for the clipboard to change: true when
// the capture was copied.
bool CaptureRegionAndCopy(HWND window);

} // namespace wintest
