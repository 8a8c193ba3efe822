// The window hands out its own accessible object only on a thread in a
// single-threaded apartment, which the object is made for: on a thread in
// the multithreaded apartment (where the program's own apartment could not
// be entered, and says so) the system's standard object answers instead.
#include "tests/win/FormFixture.h"
#include "tests/win/WinTestSupport.h"

#include "platform/Com.h"

#include <oleacc.h>

namespace {

LRESULT AskForTheClientObject(HWND window) {
    return ::SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
}

} // namespace

TEST_F(CaptureWindowTest, TheWindowAnswersForItselfInASingleThreadedApartment) {
    ASSERT_TRUE(platform::InSingleThreadedApartment());
    const LRESULT answer = AskForTheClientObject(host->Handle());
    EXPECT_NE(answer, 0);
    if (answer > 0) {
        // Takes the reference LresultFromObject handed out.
        IAccessible* object = nullptr;
        EXPECT_EQ(
            ::ObjectFromLresult(answer, IID_IAccessible, 0, reinterpret_cast<void**>(&object)),
            S_OK);
        if (object != nullptr) {
            object->Release();
        }
    }
}

// Run in a process of its own, whose main thread enters the multithreaded
// apartment before the program's window is made.
TEST(MultithreadedApartmentHelper, TheWindowLeavesTheAnswerToTheSystem) {
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(platform::ComApartment::SingleThreaded().Result(), RPC_E_CHANGED_MODE);
    Application.Initialize();
    Application.CreateForm(Form1);
    toolkit::win32::HostWindow* host = Application.HostOf(*Form1);
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(platform::InSingleThreadedApartment());
    EXPECT_EQ(AskForTheClientObject(host->Handle()), 0);
    Application.DestroyForms();
    Form1 = nullptr;
    ::CoUninitialize();
}

TEST(AccessibleApartment, NoObjectOfOursIsHandedOutInTheMultithreadedApartment) {
    EXPECT_TRUE(wintest::RunSelf(L"MultithreadedApartmentHelper.*"));
}
