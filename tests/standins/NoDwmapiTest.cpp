// With no dwmapi.dll at all (run with WINEDLLOVERRIDES=dwmapi=d, over the
// screen pattern) the program still starts and captures: it binds the
// compositor's functions when it first needs them, and falls back to a
// pause and to the window rectangle.
#include "tests/standins/StandInSupport.h"
#include "tests/support/ScreenPattern.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "capture/CaptureMath.h"

#include <psapi.h>

#include <vector>

namespace {

using wintest::HeldPixel;

bool HasModule(HANDLE process, const wchar_t* name) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!::EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        ADD_FAILURE() << "cannot list the modules, error " << ::GetLastError();
        return true;
    }
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        wchar_t base[MAX_PATH] = {};
        ::GetModuleBaseNameW(process, modules[i], base, MAX_PATH);
        if (::lstrcmpiW(base, name) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

class NoDwmapi : public CaptureWindowTest {
protected:
    void SetUp() override {
        ASSERT_EQ(::LoadLibraryW(L"dwmapi.dll"), nullptr) << "dwmapi.dll is there after all";
        CaptureWindowTest::SetUp();
    }
};

TEST_F(NoDwmapi, RegionCaptureIsExact) {
    constexpr int Left = 123, Top = 77, Width = 210, ViewfinderHeight = 90;
    Form1->SetWindowBounds(Left, Top, Width, TitleBar + ViewfinderHeight);
    wintest::Pump(200);
    Form1->CutBtnClick(*Form1->CutBtn);
    const capture::CaptureRegion region = capture::RegionUnderViewfinder(
        Left, Top, TitleBarHeight, float(Width), ViewfinderHeight, Form1->Scale);
    ASSERT_NE(Form1->BMP, nullptr);
    ASSERT_EQ(Form1->BMP->Width(), region.width);
    ASSERT_EQ(Form1->BMP->Height(), region.height);
    int mismatches = 0;
    for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
            mismatches += HeldPixel(*Form1->BMP, x, y) !=
                          testpattern::ScreenPatternAt(region.x + x, region.y + y);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Form1->ClientHeight(), TitleBar + ViewfinderHeight);
}

TEST_F(NoDwmapi, WindowCaptureTakesTheWindowRectangle) {
    ::SetForegroundWindow(host->Handle());
    wintest::Pump(100);
    Form1->CopyWindBtnClick(*Form1->CopyWindBtn);
    ASSERT_NE(Form1->BMP, nullptr);
    EXPECT_EQ(Form1->BMP->Width(), Form1->ScreenRect().Width());
    EXPECT_EQ(Form1->BMP->Height(), Form1->ScreenRect().Height());
    EXPECT_TRUE(wintest::Near(HeldPixel(*Form1->BMP, 400, 18), 0x708090));
}

// The real program, started with the same environment: it shows its window,
// captures the region under its viewfinder, copies it, and exits cleanly,
// without ever loading a dwmapi.
TEST(NoDwmapiProgram, StartsCapturesAndCopies) {
    ASSERT_EQ(::LoadLibraryW(L"dwmapi.dll"), nullptr) << "dwmapi.dll is there after all";
    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    wintest::Pump(500);
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(window, &r));
    ASSERT_TRUE(wintest::CaptureRegionAndCopy(window)) << "nothing was copied";
    wintest::Pump(300);
    const std::optional<wintest::Picture> picture = wintest::ClipboardDib();
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, 501);
    ASSERT_EQ(picture->height, 332);
    int mismatches = 0;
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            mismatches +=
                picture->At(x, y) != testpattern::ScreenPatternAt(r.left + x, r.top + TitleBar + y);
        }
    }
    EXPECT_EQ(mismatches, 0);

    const platform::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.Id()));
    ASSERT_TRUE(process);
    EXPECT_FALSE(HasModule(process.get(), L"dwmapi.dll"));
    EXPECT_TRUE(HasModule(process.get(), L"Varnel.exe")) << "the module list is not what it seems";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}
