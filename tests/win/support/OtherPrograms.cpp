#include "tests/win/support/OtherPrograms.h"

#include "platform/Display.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/support/TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace wintest {

namespace {

// Whether an environment entry ("NAME=value") sets the variable `name`;
// names compare without regard to case, as Windows compares them.
bool Sets(const std::wstring& entry, const std::wstring& name) {
    return entry.size() > name.size() && entry[name.size()] == L'=' &&
           ::CompareStringOrdinal(entry.c_str(), int(name.size()), name.c_str(), int(name.size()),
                                  TRUE) == CSTR_EQUAL;
}

} // namespace

std::wstring ChildEnvironment(const std::vector<std::pair<std::wstring, std::wstring>>& env) {
    std::vector<std::wstring> entries;
    if (wchar_t* own = ::GetEnvironmentStringsW()) {
        for (const wchar_t* entry = own; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
            entries.emplace_back(entry);
        }
        ::FreeEnvironmentStringsW(own);
    }
    for (const auto& [name, value] : env) {
        std::erase_if(entries, [&](const std::wstring& entry) { return Sets(entry, name); });
        entries.push_back(name + L"=" + value);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

ChildProcess::ChildProcess(const std::wstring& commandLine,
                           const std::vector<std::pair<std::wstring, std::wstring>>& env) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = commandLine;
    std::wstring environment = ChildEnvironment(env);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          environment.data(), nullptr, &startup, &info_)) {
        const DWORD error = ::GetLastError();
        info_ = {};
        ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end())
                      << ": error " << error;
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

} // namespace wintest
