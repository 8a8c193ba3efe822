#include "tests/standins/StandInSupport.h"

#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

namespace standin {

DwmRecordMapping::DwmRecordMapping() {
    const std::wstring name = L"varnel-dwm-record-" + std::to_wstring(::GetCurrentProcessId());
    mapping_ = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(DwmRecord), name.c_str());
    if (mapping_ != nullptr) {
        record_ = static_cast<DwmRecord*>(
            ::MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(DwmRecord)));
    }
    ::SetEnvironmentVariableW(DwmRecordVariable, name.c_str());
    Reset();
}

DwmRecordMapping& DwmRecordMapping::Instance() {
    static DwmRecordMapping mapping;
    return mapping;
}

DwmRecordMapping::~DwmRecordMapping() {
    if (record_ != nullptr) {
        ::UnmapViewOfFile(record_);
    }
    if (mapping_ != nullptr) {
        ::CloseHandle(mapping_);
    }
}

void DwmRecordMapping::Reset() {
    if (record_ != nullptr) {
        *record_ = DwmRecord{};
        record_->windowHeight = -1;
    }
}

std::uint32_t OtherWindowPixel(int x, int y) {
    return (std::uint32_t(x & 255) << 16) | (std::uint32_t(y & 255) << 8) |
           std::uint32_t((x * 3 + y * 5) & 255);
}

namespace {

LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE:
        // The whole window is client area, sizing borders included, so the
        // picture covers every pixel of the window rectangle, as a window
        // that draws its own frame does.
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        for (int y = 0; y < OtherHeight; ++y) {
            for (int x = 0; x < OtherWidth; ++x) {
                const std::uint32_t c = OtherWindowPixel(x, y);
                ::SetPixelV(dc, x, y, RGB(c >> 16, (c >> 8) & 255, c & 255));
            }
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

// Started by OtherWindowProgram as another program.
TEST(OtherWindowOwnerHelper, ComesToTheFrontDuringTheCountdown) {
    HANDLE release = ::OpenEventW(SYNCHRONIZE, FALSE, Environment(L"VARNEL_RELEASE_EVENT").c_str());
    ASSERT_NE(release, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OtherWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VarnelTestFramedWindow";
    ::RegisterClassW(&wc);
    // A sizing frame without a caption; as a tool window the X window
    // manager leaves it undecorated, so its window rectangle is what X shows.
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Framed",
                                    WS_POPUP | WS_THICKFRAME, OtherLeft, OtherTop, OtherWidth,
                                    OtherHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    wintest::Pump(1000);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    while (::MsgWaitForMultipleObjects(1, &release, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        wintest::Pump(0);
    }
    ::DestroyWindow(window);
    ::CloseHandle(release);
}

OtherWindowProgram::OtherWindowProgram() {
    const std::wstring name = L"varnel-test-framed-" + std::to_wstring(::GetCurrentProcessId());
    release_ = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    ::SetEnvironmentVariableW(L"VARNEL_RELEASE_EVENT", name.c_str());
    std::wstring line = L"\"" + wintest::SelfPath() + L"\" --gtest_filter=OtherWindowOwnerHelper.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process_);
}

bool OtherWindowProgram::Ended(DWORD milliseconds) {
    ::SetEvent(release_);
    DWORD code = 1;
    return process_.hProcess != nullptr &&
           ::WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(process_.hProcess, &code) && code == 0;
}

OtherWindowProgram::~OtherWindowProgram() {
    ::SetEvent(release_);
    if (process_.hProcess != nullptr) {
        if (::WaitForSingleObject(process_.hProcess, 10000) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 99);
        }
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
    ::CloseHandle(release_);
}

std::uint32_t HeldPixel(const output::HeldImage& image, int x, int y) {
    const output::ImageView view = image.View();
    const std::uint8_t* p = view.bits +
                            std::size_t(view.height - 1 - y) * output::DibStride(view.width) +
                            std::size_t(x) * 3;
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

} // namespace standin
