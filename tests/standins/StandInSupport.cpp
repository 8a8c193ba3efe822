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

// Started by OtherWindowProgram as another program.
TEST(OtherWindowOwnerHelper, ComesToTheFrontDuringTheCountdown) {
    // A sizing frame without a caption; as a tool window the X window
    // manager leaves it undecorated, so its window rectangle is what X shows.
    wintest::ShowPictureWindowUntilReleased({.className = L"VarnelTestFramedWindow",
                                             .style = WS_POPUP | WS_THICKFRAME,
                                             .exStyle = WS_EX_TOOLWINDOW,
                                             .left = OtherLeft,
                                             .top = OtherTop,
                                             .width = OtherWidth,
                                             .height = OtherHeight,
                                             .pixel = OtherWindowPixel,
                                             .noFrameArea = true});
}

OtherWindowProgram::OtherWindowProgram() : OtherProgram(L"OtherWindowOwnerHelper.*") {}

bool OtherWindowProgram::Ended(DWORD milliseconds) {
    Release();
    return WaitForExit(milliseconds) == std::optional<DWORD>(0);
}

} // namespace standin
