// Helpers the Windows tests share: running the real program (or this test
// program again) as a child process, setting the system DPI that new
// processes see, grabbing the screen as another process sees it, showing a
// second program's window with a known picture, and watching message boxes
// from inside the test process.
#pragma once

#include "output/HeldImage.h"
#include "platform/KernelHandle.h"
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

// A Windows path for a file of the build tree (the tests see it through
// Wine's Z: drive).
std::wstring BuildPath(const char* relative);
std::wstring ProgramPath(); // the built Varnel.exe
std::wstring SelfPath();    // this test executable

// A variable of this process's environment; empty when it is not set.
std::wstring Environment(const wchar_t* name);

// Sets HKCU\Control Panel\Desktop LogPixels, read by every process started
// afterwards; puts the old value back when it goes.
class SystemDpiOverride {
public:
    explicit SystemDpiOverride(DWORD dpi);
    ~SystemDpiOverride();
    SystemDpiOverride(const SystemDpiOverride&) = delete;
    SystemDpiOverride& operator=(const SystemDpiOverride&) = delete;

private:
    std::optional<DWORD> previous_;
};

class ChildProcess {
public:
    // Starts the command line; extra environment variables are added to
    // this process's own environment for the child.
    explicit ChildProcess(const std::wstring& commandLine,
                          const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    ~ChildProcess(); // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or nothing when it did not end in time.
    std::optional<DWORD> WaitForExit(DWORD milliseconds);
    // The child's visible top-level window of that class, once shown.
    HWND WaitForWindow(const wchar_t* className, DWORD milliseconds);

private:
    PROCESS_INFORMATION info_{};
};

// Runs this test program again with a gtest filter; true when the child
// ran at least one test and all passed (a filter that matches nothing is a
// failure, not a pass).
bool RunSelf(const std::wstring& filter,
             const std::vector<std::pair<std::wstring, std::wstring>>& env = {},
             DWORD milliseconds = 120000);

// RunSelf with the system DPI set to dpi for the child, which checks with
// AtTheExpectedDpi that the DPI reached it.
bool RunSelfAtSystemDpi(const std::wstring& filter, DWORD dpi);

// In a child of RunSelfAtSystemDpi: whether the system DPI is the one its
// parent set. Run directly, any DPI is right.
::testing::AssertionResult AtTheExpectedDpi();

// This test program started again as another program that runs one helper
// suite (filter), with extra environment variables. The suite works with
// its HelperSide: it says when it is ready and then waits until released.
// Released, and given 10 s to end, when the object goes.
class OtherProgram {
public:
    explicit OtherProgram(const std::wstring& filter,
                          const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // Whether the helper said it is ready; a filter that matched no suite
    // never is. The first does not wait, for waits that must keep this
    // thread's messages flowing.
    bool IsReady() const;
    bool WaitUntilReady(DWORD milliseconds) const;
    void Release();
    std::optional<DWORD> WaitForExit(DWORD milliseconds) {
        return process_.WaitForExit(milliseconds);
    }

private:
    struct EventNames {
        std::wstring ready;
        std::wstring release;
    };
    OtherProgram(const std::wstring& filter,
                 const std::vector<std::pair<std::wstring, std::wstring>>& env,
                 const EventNames& names);
    static EventNames NewEventNames();

    platform::UniqueKernelHandle ready_;
    platform::UniqueKernelHandle release_;
    ChildProcess process_;
};

// The helper suite's side of an OtherProgram: the two events its parent
// named in the environment.
class HelperSide {
public:
    HelperSide();
    HelperSide(const HelperSide&) = delete;
    HelperSide& operator=(const HelperSide&) = delete;

    // False when this program was not started as an OtherProgram.
    bool Opened() const { return ready_ && release_; }
    void SayReady() const;
    HANDLE ReleaseEvent() const { return release_.get(); }
    // True once released; false when the parent did not in time.
    bool WaitForRelease(DWORD milliseconds = 30000) const;

private:
    platform::UniqueKernelHandle ready_;
    platform::UniqueKernelHandle release_;
};

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
void ShowPictureWindowUntilReleased(const PictureWindow& spec);

// A picture read back from another program's output, 0x00RRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// A copy of the primary display taken through the screen DC (what any other
// program reading the screen gets).
struct ScreenShot : Picture {
    ScreenShot();
};

// The pixels another program reads from the screen in a rectangle of
// Windows screen coordinates (which may lie left of or above the primary),
// 0x00RRGGBB, top row first.
std::vector<std::uint32_t> ScreenPixels(const RECT& r);

// The clipboard's CF_DIB as another program reads it (24- or 32-bit, either
// row order); nothing when the clipboard cannot be opened or holds no such
// picture.
std::optional<Picture> ClipboardDib();

// The header of a 32-bit bitmap whose rows run top to bottom.
BITMAPINFO TopDownRgb32(int width, int height);

// A pixel of the held image's layout (bottom-up, 24-bit) as 0x00RRGGBB,
// by picture coordinates.
std::uint32_t PixelAt(const output::ImageView& view, int x, int y);
inline std::uint32_t HeldPixel(const output::HeldImage& image, int x, int y) {
    return PixelAt(image.View(), x, y);
}

// Whether a held image holds exactly the screen pattern of the primary
// display from screen pixel (x, y) on (scripts/with-screen-pattern.sh lays
// it), white where it reaches off the display; on failure, how many pixels
// differ and where the first one lies.
::testing::AssertionResult HoldsThePatternAt(const output::HeldImage& image, int x, int y);

// True when every channel of two 0x00RRGGBB colours differs by at most tolerance.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 2);
int Luminance(std::uint32_t rgb);

// Captures the caption and text of every message box this thread shows and
// presses its default button, so a test can run code that shows one.
class MessageBoxWatcher {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        bool errorIcon = false;
    };
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    const std::vector<Box>& Boxes() const;
};

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

// A whole file's bytes; nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path);

// Processes this thread's messages for a while (lets posted repaints and
// closes happen).
void Pump(DWORD milliseconds);

// Waits until predicate holds or time runs out; pumps messages meanwhile.
bool WaitFor(const std::function<bool()>& predicate, DWORD milliseconds);

} // namespace wintest
