#include "toolkit/win32/AccessibleProvider.h"

#include <string>

namespace toolkit::win32 {

namespace {

std::atomic<long> live{0};

HRESULT Bstr(const std::wstring& text, BSTR* out) {
    *out = ::SysAllocStringLen(text.data(), UINT(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

long RoleCode(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::CheckButton:
        return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::EditableText:
        return ROLE_SYSTEM_TEXT;
    case AccessibleRole::Graphic:
        return ROLE_SYSTEM_GRAPHIC;
    default:
        return ROLE_SYSTEM_CLIENT;
    }
}

long StateCode(unsigned state) {
    long code = 0;
    if (state & StateUnavailable) {
        code |= STATE_SYSTEM_UNAVAILABLE;
    }
    if (state & StateChecked) {
        code |= STATE_SYSTEM_CHECKED;
    }
    if (state & StateFocusable) {
        code |= STATE_SYSTEM_FOCUSABLE;
    }
    if (state & StateFocused) {
        code |= STATE_SYSTEM_FOCUSED;
    }
    if (state & StateInvisible) {
        code |= STATE_SYSTEM_INVISIBLE;
    }
    return code;
}

void SetId(VARIANT* out, int id) {
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

} // namespace

AccessibleProvider::AccessibleProvider(AccessibleTree& tree, HWND window, CommandQueue& commands)
    : tree_(&tree), window_(window), commands_(&commands) {
    ++live;
}

AccessibleProvider::~AccessibleProvider() {
    --live;
}

long AccessibleProvider::LiveCount() {
    return live;
}

void AccessibleProvider::Disconnect() {
    tree_ = nullptr;
    window_ = nullptr;
    commands_ = nullptr;
}

HRESULT AccessibleProvider::Standard(Microsoft::WRL::ComPtr<IAccessible>& standard) const {
    // Made for each call and released before it returns: no object of the
    // system's outlives the window or keeps it.
    return ::CreateStdAccessibleObject(window_, OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void**>(standard.GetAddressOf()));
}

HRESULT AccessibleProvider::Resolve(const VARIANT& child, int& id) const {
    if (tree_ == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    if (child.vt != VT_I4 || !tree_->Valid(int(child.lVal))) {
        return E_INVALIDARG;
    }
    id = int(child.lVal);
    return S_OK;
}

HRESULT AccessibleProvider::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleProvider::AddRef() {
    return ++references_;
}

ULONG AccessibleProvider::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT AccessibleProvider::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT AccessibleProvider::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT AccessibleProvider::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT AccessibleProvider::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    return E_NOTIMPL;
}

HRESULT AccessibleProvider::get_accParent(IDispatch** parent) {
    if (parent == nullptr) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (tree_ == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    Microsoft::WRL::ComPtr<IAccessible> standard;
    if (const HRESULT hr = Standard(standard); FAILED(hr)) {
        return hr;
    }
    return standard->get_accParent(parent);
}

HRESULT AccessibleProvider::get_accChildCount(long* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    if (tree_ == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    *count = tree_->ChildCount();
    return S_OK;
}

HRESULT AccessibleProvider::get_accChild(VARIANT child, IDispatch** dispatch) {
    if (dispatch == nullptr) {
        return E_POINTER;
    }
    *dispatch = nullptr;
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    // The controls are simple elements of this object, not objects of
    // their own.
    return id == AccessibleTree::Self ? E_INVALIDARG : S_FALSE;
}

HRESULT AccessibleProvider::get_accName(VARIANT child, BSTR* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    *name = nullptr;
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    return Bstr(tree_->Name(id), name);
}

HRESULT AccessibleProvider::get_accValue(VARIANT child, BSTR* value) {
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = nullptr;
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    const auto text = tree_->Value(id);
    return text ? Bstr(*text, value) : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleProvider::get_accDescription(VARIANT child, BSTR* description) {
    if (description == nullptr) {
        return E_POINTER;
    }
    *description = nullptr;
    int id = 0;
    const HRESULT hr = Resolve(child, id);
    return FAILED(hr) ? hr : S_FALSE;
}

HRESULT AccessibleProvider::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(role);
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    role->vt = VT_I4;
    role->lVal = RoleCode(tree_->Role(id));
    return S_OK;
}

HRESULT AccessibleProvider::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(state);
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    long code = StateCode(tree_->State(id));
    if (id == AccessibleTree::Self) {
        // Focusable, focused, unavailable and hidden as a window are the
        // standard object's to say; it reads them from the window itself.
        Microsoft::WRL::ComPtr<IAccessible> standard;
        if (const HRESULT hr = Standard(standard); FAILED(hr)) {
            return hr;
        }
        VARIANT window;
        ::VariantInit(&window);
        if (const HRESULT hr = standard->get_accState(child, &window); FAILED(hr)) {
            return hr;
        }
        if (window.vt == VT_I4) {
            code |= window.lVal;
        }
        ::VariantClear(&window);
    }
    state->vt = VT_I4;
    state->lVal = code;
    return S_OK;
}

HRESULT AccessibleProvider::get_accHelp(VARIANT child, BSTR* help) {
    return get_accDescription(child, help);
}

HRESULT AccessibleProvider::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (file == nullptr || topic == nullptr) {
        return E_POINTER;
    }
    *file = nullptr;
    *topic = -1;
    int id = 0;
    const HRESULT hr = Resolve(child, id);
    return FAILED(hr) ? hr : S_FALSE;
}

HRESULT AccessibleProvider::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return get_accDescription(child, shortcut);
}

HRESULT AccessibleProvider::get_accFocus(VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(child);
    if (tree_ == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    if (::GetFocus() == window_) {
        for (int id = 1; id <= tree_->ChildCount(); ++id) {
            if (tree_->State(id) & StateFocused) {
                SetId(child, id);
                return S_OK;
            }
        }
    }
    // No control of ours has it: whether the window itself has, as the
    // standard object answers.
    Microsoft::WRL::ComPtr<IAccessible> standard;
    if (const HRESULT hr = Standard(standard); FAILED(hr)) {
        return hr;
    }
    return standard->get_accFocus(child);
}

HRESULT AccessibleProvider::get_accSelection(VARIANT* children) {
    if (children == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(children);
    return tree_ == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

HRESULT AccessibleProvider::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (action == nullptr) {
        return E_POINTER;
    }
    *action = nullptr;
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    const std::wstring text = tree_->DefaultAction(id);
    return text.empty() ? S_FALSE : Bstr(text, action);
}

HRESULT AccessibleProvider::accSelect(long, VARIANT child) {
    int id = 0;
    const HRESULT hr = Resolve(child, id);
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleProvider::accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    const RectI r = tree_->Location(id);
    *left = r.left;
    *top = r.top;
    *width = r.Width();
    *height = r.Height();
    return S_OK;
}

HRESULT AccessibleProvider::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(end);
    int id = 0;
    if (const HRESULT hr = Resolve(start, id); FAILED(hr)) {
        return hr;
    }
    NavDirection to;
    switch (direction) {
    case NAVDIR_UP:
        to = NavDirection::Up;
        break;
    case NAVDIR_DOWN:
        to = NavDirection::Down;
        break;
    case NAVDIR_LEFT:
        to = NavDirection::Left;
        break;
    case NAVDIR_RIGHT:
        to = NavDirection::Right;
        break;
    case NAVDIR_NEXT:
        to = NavDirection::Next;
        break;
    case NAVDIR_PREVIOUS:
        to = NavDirection::Previous;
        break;
    case NAVDIR_FIRSTCHILD:
        to = NavDirection::FirstChild;
        break;
    case NAVDIR_LASTCHILD:
        to = NavDirection::LastChild;
        break;
    default:
        return E_INVALIDARG;
    }
    const auto found = tree_->Navigate(id, to);
    if (!found) {
        return S_FALSE;
    }
    SetId(end, *found);
    return S_OK;
}

HRESULT AccessibleProvider::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(child);
    if (tree_ == nullptr) {
        return RPC_E_DISCONNECTED;
    }
    const auto found = tree_->HitTest(int(x), int(y));
    if (!found) {
        return S_FALSE;
    }
    SetId(child, *found);
    return S_OK;
}

HRESULT AccessibleProvider::accDoDefaultAction(VARIANT child) {
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    switch (tree_->CanDoDefaultAction(id)) {
    case AccessibleTree::ActionResult::NoAction:
        return DISP_E_MEMBERNOTFOUND;
    case AccessibleTree::ActionResult::Unavailable:
        return E_FAIL;
    case AccessibleTree::ActionResult::Done:
        break;
    }
    return commands_->Post(DefaultActionCommand{id});
}

HRESULT AccessibleProvider::put_accName(VARIANT child, BSTR) {
    int id = 0;
    const HRESULT hr = Resolve(child, id);
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleProvider::put_accValue(VARIANT child, BSTR value) {
    int id = 0;
    if (const HRESULT hr = Resolve(child, id); FAILED(hr)) {
        return hr;
    }
    switch (tree_->CanSetValue(id)) {
    case AccessibleTree::ActionResult::NoAction:
        return DISP_E_MEMBERNOTFOUND;
    case AccessibleTree::ActionResult::Unavailable:
        return E_FAIL; // a disabled box, refused as its actions are
    case AccessibleTree::ActionResult::Done:
        break;
    }
    return commands_->Post(
        SetValueCommand{id, value != nullptr ? std::wstring(value, ::SysStringLen(value)) : L""});
}

} // namespace toolkit::win32
