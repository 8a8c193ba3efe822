// Other processes a test works with: the real program or this test program
// started again as a child, the ready-and-release handshake between a test
// and the helper suite it starts, and the check that a DPI set for a child
// reached it.
#pragma once

#include "platform/KernelHandle.h"
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wintest {

// The environment block for a child: this process's own variables, with
// `env`'s set or replaced, each "NAME=value" ended by a null, the block by
// another.
std::wstring ChildEnvironment(const std::vector<std::pair<std::wstring, std::wstring>>& env);

class ChildProcess {
public:
    // Starts the command line with this process's environment plus `env`
    // (their values win); a child that cannot be started fails the test,
    // with the system's error code.
    explicit ChildProcess(const std::wstring& commandLine,
                          const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    ~ChildProcess(); // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or nothing when it did not end in time.
    std::optional<DWORD> WaitForExit(DWORD milliseconds);
    // The child's visible top-level window of that class, once shown.
    HWND WaitForWindow(const wchar_t* className, DWORD milliseconds);

private:
    PROCESS_INFORMATION info_{};
};

// Runs this test program again with a gtest filter; true when the child
// ran at least one test and all passed (a filter that matches nothing is a
// failure, not a pass).
bool RunSelf(const std::wstring& filter,
             const std::vector<std::pair<std::wstring, std::wstring>>& env = {},
             DWORD milliseconds = 120000);

// RunSelf with the system DPI set to dpi for the child, which checks with
// AtTheExpectedDpi that the DPI reached it.
bool RunSelfAtSystemDpi(const std::wstring& filter, DWORD dpi);

// In a child of RunSelfAtSystemDpi: whether the system DPI is the one its
// parent set. Run directly, any DPI is right.
::testing::AssertionResult AtTheExpectedDpi();

// This test program started again as another program that runs one helper
// suite (filter), with extra environment variables. The suite works with
// its HelperSide: it says when it is ready and then waits until released.
// Released, and given 10 s to end, when the object goes.
class OtherProgram {
public:
    explicit OtherProgram(const std::wstring& filter,
                          const std::vector<std::pair<std::wstring, std::wstring>>& env = {});
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // Whether the helper said it is ready; a filter that matched no suite
    // never is. The first does not wait, for waits that must keep this
    // thread's messages flowing.
    bool IsReady() const;
    bool WaitUntilReady(DWORD milliseconds) const;
    void Release();
    std::optional<DWORD> WaitForExit(DWORD milliseconds) {
        return process_.WaitForExit(milliseconds);
    }

private:
    struct EventNames {
        std::wstring ready;
        std::wstring release;
    };
    OtherProgram(const std::wstring& filter,
                 const std::vector<std::pair<std::wstring, std::wstring>>& env,
                 const EventNames& names);
    static EventNames NewEventNames();

    platform::UniqueKernelHandle ready_;
    platform::UniqueKernelHandle release_;
    ChildProcess process_;
};

// The helper suite's side of an OtherProgram: the two events its parent
// named in the environment.
class HelperSide {
public:
    HelperSide();
    HelperSide(const HelperSide&) = delete;
    HelperSide& operator=(const HelperSide&) = delete;

    // False when this program was not started as an OtherProgram.
    bool Opened() const { return ready_ && release_; }
    void SayReady() const;
    HANDLE ReleaseEvent() const { return release_.get(); }
    // True once released; false when the parent did not in time.
    bool WaitForRelease(DWORD milliseconds = 30000) const;

private:
    platform::UniqueKernelHandle ready_;
    platform::UniqueKernelHandle release_;
};

} // namespace wintest
