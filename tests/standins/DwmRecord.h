// What the stand-in desktop compositor (dwmapi.dll in the prefix's System32)
// tells the tests: a block of named shared memory, named by the environment
// variable VARNEL_DWM_RECORD, that the stand-in fills in as it is called.
// VARNEL_DWM_FAIL_FRAME_BOUNDS=1 makes its frame-bounds query fail;
// VARNEL_DWM_COMPOSITION_OFF=1 makes it report composition off, as Windows 7
// does with a basic theme; VARNEL_DWM_LIKE_WINE10=1 makes it answer as
// Wine 10 does: composition on, the window rectangle as the frame bounds,
// a DwmFlush that returns at once, having composed nothing, and timing
// counters that stay 0; VARNEL_DWM_SLOW_FLUSH=1 with it makes that flush
// take 3 ms, as a loaded machine may, composing nothing all the same;
// VARNEL_DWM_SLOW_FIRST_ANSWER=1 makes the process's first call to
// DwmIsCompositionEnabled or DwmFlush take 20 ms, as Wine's first answer
// does while it loads and reports its stub.
#pragma once

#include "platform/Win.h"

namespace standin {

inline constexpr const wchar_t* DwmRecordVariable = L"VARNEL_DWM_RECORD";
inline constexpr const wchar_t* DwmFailFrameBoundsVariable = L"VARNEL_DWM_FAIL_FRAME_BOUNDS";
inline constexpr const wchar_t* DwmCompositionOffVariable = L"VARNEL_DWM_COMPOSITION_OFF";
inline constexpr const wchar_t* DwmLikeWine10Variable = L"VARNEL_DWM_LIKE_WINE10";
inline constexpr const wchar_t* DwmSlowFirstAnswerVariable = L"VARNEL_DWM_SLOW_FIRST_ANSWER";
inline constexpr const wchar_t* DwmSlowFlushVariable = L"VARNEL_DWM_SLOW_FLUSH";

struct DwmRecord {
    LONG flushes;         // DwmFlush calls so far
    LONG frameQueries;    // DwmGetWindowAttribute(DWMWA_EXTENDED_FRAME_BOUNDS) calls so far
    LONGLONG flushCalled; // QueryPerformanceCounter at the last DwmFlush's start
    LONGLONG flushEnded;  // ... and at its return
    // The calling thread's visible capture window (class TForm1) at the last
    // DwmFlush: its height in physical pixels, or -1 when it has none.
    LONG windowHeight;
};

} // namespace standin
