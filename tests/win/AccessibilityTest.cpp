// The capture window read and worked by assistive technology from another
// process, through Active Accessibility only (no pointer, no keys): every
// control with its name, role, state, value and place at 96 and 120 DPI; a
// region capture and a copy done by default actions; stay on top, a
// disabled button and typed sizes; the change events a hook in another
// process receives; and a client that still holds the object when the
// window goes.
#include "tests/win/AccessibleClient.h"
#include "tests/win/FormFixture.h"
#include "tests/win/PatternWindow.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Com.h"
#include "platform/Gdi.h"
#include "toolkit/AccessibleTree.h"
#include "toolkit/win32/AccessibleProvider.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdlib>
#include <future>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace msaa;

namespace {

// Where a tool button is drawn, from the screen alone: lit under the
// pointer, its face covers exactly its place. The pointer rests on the
// viewfinder between buttons, and the lit face is read as soon as it shows,
// before a tooltip can come.
::testing::AssertionResult LitExactlyAt(const RECT& r, POINT rest) {
    const RECT ring{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    const int w = ring.right - ring.left;
    auto at = [&](const std::vector<std::uint32_t>& pixels, int x, int y) {
        return pixels[std::size_t(y - ring.top) * w + (x - ring.left)];
    };
    wintest::MoveMouse(rest.x, rest.y);
    wintest::Pump(600); // the last button's face and tooltip go
    const std::vector<std::uint32_t> before = wintest::ScreenPixels(ring);
    wintest::MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    std::vector<std::uint32_t> after;
    if (!wintest::WaitFor(
            [&] {
                after = wintest::ScreenPixels(ring);
                return !wintest::Near(at(after, r.left, r.top), at(before, r.left, r.top));
            },
            3000)) {
        return ::testing::AssertionFailure() << "the button never lit up under the pointer";
    }
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    struct Probe {
        int x, y;
        bool inside;
    };
    const Probe probes[] = {
        {r.left, r.top, true},        {r.right - 1, r.top, true},
        {r.left, r.bottom - 1, true}, {r.right - 1, r.bottom - 1, true},
        {r.left - 1, midY, false},    {r.right, midY, false},
        {midX, r.top - 1, false},     {midX, r.bottom, false},
    };
    for (const Probe& p : probes) {
        const std::uint32_t was = at(before, p.x, p.y);
        const std::uint32_t is = at(after, p.x, p.y);
        if (wintest::Near(was, is) == p.inside) {
            return ::testing::AssertionFailure()
                   << "(" << p.x << "," << p.y << ") " << (p.inside ? "inside" : "outside")
                   << " the place: #" << std::hex << was << " before, #" << is << " lit";
        }
    }
    return ::testing::AssertionSuccess();
}

// The viewfinder's place, from the screen: its black stroke on its top row,
// the title bar's grey stroke just above, and the window's edges.
void ExpectViewfinderDrawnAt(const RECT& view, HWND window) {
    const wintest::ScreenShot shot;
    RECT frame{};
    ::GetWindowRect(window, &frame);
    EXPECT_TRUE(wintest::Near(shot.At(view.left + 60, view.top), 0x000000))
        << std::hex << shot.At(view.left + 60, view.top);
    EXPECT_TRUE(wintest::Near(shot.At(view.left + 60, view.top - 1), 0x696969))
        << std::hex << shot.At(view.left + 60, view.top - 1);
    EXPECT_EQ(view.left, frame.left);
    EXPECT_EQ(view.right, frame.right);
    EXPECT_EQ(view.bottom, frame.bottom);
}

// The program as another process starts it, at the prefix's DPI.
struct Program {
    wintest::ChildProcess process{L"\"" + wintest::ProgramPath() + L"\""};
    HWND window = process.WaitForWindow(L"TForm1", 20000);
};

} // namespace

class ProgramAccessibility : public ::testing::TestWithParam<DWORD> {};

TEST_P(ProgramAccessibility, EveryControlIsFoundWithNameRoleStateValueAndPlace) {
    wintest::SystemDpiOverride dpi(GetParam());
    const auto com = platform::ComApartment::SingleThreaded();
    Program program;
    ASSERT_NE(program.window, nullptr);
    wintest::Pump(300);
    ComPtr<IAccessible> acc = ClientObject(program.window);
    ASSERT_NE(acc, nullptr);

    EXPECT_EQ(Name(acc.Get(), CHILDID_SELF), L"Varnel");
    EXPECT_EQ(Role(acc.Get(), CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_TRUE(ParentIsTheObjectOf(acc.Get(), program.window));

    // The children, as a client enumerates them.
    long count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 11);
    VARIANT children[11];
    long obtained = 0;
    ASSERT_TRUE(SUCCEEDED(::AccessibleChildren(acc.Get(), 0, 11, children, &obtained)));
    ASSERT_EQ(obtained, 11);

    const std::wstring width = GetParam() == 96 ? L"501" : L"626";
    const std::wstring height = GetParam() == 96 ? L"332" : L"415";
    struct Expected {
        const wchar_t* name;
        long role;
        long state;
        std::optional<std::wstring> value;
    };
    const Expected expected[] = {
        {TopName, ROLE_SYSTEM_CHECKBUTTON, 0, std::nullopt},
        {CutName, ROLE_SYSTEM_PUSHBUTTON, 0, std::nullopt},
        {L"Window取得", ROLE_SYSTEM_PUSHBUTTON, 0, std::nullopt},
        {CopyName, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE, std::nullopt},
        {SaveBmpName, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE, std::nullopt},
        {SavePngName, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE, std::nullopt},
        {WidthName, ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE, width},
        {HeightName, ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE, height},
        {SetRectName, ROLE_SYSTEM_PUSHBUTTON, 0, std::nullopt},
        {ExitName, ROLE_SYSTEM_PUSHBUTTON, 0, std::nullopt},
        {ViewfinderName, ROLE_SYSTEM_GRAPHIC, 0, std::nullopt},
    };

    RECT window{};
    ::GetWindowRect(program.window, &window);
    const wintest::ScreenShot shot;
    for (long i = 0; i < 11; ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(i + 1);
        ASSERT_EQ(children[i].vt, VT_I4);
        const long id = children[i].lVal;
        EXPECT_EQ(id, i + 1);
        EXPECT_EQ(Name(acc.Get(), id), e.name);
        EXPECT_EQ(Role(acc.Get(), id), e.role);
        EXPECT_EQ(State(acc.Get(), id), e.state);
        EXPECT_EQ(Value(acc.Get(), id), e.value);
        const RECT r = Location(acc.Get(), id);
        EXPECT_TRUE(r.left >= window.left && r.top >= window.top && r.right <= window.right &&
                    r.bottom <= window.bottom && r.left < r.right && r.top < r.bottom)
            << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
        // The client finds the control again at its centre.
        VARIANT hit;
        ::VariantInit(&hit);
        ASSERT_EQ(acc->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, id);
    }
    // On the screen: each box's frame lies exactly on its place's edges, and
    // the viewfinder's black stroke on its top row, below the title bar.
    for (long id : {7L, 8L}) {
        SCOPED_TRACE(id);
        const RECT r = Location(acc.Get(), id);
        const int midY = (r.top + r.bottom) / 2;
        const int midX = (r.left + r.right) / 2;
        EXPECT_TRUE(wintest::Near(shot.At(r.left, midY), 0x8A8A8A))
            << std::hex << shot.At(r.left, midY);
        EXPECT_TRUE(wintest::Near(shot.At(r.right - 1, midY), 0x8A8A8A));
        EXPECT_FALSE(wintest::Near(shot.At(r.left - 1, midY), 0x8A8A8A));
        EXPECT_FALSE(wintest::Near(shot.At(r.right, midY), 0x8A8A8A));
        EXPECT_TRUE(wintest::Near(shot.At(midX, r.top), 0x8A8A8A))
            << std::hex << shot.At(midX, r.top);
        EXPECT_TRUE(wintest::Near(shot.At(midX, r.bottom - 1), 0x8A8A8A));
        EXPECT_FALSE(wintest::Near(shot.At(midX, r.top - 1), 0x8A8A8A));
        EXPECT_FALSE(wintest::Near(shot.At(midX, r.bottom), 0x8A8A8A));
    }
    const RECT view = Location(acc.Get(), 11);
    ExpectViewfinderDrawnAt(view, program.window);
    // Each button lights up under the pointer exactly over its place; the
    // outputs once a capture has enabled them.
    const POINT rest{(view.left + view.right) / 2, (view.top + view.bottom) / 2};
    for (long id = 1; id <= 10; ++id) {
        if (id != 7 && id != 8 && expected[id - 1].state == 0) {
            SCOPED_TRACE(id);
            EXPECT_TRUE(LitExactlyAt(Location(acc.Get(), id), rest));
        }
    }
    ASSERT_EQ(acc->accDoDefaultAction(Child(2)), S_OK);
    ASSERT_TRUE(Eventually([&] { return State(acc.Get(), 4) == 0; }));
    for (long id : {4L, 5L, 6L}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(LitExactlyAt(Location(acc.Get(), id), rest));
    }
    wintest::MoveMouse(rest.x, rest.y);

    // Navigation in reading order.
    VARIANT to;
    ::VariantInit(&to);
    ASSERT_EQ(acc->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(to.lVal, 1);
    ASSERT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(6), &to), S_OK);
    EXPECT_EQ(Name(acc.Get(), to.lVal), WidthName);
    ASSERT_EQ(acc->accNavigate(NAVDIR_DOWN, Child(2), &to), S_OK);
    EXPECT_EQ(Name(acc.Get(), to.lVal), ViewfinderName);

    // Closing through the close button's action ends the program; the
    // object this client still holds then fails cleanly.
    ASSERT_EQ(acc->accDoDefaultAction(Child(10)), S_OK);
    EXPECT_EQ(program.process.WaitForExit(10000), std::optional<DWORD>(0));
    long after = 0;
    EXPECT_TRUE(FAILED(acc->get_accChildCount(&after)));
}

INSTANTIATE_TEST_SUITE_P(AtDpi, ProgramAccessibility, ::testing::Values(96, 120));

TEST(ProgramByDefaultActions, RegionCaptureAndCopyLeaveTheExactCaptureOnTheClipboard) {
    const auto com = platform::ComApartment::SingleThreaded();
    wintest::PatternWindow pattern;
    ASSERT_TRUE(pattern.Shown()) << "the pattern window never reached the screen";
    POINT pointer{};
    ::GetCursorPos(&pointer);
    Program program;
    ASSERT_NE(program.window, nullptr);
    wintest::Pump(300);
    ComPtr<IAccessible> acc = ClientObject(program.window);
    ASSERT_NE(acc, nullptr);
    const long cut = ChildNamed(acc.Get(), CutName);
    const long copy = ChildNamed(acc.Get(), CopyName);
    const RECT view = Location(acc.Get(), ChildNamed(acc.Get(), ViewfinderName));

    // Disabled before a capture: the action fails and changes nothing.
    const DWORD sequence = ::GetClipboardSequenceNumber();
    EXPECT_TRUE(FAILED(acc->accDoDefaultAction(Child(copy))));
    wintest::Pump(300);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_TRUE(State(acc.Get(), copy) & STATE_SYSTEM_UNAVAILABLE);

    ASSERT_EQ(acc->accDoDefaultAction(Child(cut)), S_OK);
    ASSERT_TRUE(Eventually([&] { return !(State(acc.Get(), copy) & STATE_SYSTEM_UNAVAILABLE); }));
    ASSERT_EQ(acc->accDoDefaultAction(Child(copy)), S_OK);
    ASSERT_TRUE(Eventually([&] { return ::GetClipboardSequenceNumber() != sequence; }));
    wintest::Pump(300);

    const std::optional<wintest::Picture> picture = wintest::ClipboardDib();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, view.right - view.left);
    EXPECT_EQ(picture->height, view.bottom - view.top);
    int mismatches = 0;
    std::ostringstream first;
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            const std::uint32_t actual = picture->At(x, y);
            const std::uint32_t wanted = wintest::PatternAt(view.left + x, view.top + y);
            if (actual != wanted && mismatches++ == 0) {
                first << "(" << x << "," << y << "): " << std::hex << actual << " not " << wanted;
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << first.str();

    POINT after{};
    ::GetCursorPos(&after);
    EXPECT_TRUE(after.x == pointer.x && after.y == pointer.y) << "no pointer was used";
    ::PostMessageW(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.process.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST(ProgramByDefaultActions, StayOnTopAndTypedSizes) {
    const auto com = platform::ComApartment::SingleThreaded();
    Program program;
    ASSERT_NE(program.window, nullptr);
    wintest::Pump(300);
    ComPtr<IAccessible> acc = ClientObject(program.window);
    ASSERT_NE(acc, nullptr);
    const long top = ChildNamed(acc.Get(), TopName);

    // TopBtn's action latches it and makes the window topmost; again undoes both.
    ASSERT_EQ(acc->accDoDefaultAction(Child(top)), S_OK);
    EXPECT_TRUE(Eventually([&] { return (State(acc.Get(), top) & STATE_SYSTEM_CHECKED) != 0; }));
    EXPECT_TRUE(Eventually(
        [&] { return (::GetWindowLongPtrW(program.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
    ASSERT_EQ(acc->accDoDefaultAction(Child(top)), S_OK);
    EXPECT_TRUE(Eventually([&] { return (State(acc.Get(), top) & STATE_SYSTEM_CHECKED) == 0; }));
    EXPECT_TRUE(Eventually(
        [&] { return (::GetWindowLongPtrW(program.window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));

    // The other disabled outputs do nothing either.
    for (const wchar_t* name : {SaveBmpName, SavePngName}) {
        EXPECT_TRUE(FAILED(acc->accDoDefaultAction(Child(ChildNamed(acc.Get(), name)))));
    }
    wintest::Pump(300);
    EXPECT_EQ(::FindWindowW(nullptr, L"Save"), nullptr) << "no save dialog opened";

    // Typed sizes, then the apply button's action, size the viewfinder.
    const long w = ChildNamed(acc.Get(), WidthName);
    const long h = ChildNamed(acc.Get(), HeightName);
    BSTR text = ::SysAllocString(L"+320");
    EXPECT_EQ(acc->put_accValue(Child(w), text), S_OK);
    ::SysFreeString(text);
    text = ::SysAllocString(L"200");
    EXPECT_EQ(acc->put_accValue(Child(h), text), S_OK);
    ::SysFreeString(text);
    // Set from the window's own loop, as default actions are run.
    EXPECT_TRUE(Eventually([&] { return Value(acc.Get(), w) == L"320"; }));
    EXPECT_TRUE(Eventually([&] { return Value(acc.Get(), h) == L"200"; }));
    EXPECT_EQ(Value(acc.Get(), w), L"320");
    EXPECT_EQ(Value(acc.Get(), h), L"200");
    EXPECT_TRUE(FAILED(acc->put_accValue(Child(top), nullptr)));
    ASSERT_EQ(acc->accDoDefaultAction(Child(ChildNamed(acc.Get(), SetRectName))), S_OK);
    const long view = ChildNamed(acc.Get(), ViewfinderName);
    EXPECT_TRUE(Eventually([&] {
        const RECT r = Location(acc.Get(), view);
        return r.right - r.left == 320 && r.bottom - r.top == 200;
    }));
    RECT window{};
    ::GetWindowRect(program.window, &window);
    EXPECT_EQ(window.right - window.left, 320);
    EXPECT_EQ(window.bottom - window.top, 236);
    ::PostMessageW(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.process.WaitForExit(10000), std::optional<DWORD>(0));
}

namespace {

struct Recorded {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::vector<Recorded> recorded;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
    // Only recorded here: resolving calls back into the other process, and
    // the next event's callback would run inside that call.
    recorded.push_back({event, window, object, child});
}

} // namespace

TEST(ProgramByDefaultActions, AHookInAnotherProcessReceivesAndResolvesEachChange) {
    const auto com = platform::ComApartment::SingleThreaded();
    Program program;
    ASSERT_NE(program.window, nullptr);
    wintest::Pump(300);
    recorded.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr,
                                           &Record, program.process.Id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    ComPtr<IAccessible> acc = ClientObject(program.window);
    ASSERT_NE(acc, nullptr);
    const long width = ChildNamed(acc.Get(), WidthName);
    const long height = ChildNamed(acc.Get(), HeightName);

    ASSERT_EQ(acc->accDoDefaultAction(Child(width)), S_OK); // the box takes the focus
    BSTR text = ::SysAllocString(L"300");
    ASSERT_EQ(acc->put_accValue(Child(height), text), S_OK);
    ::SysFreeString(text);
    ASSERT_EQ(acc->accDoDefaultAction(Child(ChildNamed(acc.Get(), TopName))), S_OK);
    ASSERT_EQ(acc->accDoDefaultAction(Child(ChildNamed(acc.Get(), CutName))), S_OK);

    // Resolves what was recorded; each event names its control.
    auto resolved = [&](DWORD event) {
        std::vector<std::wstring> names;
        for (const Recorded& r : recorded) {
            if (r.event != event || r.window != program.window) {
                continue;
            }
            ComPtr<IAccessible> source;
            VARIANT child;
            ::VariantInit(&child);
            if (SUCCEEDED(::AccessibleObjectFromEvent(r.window, DWORD(r.object), DWORD(r.child),
                                                      source.GetAddressOf(), &child))) {
                BSTR name = nullptr;
                source->get_accName(child, &name);
                names.push_back(Take(name));
            }
            ::VariantClear(&child);
        }
        return names;
    };
    auto has = [](const std::vector<std::wstring>& names, const wchar_t* name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    EXPECT_TRUE(Eventually([&] {
        std::vector<Recorded> snapshot = recorded;
        int focus = 0, value = 0, state = 0;
        for (const Recorded& r : snapshot) {
            focus += r.event == EVENT_OBJECT_FOCUS;
            value += r.event == EVENT_OBJECT_VALUECHANGE;
            state += r.event == EVENT_OBJECT_STATECHANGE;
        }
        return focus >= 1 && value >= 1 && state >= 4;
    })) << recorded.size()
        << " events";
    ::UnhookWinEvent(hook);
    for (const Recorded& r : recorded) {
        EXPECT_EQ(r.object, OBJID_CLIENT);
    }
    const auto focus = resolved(EVENT_OBJECT_FOCUS);
    const auto values = resolved(EVENT_OBJECT_VALUECHANGE);
    const auto states = resolved(EVENT_OBJECT_STATECHANGE);
    EXPECT_EQ(focus, std::vector<std::wstring>{WidthName});
    EXPECT_EQ(values, std::vector<std::wstring>{HeightName});
    // Latched, then the three outputs enabled by the capture.
    for (const wchar_t* name : {TopName, CopyName, SaveBmpName, SavePngName}) {
        EXPECT_TRUE(has(states, name)) << states.size() << " state changes resolved";
    }
    ::PostMessageW(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.process.WaitForExit(10000), std::optional<DWORD>(0));
}

// Started by the next test: holds the window's object while the window
// goes, then calls on it.
TEST(AccessibleHolderHelper, CallsFailCleanlyAfterTheWindowIsGone) {
    const auto com = platform::ComApartment::SingleThreaded();
    HWND window = reinterpret_cast<HWND>(
        std::wcstoull(wintest::Environment(L"VARNEL_WINDOW").c_str(), nullptr, 10));
    // Released once the window is gone.
    const wintest::HelperSide side;
    ASSERT_TRUE(side.Opened());
    ComPtr<IAccessible> acc = ClientObject(window);
    ASSERT_NE(acc, nullptr);
    EXPECT_EQ(Name(acc.Get(), 1), TopName);
    side.SayReady();
    ASSERT_TRUE(side.WaitForRelease());
    // COM itself answers that the object was cut off from its clients; which
    // of these codes depends on how far the stub's clean-up has got.
    auto disconnected = [](HRESULT hr) {
        return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED ||
               hr == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF) ||
               hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    };
    long count = 0;
    const HRESULT counted = acc->get_accChildCount(&count);
    EXPECT_TRUE(disconnected(counted)) << std::hex << counted;
    BSTR name = nullptr;
    const HRESULT named = acc->get_accName(Child(1), &name);
    EXPECT_TRUE(disconnected(named)) << std::hex << named;
    ::SysFreeString(name);
    const HRESULT acted = acc->accDoDefaultAction(Child(2));
    EXPECT_TRUE(disconnected(acted)) << std::hex << acted;
    acc.Reset();
}

TEST_F(CaptureWindowTest, ClosingWhileAnotherProcessHoldsTheObjectFreesItAndItsCallsFail) {
    const long before = toolkit::win32::AccessibleProvider::LiveCount();
    HWND window = host->Handle();
    wintest::OtherProgram client(
        L"AccessibleHolderHelper.CallsFailCleanlyAfterTheWindowIsGone",
        {{L"VARNEL_WINDOW", std::to_wstring(reinterpret_cast<std::uintptr_t>(window))}});
    // The client's calls come in through this thread's messages.
    ASSERT_TRUE(Eventually([&] { return client.IsReady(); }, 30000));
    EXPECT_EQ(toolkit::win32::AccessibleProvider::LiveCount(), before + 1);

    Application.DestroyForms();
    Form1 = nullptr;
    // The other process still holds its reference, yet the object is gone.
    EXPECT_EQ(toolkit::win32::AccessibleProvider::LiveCount(), before) << "nothing leaks";

    client.Release();
    std::optional<DWORD> code;
    Eventually([&] { return (code = client.WaitForExit(0)).has_value(); }, 30000);
    EXPECT_EQ(code, std::optional<DWORD>(0)) << "the client's calls did not fail cleanly";
    EXPECT_EQ(toolkit::win32::AccessibleProvider::LiveCount(), before);
}
