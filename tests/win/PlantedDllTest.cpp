// A DLL under a system name left beside Varnel.exe (a download folder may
// hold one), with Wine told to load those names from the program's folder
// first, as Windows does for every DLL that is no KnownDLL: the program
// starts, makes a region capture (which binds dwmapi), copies it and
// closes, and no planted DLL ran. Each leaves a marker file when loaded;
// that the marker works is shown by loading each one on purpose.
//
// Run by CTest with WINEDLLOVERRIDES naming the four DLLs native-first:
// Wine takes the override from the environment it was started with, not
// from the one a Windows process hands its child.
#include "tests/win/WinTestSupport.h"

#include <string>

namespace {

std::wstring PlantedFolder() {
    return wintest::BuildPath("tests/win/planted");
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

const wchar_t* const Planted[] = {L"dwrite", L"oleacc", L"winmm", L"dwmapi"};

} // namespace

TEST(PlantedDllHelper, NoneBesideTheProgramIsLoaded) {
    const std::wstring program = PlantedFolder() + L"\\Varnel.exe";
    ASSERT_TRUE(Exists(program)) << "no copy of the program at " << Narrow(program);
    for (const wchar_t* name : Planted) {
        ASSERT_NE(wintest::Environment(L"WINEDLLOVERRIDES").find(name), std::wstring::npos)
            << "run without the native-first override for " << Narrow(name);
    }
    for (const wchar_t* name : Planted) {
        const std::wstring dll = PlantedFolder() + L"\\" + name + L".dll";
        const std::wstring marker = dll + L".loaded";
        SCOPED_TRACE(Narrow(dll));
        // The marker shows a load: the DLL loaded on purpose leaves it.
        ::DeleteFileW(marker.c_str());
        HMODULE loaded = ::LoadLibraryW(dll.c_str());
        ASSERT_NE(loaded, nullptr) << "error " << ::GetLastError();
        ::FreeLibrary(loaded);
        ASSERT_TRUE(Exists(marker)) << "the planted DLL leaves no marker when loaded";
        ASSERT_TRUE(::DeleteFileW(marker.c_str()));
    }

    wintest::ChildProcess child(L"\"" + program + L"\"");
    HWND window = child.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr) << "the program did not start";
    wintest::Pump(300);
    EXPECT_TRUE(wintest::CaptureRegionAndCopy(window)) << "the capture was not copied";
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitForExit(10000), std::optional<DWORD>(0));
    for (const wchar_t* name : Planted) {
        const std::wstring marker = PlantedFolder() + L"\\" + name + L".dll.loaded";
        EXPECT_FALSE(Exists(marker))
            << "the program loaded the " << Narrow(name) << ".dll planted beside it";
        ::DeleteFileW(marker.c_str());
    }
}
