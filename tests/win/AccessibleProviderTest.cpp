// The window's accessible object inside the process: a reference held past
// the window's end fails cleanly, the window's own element answers as the
// system's standard client object does, and the values and default actions
// a client asks for run from the window's own loop, in the order they came,
// and go with the window.
#include "tests/win/AccessibleClient.h"
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Com.h"
#include "platform/Gdi.h"
#include "toolkit/AccessibleTree.h"
#include "toolkit/WindowTracking.h"
#include "toolkit/win32/AccessibleProvider.h"
#include "toolkit/win32/WindowCommands.h"

#include <oleacc.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;
using namespace msaa;

// A reference held inside the process (as a client of the same process
// holds one, uncounted by COM) stays safe: the object no longer points at
// the form, every call fails with RPC_E_DISCONNECTED, and the last release
// frees it.
TEST_F(CaptureWindowTest, ADisconnectedObjectHeldInProcessFailsCleanly) {
    const long before = toolkit::win32::AccessibleProvider::LiveCount();
    ComPtr<IAccessible> held;
    {
        toolkit::AccessibleTree tree(*Form1);
        toolkit::win32::CommandQueue commands;
        commands.Attach(host->Handle());
        auto* provider = new toolkit::win32::AccessibleProvider(tree, host->Handle(), commands);
        held = provider;
        BSTR name = nullptr;
        ASSERT_EQ(held->get_accName(Child(1), &name), S_OK);
        EXPECT_EQ(Take(name), TopName);
        provider->Disconnect();
    } // the tree is gone, as the window's is
    Application.DestroyForms();
    Form1 = nullptr;
    long count = 0;
    EXPECT_EQ(held->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(held->get_accName(Child(1), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    VARIANT hit;
    EXPECT_EQ(held->accHitTest(10, 10, &hit), RPC_E_DISCONNECTED);
    EXPECT_EQ(held->accDoDefaultAction(Child(2)), RPC_E_DISCONNECTED);
    EXPECT_EQ(held->put_accValue(Child(7), nullptr), RPC_E_DISCONNECTED);
    VARIANT focus;
    EXPECT_EQ(held->get_accFocus(&focus), RPC_E_DISCONNECTED);
    EXPECT_EQ(toolkit::win32::AccessibleProvider::LiveCount(), before + 1);
    held.Reset();
    EXPECT_EQ(toolkit::win32::AccessibleProvider::LiveCount(), before);
}

// The window's own element answers its parent, state and focus as the
// system's standard client object of the window does, for the window as
// for a control of ours that holds the focus.
TEST_F(CaptureWindowTest, TheWindowItselfAnswersAsTheStandardClientObject) {
    const auto com = platform::ComApartment::SingleThreaded();
    HWND window = host->Handle();
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    wintest::Pump(200);
    ASSERT_EQ(::GetFocus(), window);
    ComPtr<IAccessible> standard;
    ASSERT_EQ(::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(standard.GetAddressOf())),
              S_OK);
    ComPtr<IAccessible> acc = ClientObject(window);
    ASSERT_NE(acc, nullptr);

    EXPECT_TRUE(ParentIsTheObjectOf(acc.Get(), window));

    // Focused and focusable while the window has the focus, as the standard
    // object says; the focus is the window itself while no box has it.
    const long bits = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & bits, bits);
    EXPECT_EQ(State(standard.Get(), CHILDID_SELF) & bits, bits);
    VARIANT focus;
    ::VariantInit(&focus);
    ASSERT_EQ(acc->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, CHILDID_SELF);

    // A box with the focus is named instead.
    Form1->Dispatch([] { Form1->SetFocus(Form1->NBoxW); });
    ::VariantInit(&focus);
    ASSERT_EQ(acc->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(Name(acc.Get(), focus.lVal), WidthName);

    // Another window of this thread takes the focus: ours is no longer
    // focused, and no element of it has the focus.
    platform::UniqueHwnd other(::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0,
                                                 0, 20, 20, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    ::SetForegroundWindow(other.get());
    ::SetFocus(other.get());
    wintest::Pump(200);
    ASSERT_EQ(::GetFocus(), other.get());
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & bits, STATE_SYSTEM_FOCUSABLE);
    ::VariantInit(&focus);
    EXPECT_TRUE(SUCCEEDED(acc->get_accFocus(&focus)));
    EXPECT_EQ(focus.vt, VT_EMPTY);

    // Hidden or disabled as a window, the window's element says so.
    ::ShowWindow(window, SW_HIDE);
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_INVISIBLE);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & STATE_SYSTEM_INVISIBLE, 0);
    ::EnableWindow(window, FALSE);
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_UNAVAILABLE);
    ::EnableWindow(window, TRUE);
    EXPECT_EQ(State(acc.Get(), CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE, 0);
}

// A value set by a client is applied from the window's own loop, as a
// default action is, so a client never waits on the value's handlers.
TEST_F(CaptureWindowTest, ASetValueIsAppliedFromTheWindowsLoop) {
    const auto com = platform::ComApartment::SingleThreaded();
    ComPtr<IAccessible> acc = ClientObject(host->Handle());
    ASSERT_NE(acc, nullptr);
    const long width = ChildNamed(acc.Get(), WidthName);
    Form1->NBoxW->SetValue(100);
    BSTR text = ::SysAllocString(L"640");
    ASSERT_EQ(acc->put_accValue(Child(width), text), S_OK);
    ::SysFreeString(text);
    EXPECT_EQ(Form1->NBoxW->Text(), L"100") << "set at once, inside the client's call";
    EXPECT_TRUE(Eventually([] { return Form1->NBoxW->Text() == L"640"; }));
    EXPECT_EQ(Form1->NBoxW->Value(), 640);
    // Values are applied in the order they were set.
    for (const wchar_t* typed : {L"1", L"22", L"333"}) {
        text = ::SysAllocString(typed);
        ASSERT_EQ(acc->put_accValue(Child(width), text), S_OK);
        ::SysFreeString(text);
    }
    wintest::Pump(300);
    EXPECT_EQ(Form1->NBoxW->Text(), L"333");
    // Controls without a value refuse at once.
    text = ::SysAllocString(L"1");
    EXPECT_EQ(acc->put_accValue(Child(ChildNamed(acc.Get(), CutName)), text),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(acc->put_accValue(Child(CHILDID_SELF), text), DISP_E_MEMBERNOTFOUND);
    ::SysFreeString(text);
}

namespace {

void SetValue(IAccessible* acc, long id, const wchar_t* typed) {
    BSTR text = ::SysAllocString(typed);
    EXPECT_EQ(acc->put_accValue(Child(id), text), S_OK) << typed;
    ::SysFreeString(text);
}

// The window with its accessible object, the width box at 100 and the ids
// of the controls a client types a size with and applies it.
class PostedWork : public CaptureWindowTest {
protected:
    void SetUp() override {
        CaptureWindowTest::SetUp();
        acc = ClientObject(host->Handle());
        ASSERT_NE(acc, nullptr);
        width = ChildNamed(acc.Get(), WidthName);
        apply = ChildNamed(acc.Get(), SetRectName);
        Form1->NBoxW->SetValue(100);
    }

    const platform::ComApartment com = platform::ComApartment::SingleThreaded();
    ComPtr<IAccessible> acc;
    long width = -1;
    long apply = -1;
};

} // namespace

// Values and default actions wait in one queue. An action sees the values
// set before it and none set after; an action that processes events (the
// copy's flash) runs the later ones inside it, each once and in order.
TEST_F(PostedWork, ValuesAndActionsRunOnceEachInTheOrderTheyCame) {
    const long copy = ChildNamed(acc.Get(), CopyName);
    Form1->BMP = std::make_unique<output::HeldImage>();
    Form1->BMP->SetSize(8, 8);
    Form1->CopyBtn->SetEnabled(true);

    SetValue(acc.Get(), width, L"300");
    ASSERT_EQ(acc->accDoDefaultAction(Child(copy)), S_OK);
    SetValue(acc.Get(), width, L"640");
    ASSERT_EQ(acc->accDoDefaultAction(Child(apply)), S_OK);
    SetValue(acc.Get(), width, L"200");
    EXPECT_EQ(Form1->NBoxW->Text(), L"100") << "nothing runs inside the client's calls";

    EXPECT_TRUE(Eventually([] { return Form1->NBoxW->Text() == L"200"; }));
    wintest::Pump(300);
    EXPECT_EQ(Form1->NBoxW->Text(), L"200");
    EXPECT_EQ(Form1->ClientWidth(), toolkit::WindowWidthForTypedSize(640, Form1->Scale))
        << "the size applied is the one typed just before the apply button's action";
    EXPECT_EQ(Form1->Rectangle2->FillColor(), 0xFF708090u) << "the flash ended";
}

// Work still waiting when the window goes goes with it: the system closes
// the window before its loop has run what a client asked for, and nothing
// of it runs afterwards on the form that stays.
TEST_F(PostedWork, WorkWaitingWhenTheWindowGoesIsDropped) {
    const int before = Form1->ClientWidth();
    SetValue(acc.Get(), width, L"640");
    ASSERT_EQ(acc->accDoDefaultAction(Child(apply)), S_OK);

    ::SendMessageW(host->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(host->Handle(), nullptr) << "the window is gone";
    wintest::Pump(300);
    EXPECT_EQ(Form1->NBoxW->Text(), L"100");
    EXPECT_EQ(Form1->ClientWidth(), before);
    EXPECT_EQ(acc->put_accValue(Child(width), nullptr), RPC_E_DISCONNECTED);
    EXPECT_EQ(acc->accDoDefaultAction(Child(apply)), RPC_E_DISCONNECTED);
}
