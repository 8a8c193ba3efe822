// What the tests beside the stand-ins share: the stand-in compositor's record,
// a second program's window with a known picture, the held image's pixels.
#pragma once

#include "platform/Win.h"
#include "tests/standins/DwmRecord.h"
#include "tests/win/WinTestSupport.h"

#include <cstdint>
#include <string>

namespace standin {

// The shared record under a name of this process's, named in the
// environment, where the stand-in dwmapi.dll (in this process or a child)
// finds it. One for the whole process, since the stand-in maps it once.
class DwmRecordMapping {
public:
    DwmRecordMapping();
    ~DwmRecordMapping();
    DwmRecordMapping(const DwmRecordMapping&) = delete;
    DwmRecordMapping& operator=(const DwmRecordMapping&) = delete;

    static DwmRecordMapping& Instance();

    volatile DwmRecord& Get() { return *record_; }
    void Reset();

private:
    HANDLE mapping_ = nullptr;
    DwmRecord* record_ = nullptr;
};

// Whether the module is the stand-in dwmapi.dll, not Wine's own.
inline bool IsStandInDwmapi(HMODULE module) {
    return module != nullptr && ::GetProcAddress(module, "VarnelStandInDwmapi") != nullptr;
}

// The picture the other program's window shows, by window coordinates.
std::uint32_t OtherWindowPixel(int x, int y);

// The window that OtherWindowOwnerHelper shows: its place and size, and its
// style (a sizing frame, whose borders a composed desktop hides).
inline constexpr int OtherLeft = 310;
inline constexpr int OtherTop = 205;
inline constexpr int OtherWidth = 241;
inline constexpr int OtherHeight = 157;

// Starts this program again as the other program; its window comes to the
// front a second later and stays until the object goes.
class OtherWindowProgram : public wintest::OtherProgram {
public:
    OtherWindowProgram();
    // Releases the window; true when the program then ended well in time.
    bool Ended(DWORD milliseconds);
};

} // namespace standin
