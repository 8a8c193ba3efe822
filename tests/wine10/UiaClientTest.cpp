// What a UI Automation client (a screen reader such as Narrator) gets from
// the program: the system's MSAA proxy turns our Active Accessibility
// provider into UIA elements. Wine 10's UIA reads names, control types,
// rectangles and the enabled state through GetCurrentPropertyValueEx; its
// tree walkers, most property getters and every pattern answer E_NOTIMPL,
// so nothing is invoked through UIA: the capture is a click where UIA
// places its button, and UIA must then read the outputs enabled.
#include "tests/win/WinTestSupport.h"

#include "platform/Com.h"

#include <uiautomationclient.h>
#include <wrl/client.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

struct Variant {
    VARIANT v;
    Variant() { ::VariantInit(&v); }
    ~Variant() { ::VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

std::optional<std::wstring> Name(IUIAutomationElement* element) {
    Variant out;
    if (element->GetCurrentPropertyValueEx(UIA_NamePropertyId, FALSE, &out.v) != S_OK ||
        out.v.vt != VT_BSTR) {
        return std::nullopt;
    }
    return std::wstring(out.v.bstrVal, ::SysStringLen(out.v.bstrVal));
}

long ControlType(IUIAutomationElement* element) {
    Variant out;
    if (element->GetCurrentPropertyValueEx(UIA_ControlTypePropertyId, FALSE, &out.v) != S_OK ||
        out.v.vt != VT_I4) {
        return -1;
    }
    return out.v.lVal;
}

std::optional<bool> Enabled(IUIAutomationElement* element) {
    Variant out;
    if (element->GetCurrentPropertyValueEx(UIA_IsEnabledPropertyId, FALSE, &out.v) != S_OK ||
        out.v.vt != VT_BOOL) {
        return std::nullopt;
    }
    return out.v.boolVal != VARIANT_FALSE;
}

// Left, top, width, height in screen pixels, as UIA reports them.
std::optional<std::vector<double>> Rectangle(IUIAutomationElement* element) {
    Variant out;
    if (element->GetCurrentPropertyValueEx(UIA_BoundingRectanglePropertyId, FALSE, &out.v) !=
            S_OK ||
        out.v.vt != (VT_R8 | VT_ARRAY) || ::SafeArrayGetDim(out.v.parray) != 1) {
        return std::nullopt;
    }
    LONG low = 0, high = -1;
    ::SafeArrayGetLBound(out.v.parray, 1, &low);
    ::SafeArrayGetUBound(out.v.parray, 1, &high);
    std::vector<double> values;
    for (LONG i = low; i <= high; ++i) {
        double d = 0;
        ::SafeArrayGetElement(out.v.parray, &i, &d);
        values.push_back(d);
    }
    return values;
}

// The window's controls as a UIA client finds them below the window's
// element, by name.
std::map<std::wstring, ComPtr<IUIAutomationElement>> Controls(IUIAutomation* uia,
                                                              IUIAutomationElement* window) {
    std::map<std::wstring, ComPtr<IUIAutomationElement>> found;
    ComPtr<IUIAutomationCondition> all;
    if (uia->CreateTrueCondition(&all) != S_OK) {
        ADD_FAILURE() << "CreateTrueCondition failed";
        return found;
    }
    ComPtr<IUIAutomationElementArray> elements;
    const HRESULT hr = window->FindAll(TreeScope_Descendants, all.Get(), &elements);
    if (hr != S_OK || elements == nullptr) {
        ADD_FAILURE() << "FindAll failed: 0x" << std::hex << hr;
        return found;
    }
    int count = 0;
    elements->get_Length(&count);
    for (int i = 0; i < count; ++i) {
        ComPtr<IUIAutomationElement> element;
        if (elements->GetElement(i, &element) != S_OK) {
            continue;
        }
        if (const std::optional<std::wstring> name = Name(element.Get()); name && !name->empty()) {
            found.emplace(*name, element);
        }
    }
    return found;
}

struct Expected {
    const wchar_t* name;
    long controlType;
    bool enabledAtStart;
};

// Buttons, the latching TOP as a check box, the two boxes as edits, the
// viewfinder as an image; copy and both saves disabled until a capture.
const Expected Eleven[] = {
    {L"TOP", UIA_CheckBoxControlTypeId, true},
    {L"矩形カット", UIA_ButtonControlTypeId, true},
    {L"Window取得", UIA_ButtonControlTypeId, true},
    {L"クリップボードにコピー", UIA_ButtonControlTypeId, false},
    {L"BMPで保存", UIA_ButtonControlTypeId, false},
    {L"PNGで保存", UIA_ButtonControlTypeId, false},
    {L"Width:ダブルクリックで現在の幅をセット", UIA_EditControlTypeId, true},
    {L"Height:ダブルクリックで現在の高さをセット", UIA_EditControlTypeId, true},
    {L"切り取りサイズセット", UIA_ButtonControlTypeId, true},
    {L"閉じる", UIA_ButtonControlTypeId, true},
    {L"ビューファインダー", UIA_ImageControlTypeId, true},
};

} // namespace

TEST(UiaClient, FindsEveryControlWithItsTypePlaceAndEnabledStateBeforeAndAfterACapture) {
    const auto com = platform::ComApartment::SingleThreaded();
    ComPtr<IUIAutomation> uia;
    const HRESULT made =
        ::CoCreateInstance(__uuidof(CUIAutomation), nullptr, CLSCTX_INPROC_SERVER,
                           __uuidof(IUIAutomation), reinterpret_cast<void**>(uia.GetAddressOf()));
    if (FAILED(made)) {
        GTEST_SKIP() << "this Windows has no UI Automation client (CoCreateInstance: 0x" << std::hex
                     << made << "); Wine 8 has none, Wine 10 has one";
    }

    wintest::ChildProcess program(L"\"" + wintest::ProgramPath() + L"\"");
    const HWND window = program.WaitForWindow(L"TForm1", 20000);
    ASSERT_NE(window, nullptr);
    wintest::Pump(300);

    ComPtr<IUIAutomationElement> top;
    ASSERT_EQ(uia->ElementFromHandle(window, &top), S_OK);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(Name(top.Get()), std::optional<std::wstring>(L"Varnel"));

    RECT frame{};
    ::GetWindowRect(window, &frame);
    auto controls = Controls(uia.Get(), top.Get());
    EXPECT_EQ(controls.size(), 11u);
    for (const Expected& e : Eleven) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(e.name));
        const auto it = controls.find(e.name);
        ASSERT_NE(it, controls.end()) << "not found by its name";
        IUIAutomationElement* element = it->second.Get();
        EXPECT_EQ(ControlType(element), e.controlType);
        EXPECT_EQ(Enabled(element), std::optional<bool>(e.enabledAtStart));

        // Its place: on the window, not empty; the viewfinder reaches the
        // window's bottom-right corner.
        const std::optional<std::vector<double>> r = Rectangle(element);
        ASSERT_TRUE(r.has_value());
        ASSERT_EQ(r->size(), 4u);
        const double left = (*r)[0], top = (*r)[1], right = left + (*r)[2], bottom = top + (*r)[3];
        EXPECT_GT(right, left);
        EXPECT_GT(bottom, top);
        EXPECT_GE(left, frame.left);
        EXPECT_GE(top, frame.top);
        EXPECT_LE(right, frame.right);
        EXPECT_LE(bottom, frame.bottom);
        if (e.controlType == UIA_ImageControlTypeId) {
            EXPECT_EQ(right, frame.right);
            EXPECT_EQ(bottom, frame.bottom);
        }
    }

    // No pattern to invoke through UIA: the user clicks the region capture
    // where UIA places it, and UIA must read the outputs enabled after it.
    const std::optional<std::vector<double>> cut = Rectangle(controls[Eleven[1].name].Get());
    ASSERT_TRUE(cut.has_value() && cut->size() == 4u);
    wintest::Click(int((*cut)[0] + (*cut)[2] / 2), int((*cut)[1] + (*cut)[3] / 2));
    const std::wstring copy = Eleven[3].name;
    ASSERT_TRUE(wintest::WaitFor(
        [&] { return Enabled(controls[copy].Get()) == std::optional<bool>(true); }, 10000))
        << "copy never became enabled";
    wintest::Pump(300);
    controls = Controls(uia.Get(), top.Get());
    for (const Expected& e : Eleven) {
        SCOPED_TRACE(testing::Message() << "after the capture: " << testing::PrintToString(e.name));
        const auto it = controls.find(e.name);
        ASSERT_NE(it, controls.end());
        EXPECT_EQ(Enabled(it->second.Get()), std::optional<bool>(true));
    }

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}
