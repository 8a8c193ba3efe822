// The host makes each form's system window with the class name and title the
// form carries; a class is registered once and serves every window of it.
#include "toolkit/Form.h"
#include "toolkit/win32/Application.h"
#include "toolkit/win32/HostWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TitleOf(HWND window) {
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    return title;
}

} // namespace

TEST(HostWindow, TakesTheClassNameAndTitleFromTheForm) {
    Application.Initialize();
    toolkit::Form first("First");
    first.SetWindowClassName(L"VarnelTestFormClass");
    first.SetCaption(L"First window");
    toolkit::Form second("Second");
    second.SetWindowClassName(L"VarnelTestFormClass");
    second.SetCaption(L"Second window");
    toolkit::Form plain("Plain");
    {
        toolkit::win32::HostWindow one(first);
        toolkit::win32::HostWindow two(second);
        toolkit::win32::HostWindow three(plain);
        ASSERT_NE(one.Handle(), nullptr);
        ASSERT_NE(two.Handle(), nullptr) << "the class registered for the first serves the second";
        ASSERT_NE(three.Handle(), nullptr);
        EXPECT_EQ(ClassOf(one.Handle()), L"VarnelTestFormClass");
        EXPECT_EQ(TitleOf(one.Handle()), L"First window");
        EXPECT_EQ(ClassOf(two.Handle()), L"VarnelTestFormClass");
        EXPECT_EQ(TitleOf(two.Handle()), L"Second window");
        EXPECT_NE(ClassOf(three.Handle()), L"TForm1") << "the toolkit knows no program's names";
        EXPECT_EQ(TitleOf(three.Handle()), L"");
    }
}
