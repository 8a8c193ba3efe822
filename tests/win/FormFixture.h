// Makes the real capture window in the test process, the way the program
// entry does, and tears it down after each test.
#pragma once

#include "app/Unit1.h"
#include "toolkit/win32/Application.h"

#include <gtest/gtest.h>

// The title bar's height in whole logical units, as the window's definition
// has it.
inline constexpr int TitleBar = static_cast<int>(TitleBarHeight);

class CaptureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.CreateForm(Form1);
        host = Application.HostOf(*Form1);
        ASSERT_NE(host, nullptr);
        host->Show();
    }
    void TearDown() override {
        Application.DestroyForms();
        Form1 = nullptr;
    }

    toolkit::win32::HostWindow* host = nullptr;
};
