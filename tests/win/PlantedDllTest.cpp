// A DLL under a system name left beside Varnel.exe (a download folder may
// hold one), with Wine told to load that name from the program's folder
// first, as Windows does for every DLL that is no KnownDLL: the program
// starts, makes a region capture (which binds dwmapi), copies it and
// closes, and the planted DLL never ran. Its marker file says whether it
// did; that the marker works is shown by loading the DLL on purpose.
#include "tests/win/WinTestSupport.h"

#include <string>

namespace {

std::wstring PlantedFolder() {
    return wintest::BuildPath("tests/win/planted");
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(PlantedDll, NoneBesideTheProgramIsLoaded) {
    const std::wstring program = PlantedFolder() + L"\\Varnel.exe";
    ASSERT_TRUE(Exists(program)) << "no copy of the program at "
                                 << std::string(program.begin(), program.end());
    const std::wstring overrides = wintest::Environment(L"WINEDLLOVERRIDES");
    for (const wchar_t* name : {L"dwrite", L"oleacc", L"winmm", L"dwmapi"}) {
        const std::wstring dll = PlantedFolder() + L"\\" + name + L".dll";
        const std::wstring marker = dll + L".loaded";
        SCOPED_TRACE(std::string(dll.begin(), dll.end()));

        // The marker shows a load: the DLL loaded on purpose, by a process
        // told to prefer it to Wine's own, leaves it.
        const std::wstring nativeFirst =
            (overrides.empty() ? L"" : overrides + L";") + name + L"=n,b";
        ::DeleteFileW(marker.c_str());
        ASSERT_TRUE(wintest::RunSelf(L"PlantedDllLoadHelper.*", {{L"WINEDLLOVERRIDES", nativeFirst},
                                                                 {L"VARNEL_PLANTED_DLL", dll}}));
        ASSERT_TRUE(Exists(marker)) << "the planted DLL leaves no marker when loaded";
        ASSERT_TRUE(::DeleteFileW(marker.c_str()));

        wintest::ChildProcess child(L"\"" + program + L"\"", {{L"WINEDLLOVERRIDES", nativeFirst}});
        HWND window = child.WaitForWindow(L"TForm1", 20000);
        ASSERT_NE(window, nullptr) << "the program did not start";
        wintest::Pump(300);
        EXPECT_TRUE(wintest::CaptureRegionAndCopy(window)) << "the capture was not copied";
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(child.WaitForExit(10000), std::optional<DWORD>(0));
        EXPECT_FALSE(Exists(marker)) << "the program loaded the DLL planted beside it";
        ::DeleteFileW(marker.c_str());
    }
}

// Started by NoneBesideTheProgramIsLoaded: loads the planted DLL by its path.
TEST(PlantedDllLoadHelper, LoadsTheDll) {
    const std::wstring dll = wintest::Environment(L"VARNEL_PLANTED_DLL");
    ASSERT_FALSE(dll.empty());
    HMODULE loaded = ::LoadLibraryW(dll.c_str());
    ASSERT_NE(loaded, nullptr) << "error " << ::GetLastError();
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(loaded, path, MAX_PATH);
    EXPECT_EQ(::lstrcmpiW(path, dll.c_str()), 0) << "Wine's own DLL came instead";
    ::FreeLibrary(loaded);
}
