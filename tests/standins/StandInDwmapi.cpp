// A desktop compositor's API as Windows 10 answers it, for the programs of a
// test prefix that has this DLL in its System32 and Wine told to load it
// before its own dwmapi, which has no frame bounds and no composition
// (scripts/with-standin-dwmapi.sh):
// - composition is on (unless a test turns it off);
// - a window with a sizing frame has invisible borders of 7 pixels left,
//   right and bottom, outside its visible frame (the figure at 100 %);
// - DwmFlush returns once a composition pass has shown what was drawn
//   before the call, and records the call for the tests (see DwmRecord.h);
// - DwmGetCompositionTimingInfo counts one composed frame (and refresh) per
//   flush that waited for a pass.
// Or, asked to, as Wine 10 answers: composition on, frame bounds equal to
// the window rectangle, a DwmFlush that returns at once having composed
// nothing (recorded all the same), and timing counters that stay 0; as a
// variant, that flush takes 3 ms, as a loaded machine may make it, still
// composing nothing. And, asked to, with a slow first answer.
#include "tests/standins/DwmRecord.h"

#include <dwmapi.h>

namespace {

constexpr LONG InvisibleBorder = 7;
constexpr HRESULT CompositionDisabled =
    static_cast<HRESULT>(0x80263001); // DWM_E_COMPOSITIONDISABLED
// Under X the window manager applies a change of window geometry some time
// after the call (about 20 ms here); four frames at 60 Hz cover that on a
// loaded machine, as the next composition pass covers it on Windows.
constexpr LONGLONG FramesToWait = 4;
constexpr LONGLONG FramesPerSecond = 60;

bool Wanted(const wchar_t* variable) {
    wchar_t value[8] = {};
    return ::GetEnvironmentVariableW(variable, value, 8) == 1 && value[0] == L'1';
}

// The record of the test that started this process; nullptr when none asked.
standin::DwmRecord* Record() {
    static standin::DwmRecord* const record = []() -> standin::DwmRecord* {
        wchar_t name[256] = {};
        const DWORD length = ::GetEnvironmentVariableW(standin::DwmRecordVariable, name, 256);
        if (length == 0 || length >= 256) {
            return nullptr;
        }
        HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
        if (mapping == nullptr) {
            return nullptr;
        }
        // Kept for the life of the process: the record is written until its end.
        return static_cast<standin::DwmRecord*>(
            ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(standin::DwmRecord)));
    }();
    return record;
}

// Frames composed so far, in this process: the stand-in's compositor.
volatile LONG64 composedFrames = 0;

LONGLONG Now() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONG CaptureWindowHeight() {
    LONG height = -1;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[16] = {};
            ::GetClassNameW(window, name, 16);
            RECT r{};
            if (::IsWindowVisible(window) && ::lstrcmpW(name, L"TForm1") == 0 &&
                ::GetWindowRect(window, &r)) {
                *reinterpret_cast<LONG*>(param) = r.bottom - r.top;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&height));
    return height;
}

// The process's first call of the two a capture times, slow when asked.
void FirstAnswer() {
    static LONG answered = 0;
    if (::InterlockedExchange(&answered, 1) == 0 && Wanted(standin::DwmSlowFirstAnswerVariable)) {
        ::Sleep(20);
    }
}

} // namespace

extern "C" {

// Tells the tests that the stand-in answers, not Wine's own dwmapi.
BOOL WINAPI VarnelStandInDwmapi() {
    return TRUE;
}

HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
    FirstAnswer();
    if (enabled == nullptr) {
        return E_INVALIDARG;
    }
    *enabled = Wanted(standin::DwmCompositionOffVariable) && !Wanted(standin::DwmLikeWine10Variable)
                   ? FALSE
                   : TRUE;
    return S_OK;
}

HRESULT WINAPI DwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size) {
    if (attribute != DWMWA_EXTENDED_FRAME_BOUNDS) {
        return E_INVALIDARG;
    }
    if (standin::DwmRecord* record = Record()) {
        ::InterlockedIncrement(&record->frameQueries);
    }
    if (value == nullptr || size != sizeof(RECT)) {
        return E_INVALIDARG;
    }
    RECT bounds{};
    if (Wanted(standin::DwmFailFrameBoundsVariable) || !::IsWindow(window) ||
        !::GetWindowRect(window, &bounds)) {
        return E_HANDLE;
    }
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & WS_THICKFRAME) != 0 && !::IsZoomed(window) &&
        !Wanted(standin::DwmLikeWine10Variable)) {
        bounds.left += InvisibleBorder;
        bounds.right -= InvisibleBorder;
        bounds.bottom -= InvisibleBorder;
    }
    *static_cast<RECT*>(value) = bounds;
    return S_OK;
}

HRESULT WINAPI DwmFlush() {
    FirstAnswer();
    const bool likeWine10 = Wanted(standin::DwmLikeWine10Variable);
    if (Wanted(standin::DwmCompositionOffVariable) && !likeWine10) {
        return CompositionDisabled;
    }
    standin::DwmRecord* record = Record();
    const LONGLONG called = Now();
    if (record != nullptr) {
        // Looking for the window takes the server's time, which Wine 10's
        // flush does not spend.
        record->windowHeight = likeWine10 ? -1 : CaptureWindowHeight();
        record->flushCalled = called;
    }
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    // Wait for the frame boundaries, as the compositor's clock gives them;
    // Wine 10 waits for nothing.
    const LONGLONG frame = frequency.QuadPart / FramesPerSecond;
    const LONGLONG until = likeWine10 ? called : (called / frame + FramesToWait) * frame;
    for (LONGLONG now = Now(); now < until; now = Now()) {
        ::Sleep(static_cast<DWORD>((until - now) * 1000 / frequency.QuadPart) + 1);
    }
    if (!likeWine10) {
        ::InterlockedIncrement64(&composedFrames);
    } else if (Wanted(standin::DwmSlowFlushVariable)) {
        // Slow, as on a loaded machine, but composing nothing.
        const LONGLONG slowUntil = called + frequency.QuadPart * 3 / 1000;
        while (Now() < slowUntil) {
            ::Sleep(1);
        }
    }
    if (record != nullptr) {
        record->flushEnded = Now();
        ::InterlockedIncrement(&record->flushes);
    }
    return S_OK;
}

HRESULT WINAPI DwmGetCompositionTimingInfo(HWND window, DWM_TIMING_INFO* info) {
    const bool likeWine10 = Wanted(standin::DwmLikeWine10Variable);
    if (Wanted(standin::DwmCompositionOffVariable) && !likeWine10) {
        return CompositionDisabled;
    }
    if (window != nullptr || info == nullptr || info->cbSize != sizeof(DWM_TIMING_INFO)) {
        return E_INVALIDARG;
    }
    const UINT32 size = info->cbSize;
    *info = DWM_TIMING_INFO{};
    info->cbSize = size;
    info->rateRefresh = {UINT32(FramesPerSecond), 1};
    info->rateCompose = {UINT32(FramesPerSecond), 1};
    if (!likeWine10) {
        const LONG64 frames = ::InterlockedCompareExchange64(&composedFrames, 0, 0);
        info->cFrame = ULONGLONG(frames);
        info->cRefresh = ULONGLONG(frames);
    }
    return S_OK;
}

} // extern "C"
