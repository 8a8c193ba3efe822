// The window's Active Accessibility object (IAccessible for OBJID_CLIENT):
// a thin adapter that answers every call from the toolkit's accessible tree
// and only translates codes. Controls are simple child elements with the
// tree's ids. What the system's standard client object already answers
// right for the window itself (its parent, its state as a window, the focus
// when no control of ours has it) is asked of that object. Default actions
// and set values become commands in the window's queue (WindowCommands.h),
// which runs them from the window's loop. Once the window goes, the host
// disconnects the object: it keeps no pointer to the form or the queue, and
// every call on it fails with RPC_E_DISCONNECTED. The object lives in the
// window's apartment: every call comes on the window's thread.
#pragma once

#include "platform/Win.h"
#include "toolkit/AccessibleTree.h"
#include "toolkit/win32/WindowCommands.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <atomic>

namespace toolkit::win32 {

class AccessibleProvider final : public IAccessible {
public:
    AccessibleProvider(AccessibleTree& tree, HWND window, CommandQueue& commands);
    AccessibleProvider(const AccessibleProvider&) = delete;
    AccessibleProvider& operator=(const AccessibleProvider&) = delete;

    void Disconnect();
    // Objects alive in this process (for leak checks).
    static long LiveCount();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    ~AccessibleProvider();
    // The id of a child argument, after checking the object is connected
    // and the id is one of ours; S_OK or the error to return.
    HRESULT Resolve(const VARIANT& child, int& id) const;
    // The system's standard object for the window's client area.
    HRESULT Standard(Microsoft::WRL::ComPtr<IAccessible>& standard) const;

    // Starts at zero: the first owner (a ComPtr) takes the first reference.
    std::atomic<ULONG> references_{0};
    AccessibleTree* tree_;
    HWND window_;
    CommandQueue* commands_;
};

} // namespace toolkit::win32
