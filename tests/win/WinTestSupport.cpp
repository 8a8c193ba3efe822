#include "tests/win/WinTestSupport.h"

#include "platform/ClipboardScope.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/GlobalMemory.h"
#include "tests/support/ScreenPattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace wintest {

namespace {

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return wide;
}

std::wstring WindowsPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (!path.empty() && path[0] == L'\\') {
        path = L"Z:" + path;
    }
    return path;
}

} // namespace

std::wstring BuildPath(const char* relative) {
    return WindowsPath(Widen(VARNEL_BINARY_DIR) + L"/" + Widen(relative));
}

std::wstring ProgramPath() {
    return BuildPath("app/Varnel.exe");
}

std::wstring SelfPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

namespace {
constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
}

SystemDpiOverride::SystemDpiOverride(DWORD dpi) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                       &value, &size) == ERROR_SUCCESS) {
        previous_ = value;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

SystemDpiOverride::~SystemDpiOverride() {
    const DWORD value = previous_.value_or(96);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", REG_DWORD, &value, sizeof value);
}

ChildProcess::ChildProcess(const std::wstring& commandLine,
                           const std::vector<std::pair<std::wstring, std::wstring>>& env) {
    std::vector<std::wstring> previous;
    for (const auto& [name, value] : env) {
        wchar_t buffer[1024] = {};
        const DWORD length = ::GetEnvironmentVariableW(name.c_str(), buffer, 1024);
        previous.push_back(length > 0 ? std::wstring(buffer, length) : std::wstring());
        ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = commandLine;
    ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info_);
    for (std::size_t i = 0; i < env.size(); ++i) {
        ::SetEnvironmentVariableW(env[i].first.c_str(),
                                  previous[i].empty() ? nullptr : previous[i].c_str());
    }
}

ChildProcess::~ChildProcess() {
    if (info_.hProcess != nullptr) {
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
        ::CloseHandle(info_.hProcess);
        ::CloseHandle(info_.hThread);
    }
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD milliseconds) {
    if (info_.hProcess == nullptr ||
        ::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

HWND ChildProcess::WaitForWindow(const wchar_t* className, DWORD milliseconds) {
    struct Search {
        DWORD pid;
        const wchar_t* className;
        HWND found;
    } search{info_.dwProcessId, className, nullptr};
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        ::EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(window, &pid);
                wchar_t name[64] = {};
                ::GetClassNameW(window, name, 64);
                if (pid == s->pid && ::IsWindowVisible(window) &&
                    std::wstring(name) == s->className) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        ::Sleep(50);
    }
    return nullptr;
}

bool RunSelf(const std::wstring& filter,
             const std::vector<std::pair<std::wstring, std::wstring>>& env, DWORD milliseconds) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring report = std::wstring(folder) + L"varnel-child-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(::GetTickCount()) + L".xml";
    ChildProcess child(L"\"" + SelfPath() + L"\" --gtest_filter=" + filter +
                           L" --gtest_output=xml:" + report,
                       env);
    const std::optional<DWORD> code = child.WaitForExit(milliseconds);
    std::string xml;
    if (FILE* file = ::_wfopen(report.c_str(), L"rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            xml.append(buffer, n);
        }
        std::fclose(file);
    }
    ::DeleteFileW(report.c_str());
    const bool ranSome = xml.find("<testcase") != std::string::npos;
    return code == std::optional<DWORD>(0) && ranSome;
}

namespace {

// A child that RunSelfAtSystemDpi started hosts the window at the system DPI
// it was given, as the program does, whose manifest makes it DPI aware. A
// program that is not aware is shown 96 DPI whatever the system's (Windows
// and Wine 10 do so; Wine 8 shows it the system's), so the child declares
// itself aware before anything asks for the DPI.
[[maybe_unused]] const bool DpiAwareChild = [] {
    if (!Environment(L"VARNEL_EXPECT_DPI").empty() &&
        !::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) &&
        !::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) {
        ::SetProcessDPIAware();
    }
    return true;
}();

} // namespace

bool RunSelfAtSystemDpi(const std::wstring& filter, DWORD dpi) {
    SystemDpiOverride override(dpi);
    return RunSelf(filter, {{L"VARNEL_EXPECT_DPI", std::to_wstring(dpi)}});
}

::testing::AssertionResult AtTheExpectedDpi() {
    const std::wstring variable = Environment(L"VARNEL_EXPECT_DPI");
    const std::uint32_t expected = std::uint32_t(std::wcstoul(variable.c_str(), nullptr, 10));
    const std::uint32_t dpi = platform::SystemDpi();
    if (variable.empty() || dpi == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the system DPI is " << dpi << ", not the " << expected
                                         << " the parent set: it did not reach this process";
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

namespace {

// The helper's environment: the parent's variables and the names its
// HelperSide opens.
std::vector<std::pair<std::wstring, std::wstring>>
WithEvents(std::vector<std::pair<std::wstring, std::wstring>> env, const std::wstring& ready,
           const std::wstring& release) {
    env.emplace_back(L"VARNEL_READY_EVENT", ready);
    env.emplace_back(L"VARNEL_RELEASE_EVENT", release);
    return env;
}

} // namespace

OtherProgram::EventNames OtherProgram::NewEventNames() {
    // Names of this process's own, so that parallel runs never share an event.
    static int count = 0;
    const std::wstring tag =
        std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    return {L"varnel-test-ready-" + tag, L"varnel-test-release-" + tag};
}

OtherProgram::OtherProgram(const std::wstring& filter,
                           const std::vector<std::pair<std::wstring, std::wstring>>& env)
    : OtherProgram(filter, env, NewEventNames()) {}

OtherProgram::OtherProgram(const std::wstring& filter,
                           const std::vector<std::pair<std::wstring, std::wstring>>& env,
                           const EventNames& names)
    : ready_(::CreateEventW(nullptr, TRUE, FALSE, names.ready.c_str())),
      release_(::CreateEventW(nullptr, TRUE, FALSE, names.release.c_str())),
      process_(L"\"" + SelfPath() + L"\" --gtest_filter=" + filter,
               WithEvents(env, names.ready, names.release)) {}

bool OtherProgram::IsReady() const {
    return ::WaitForSingleObject(ready_.get(), 0) == WAIT_OBJECT_0;
}

bool OtherProgram::WaitUntilReady(DWORD milliseconds) const {
    return ::WaitForSingleObject(ready_.get(), milliseconds) == WAIT_OBJECT_0;
}

OtherProgram::~OtherProgram() {
    Release();
    // Past this the child process's owner ends it.
    process_.WaitForExit(10000);
}

void OtherProgram::Release() {
    ::SetEvent(release_.get());
}

HelperSide::HelperSide()
    : ready_(::OpenEventW(EVENT_MODIFY_STATE, FALSE, Environment(L"VARNEL_READY_EVENT").c_str())),
      release_(::OpenEventW(SYNCHRONIZE, FALSE, Environment(L"VARNEL_RELEASE_EVENT").c_str())) {}

void HelperSide::SayReady() const {
    ::SetEvent(ready_.get());
}

bool HelperSide::WaitForRelease(DWORD milliseconds) const {
    return ::WaitForSingleObject(release_.get(), milliseconds) == WAIT_OBJECT_0;
}

namespace {

LRESULT CALLBACK PictureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(
                                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    const auto* spec =
        reinterpret_cast<const PictureWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (spec == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCCALCSIZE:
        if (spec->noFrameArea) {
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        for (int y = 0; y < spec->height; ++y) {
            for (int x = 0; x < spec->width; ++x) {
                const std::uint32_t c = spec->pixel(x, y);
                ::SetPixelV(dc, x, y, RGB(c >> 16, (c >> 8) & 255, c & 255));
            }
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void ShowPictureWindowUntilReleased(const PictureWindow& spec) {
    const HelperSide side;
    ASSERT_TRUE(side.Opened());
    WNDCLASSW wc{};
    wc.lpfnWndProc = PictureWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = spec.className;
    ::RegisterClassW(&wc);
    const platform::UniqueHwnd window(::CreateWindowExW(
        spec.exStyle, spec.className, spec.className, spec.style, spec.left, spec.top, spec.width,
        spec.height, nullptr, nullptr, wc.hInstance, const_cast<PictureWindow*>(&spec)));
    ASSERT_TRUE(window);
    Pump(1000);
    ::ShowWindow(window.get(), SW_SHOW);
    ::SetForegroundWindow(window.get());
    ::SetWindowPos(window.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    side.SayReady();
    HANDLE handle = side.ReleaseEvent();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        Pump(0);
    }
}

std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const platform::WindowDc screen = platform::WindowDc::Client(nullptr);
    const platform::UniqueHdc memory(::CreateCompatibleDC(screen.get()));
    const BITMAPINFO info = TopDownRgb32(width, height);
    void* bits = nullptr;
    const platform::UniqueHbitmap bitmap(
        ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap) {
        return {};
    }
    const platform::SelectGuard select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(p, p + std::size_t(width) * height);
    for (auto& pixel : pixels) {
        pixel &= 0x00FFFFFF; // junk alpha under Wine
    }
    return pixels;
}

BITMAPINFO TopDownRgb32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

namespace {

// A DIB's blue, green, red bytes as 0x00RRGGBB.
std::uint32_t Rgb(const std::uint8_t* bgr) {
    return (std::uint32_t(bgr[2]) << 16) | (std::uint32_t(bgr[1]) << 8) | bgr[0];
}

} // namespace

std::optional<Picture> ClipboardDib() {
    const platform::ClipboardScope clipboard(nullptr);
    if (!clipboard) {
        return std::nullopt;
    }
    const platform::GlobalLockScope lock(::GetClipboardData(CF_DIB));
    if (!lock || lock.Size() < sizeof(BITMAPINFOHEADER)) {
        return std::nullopt;
    }
    const auto* dib = static_cast<const BITMAPINFOHEADER*>(lock.get());
    const int bytes = dib->biBitCount / 8;
    if ((bytes != 3 && bytes != 4) || dib->biWidth <= 0 || dib->biHeight == 0) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = dib->biWidth;
    picture.height = std::abs(dib->biHeight);
    const std::size_t stride = ((std::size_t(picture.width) * dib->biBitCount + 31) / 32) * 4;
    const std::size_t offset =
        dib->biSize + (dib->biCompression == BI_BITFIELDS ? 12 : 0) + dib->biClrUsed * 4;
    if (lock.Size() < offset + stride * picture.height) {
        return std::nullopt;
    }
    const std::uint8_t* bits = static_cast<const std::uint8_t*>(lock.get()) + offset;
    picture.pixels.reserve(std::size_t(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const int row = dib->biHeight > 0 ? picture.height - 1 - y : y;
        for (int x = 0; x < picture.width; ++x) {
            picture.pixels.push_back(Rgb(bits + stride * row + std::size_t(x) * bytes));
        }
    }
    return picture;
}

std::uint32_t PixelAt(const output::ImageView& view, int x, int y) {
    return Rgb(output::PictureRow(view, y) + std::size_t(x) * 3);
}

ScreenShot::ScreenShot() {
    width = ::GetSystemMetrics(SM_CXSCREEN);
    height = ::GetSystemMetrics(SM_CYSCREEN);
    pixels = ScreenPixels(RECT{0, 0, width, height});
}

::testing::AssertionResult HoldsThePatternAt(const output::HeldImage& image, int x, int y) {
    const SIZE display{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    int mismatches = 0;
    std::ostringstream first;
    for (int row = 0; row < image.Height(); ++row) {
        for (int column = 0; column < image.Width(); ++column) {
            const int sx = x + column;
            const int sy = y + row;
            const bool onDisplay = sx >= 0 && sy >= 0 && sx < display.cx && sy < display.cy;
            const std::uint32_t expected =
                onDisplay ? testpattern::ScreenPatternAt(sx, sy) : 0xFFFFFFu;
            const std::uint32_t actual = HeldPixel(image, column, row);
            if (actual != expected && mismatches++ == 0) {
                first << "first at image (" << column << "," << row << ") screen (" << sx << ","
                      << sy << "): " << std::hex << actual << " instead of " << expected
                      << std::dec;
            }
        }
    }
    if (mismatches == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << mismatches << " pixels differ; " << first.str();
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

int Luminance(std::uint32_t rgb) {
    return (int((rgb >> 16) & 0xFF) * 30 + int((rgb >> 8) & 0xFF) * 59 + int(rgb & 0xFF) * 11) /
           100;
}

namespace {

thread_local HHOOK hook = nullptr;
thread_local std::vector<MessageBoxWatcher::Box> boxes;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        // Message boxes only: a save dialog is a #32770 too, but has no
        // message text control.
        if (std::wstring(className) == L"#32770" && ::GetDlgItem(window, 0xFFFF) != nullptr) {
            MessageBoxWatcher::Box box;
            wchar_t text[1024] = {};
            ::GetWindowTextW(window, text, 1024);
            box.caption = text;
            text[0] = 0;
            ::GetDlgItemTextW(window, 0xFFFF, text, 1024);
            box.text = text;
            // The icon's static control: id 20 on Windows, 0x440 in Wine's
            // template; the error icon is the shared system one.
            const HICON errorIcon = ::LoadIconW(nullptr, IDI_ERROR);
            for (int id : {20, 0x440}) {
                HWND icon = ::GetDlgItem(window, id);
                if (icon != nullptr &&
                    reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)) == errorIcon) {
                    box.errorIcon = true;
                }
            }
            boxes.push_back(box);
            ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() {
    boxes.clear();
    hook = ::SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, ::GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
    ::UnhookWindowsHookEx(hook);
    hook = nullptr;
}

const std::vector<MessageBoxWatcher::Box>& MessageBoxWatcher::Boxes() const {
    return boxes;
}

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

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path) {
    FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    std::fclose(file);
    return bytes;
}

void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

bool WaitFor(const std::function<bool()>& predicate, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!predicate()) {
        if (::GetTickCount() - start >= milliseconds) {
            return false;
        }
        Pump(10);
    }
    return true;
}

} // namespace wintest
