// Active Accessibility as a client calls it, for the tests that read and
// work the capture window through it: child ids, names, values, roles,
// states and places, the window's client object, and the names the
// program's controls are found by.
#pragma once

#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <functional>
#include <optional>
#include <string>

namespace msaa {

using Microsoft::WRL::ComPtr;

inline VARIANT Child(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

inline std::wstring Take(BSTR text) {
    std::wstring s = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return s;
}

inline std::wstring Name(IAccessible* acc, long id) {
    BSTR text = nullptr;
    acc->get_accName(Child(id), &text);
    return Take(text);
}

inline std::optional<std::wstring> Value(IAccessible* acc, long id) {
    BSTR text = nullptr;
    if (acc->get_accValue(Child(id), &text) != S_OK) {
        ::SysFreeString(text);
        return std::nullopt;
    }
    return Take(text);
}

// A property given as a number; -1 when the call fails or gives none.
inline long Long(IAccessible* acc, long id,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT out;
    ::VariantInit(&out);
    if (FAILED((acc->*get)(Child(id), &out)) || out.vt != VT_I4) {
        return -1;
    }
    return out.lVal;
}

inline long Role(IAccessible* acc, long id) {
    return Long(acc, id, &IAccessible::get_accRole);
}
inline long State(IAccessible* acc, long id) {
    return Long(acc, id, &IAccessible::get_accState);
}

inline RECT Location(IAccessible* acc, long id) {
    long x = 0, y = 0, w = 0, h = 0;
    acc->accLocation(&x, &y, &w, &h, Child(id));
    return RECT{x, y, x + w, y + h};
}

inline long ChildNamed(IAccessible* acc, const wchar_t* name) {
    long count = 0;
    acc->get_accChildCount(&count);
    for (long id = 1; id <= count; ++id) {
        if (Name(acc, id) == name) {
            return id;
        }
    }
    return -1;
}

inline ComPtr<IAccessible> ClientObject(HWND window) {
    ComPtr<IAccessible> acc;
    ::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(acc.GetAddressOf()));
    return acc;
}

// Waits for the predicate, processing this thread's messages meanwhile
// (cross-process calls and hook callbacks need them).
inline bool Eventually(const std::function<bool()>& predicate, DWORD milliseconds = 10000) {
    return wintest::WaitFor(predicate, milliseconds);
}

// The client object's parent is the object of the window itself.
inline ::testing::AssertionResult ParentIsTheObjectOf(IAccessible* acc, HWND window) {
    ComPtr<IDispatch> parent;
    const HRESULT hr = acc->get_accParent(parent.GetAddressOf());
    ComPtr<IAccessible> parentObject;
    if (hr != S_OK || parent == nullptr || FAILED(parent.As(&parentObject))) {
        return ::testing::AssertionFailure() << "no parent object: " << std::hex << hr;
    }
    HWND parentWindow = nullptr;
    if (::WindowFromAccessibleObject(parentObject.Get(), &parentWindow) != S_OK ||
        parentWindow != window) {
        return ::testing::AssertionFailure() << "the parent is of another window";
    }
    return ::testing::AssertionSuccess();
}

// What the program's controls are called.
inline constexpr const wchar_t* TopName = L"TOP";
inline constexpr const wchar_t* CutName = L"矩形カット";
inline constexpr const wchar_t* CopyName = L"クリップボードにコピー";
inline constexpr const wchar_t* SaveBmpName = L"BMPで保存";
inline constexpr const wchar_t* SavePngName = L"PNGで保存";
inline constexpr const wchar_t* SetRectName = L"切り取りサイズセット";
inline constexpr const wchar_t* WidthName = L"Width:ダブルクリックで現在の幅をセット";
inline constexpr const wchar_t* HeightName = L"Height:ダブルクリックで現在の高さをセット";
inline constexpr const wchar_t* ExitName = L"閉じる";
inline constexpr const wchar_t* ViewfinderName = L"ビューファインダー";

} // namespace msaa
