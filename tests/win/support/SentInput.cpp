#include "tests/win/support/SentInput.h"

#include "tests/win/support/MessagePump.h"

namespace wintest {

namespace {

void SendMouse(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates span the virtual screen from its own origin,
    // which lies left of or above the primary's when a display does.
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    input.mi.dx = static_cast<LONG>(((x - left) * 65536.0 + 32768) / width);
    input.mi.dy = static_cast<LONG>(((y - top) * 65536.0 + 32768) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    ::SendInput(1, &input, sizeof input);
    Pump(30);
}

POINT Cursor() {
    POINT p{};
    ::GetCursorPos(&p);
    return p;
}

DWORD DownFlag(Button button) {
    return button == Button::Left    ? MOUSEEVENTF_LEFTDOWN
           : button == Button::Right ? MOUSEEVENTF_RIGHTDOWN
                                     : MOUSEEVENTF_MIDDLEDOWN;
}

DWORD UpFlag(Button button) {
    return button == Button::Left    ? MOUSEEVENTF_LEFTUP
           : button == Button::Right ? MOUSEEVENTF_RIGHTUP
                                     : MOUSEEVENTF_MIDDLEUP;
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

void MoveMouse(int x, int y) {
    SendMouse(MOUSEEVENTF_MOVE, x, y);
}

void PressButton(Button button) {
    const POINT p = Cursor();
    SendMouse(DownFlag(button), p.x, p.y);
}

void ReleaseButton(Button button) {
    const POINT p = Cursor();
    SendMouse(UpFlag(button), p.x, p.y);
}

void Click(int x, int y, Button button) {
    MoveMouse(x, y);
    PressButton(button);
    ReleaseButton(button);
}

void DoubleClick(int x, int y) {
    MoveMouse(x, y);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
        SendMouse(MOUSEEVENTF_LEFTUP, x, y);
    }
}

void Drag(int fromX, int fromY, int toX, int toY, Button button) {
    MoveMouse(fromX, fromY);
    PressButton(button);
    // In steps, as a hand moves: every step is a pointer movement the
    // tracking sees.
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
        MoveMouse(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    }
    ReleaseButton(button);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof input[0]);
        Pump(10);
    }
}

void PressKey(WORD virtualKey, bool shift, bool ctrl) {
    if (ctrl) {
        SendKey(VK_CONTROL, false);
    }
    if (shift) {
        SendKey(VK_SHIFT, false);
    }
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
    if (shift) {
        SendKey(VK_SHIFT, true);
    }
    if (ctrl) {
        SendKey(VK_CONTROL, true);
    }
    Pump(30);
}

bool CaptureRegionAndCopy(HWND window) {
    const auto click = [window](int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    };
    const DWORD clipboard = ::GetClipboardSequenceNumber();
    click(54, 18);  // the region capture button
    click(136, 18); // the copy button, enabled by the capture
    return WaitFor([&] { return ::GetClipboardSequenceNumber() != clipboard; }, 10000);
}

} // namespace wintest
