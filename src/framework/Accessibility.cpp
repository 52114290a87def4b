#include "framework/Accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Container.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

// IID_IAccessible written out: mingw-w64's import library exports it as a thunk, not the GUID.
constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The functions of oleacc.dll and oleaut32.dll, loaded with the first object handed out.
struct AccessibilityLibrary {
    decltype(::LresultFromObject)* lresultFromObject =
        SystemFunction<decltype(::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    decltype(::CreateStdAccessibleObject)* createStandard =
        SystemFunction<decltype(::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    decltype(::AccessibleObjectFromWindow)* objectFromWindow =
        SystemFunction<decltype(::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    decltype(::SysAllocString)* allocString =
        SystemFunction<decltype(::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
};

const AccessibilityLibrary& Library() {
    static const AccessibilityLibrary library;
    return library;
}

// The controls an object shows, after the control's own items: all but those told of
// nothing, in the order they were made, which is their reading order, except that those
// along the bottom edge (a status bar) come last, as they are read last.
std::vector<Control*> Children(const WinControl& owner) {
    std::vector<Control*> children;
    for (Control* c : owner.AccessibleControls())
        if (c->AccessibleRole() != 0) children.push_back(c);
    std::stable_partition(children.begin(), children.end(),
                          [](const Control* c) { return c->GetAlign() != Align::Bottom; });
    return children;
}

HWND WindowOf(const Control* c) {
    const auto* w = c && c->IsWindowed() ? static_cast<const WinControl*>(c) : nullptr;
    return w ? w->Handle() : nullptr;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = Library().allocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

VARIANT Int(long v) {
    VARIANT r;
    r.vt = VT_I4;
    r.lVal = v;
    return r;
}

}  // namespace

// The object of one control's client area. It lives as long as the control's window and the
// clients that hold it; once the window goes it answers RPC_E_DISCONNECTED.
class AccessibleClient final : public IAccessible {
public:
    // `nameOnly`: the system's object answers everything but the control's own name.
    AccessibleClient(WinControl* owner, IAccessible* standard, bool nameOnly)
        : container_(owner),
          standard_(standard),
          nameOnly_(nameOnly) {}
    AccessibleClient(const AccessibleClient&) = delete;
    AccessibleClient& operator=(const AccessibleClient&) = delete;

    void Disconnect() {
        container_ = nullptr;
        if (standard_) standard_->Release();
        standard_ = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            Disconnect();
            delete this;
        }
        return ULONG(left);
    }

    // IDispatch: clients of Active Accessibility call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return count ? S_OK : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (nameOnly_) return container_ ? standard_->get_accParent(parent) : RPC_E_DISCONNECTED;
        if (!container_) return RPC_E_DISCONNECTED;
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (nameOnly_) return container_ ? standard_->get_accChildCount(count) : RPC_E_DISCONNECTED;
        if (!count) return E_POINTER;
        if (!container_) return RPC_E_DISCONNECTED;
        *count = container_->AccessibleItemCount() + long(Children(*container_).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (nameOnly_) return container_ ? standard_->get_accChild(child, out) : RPC_E_DISCONNECTED;
        if (!out) return E_POINTER;
        *out = nullptr;
        Control* c = nullptr;
        if (HRESULT hr = Find(child, c); hr != S_OK) return hr == kItem ? S_FALSE : hr;
        if (!c) return E_INVALIDARG;
        HWND wnd = WindowOf(c);
        if (!wnd) return S_FALSE;  // a child element: its container answers for it
        return Library().objectFromWindow(wnd, DWORD(OBJID_WINDOW), __uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (nameOnly_ && container_ && (child.vt != VT_I4 || child.lVal != CHILDID_SELF))
            return standard_->get_accName(child, name);
        if (IsItem(child)) return Text(Item(child).name, name);
        return Describe(child, name, [](const Control& c) { return c.AccessibleName(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (nameOnly_) return container_ ? standard_->get_accValue(child, value) : RPC_E_DISCONNECTED;
        if (IsItem(child)) return Text(std::wstring(), value);
        return Describe(child, value, [](const Control& c) { return c.AccessibleValue(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (nameOnly_) return container_ ? standard_->get_accDescription(child, description) : RPC_E_DISCONNECTED;
        if (IsItem(child)) return Text(std::wstring(), description);
        return Describe(child, description, [](const Control& c) { return c.AccessibleDescription(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (nameOnly_) return container_ ? standard_->get_accRole(child, role) : RPC_E_DISCONNECTED;
        return Number(
            child, role, [](const AccessibleItem& item) { return item.role; },
            [this](const Control* c) { return (c ? c : container_)->AccessibleRole(); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (nameOnly_) return container_ ? standard_->get_accState(child, state) : RPC_E_DISCONNECTED;
        return Number(
            child, state, [](const AccessibleItem& item) { return item.state; },
            [this, child](const Control* c) {
                if (c) return c->AccessibleState();
                // The system knows the window's focus and whether it can take it.
                long flags = container_->AccessibleState();
                VARIANT own = Int(0);
                if (SUCCEEDED(standard_->get_accState(child, &own)) && own.vt == VT_I4)
                    flags |= own.lVal & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE);
                return flags;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Text(std::wstring(), help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = -1;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (nameOnly_) return container_ ? standard_->get_accKeyboardShortcut(child, shortcut) : RPC_E_DISCONNECTED;
        if (IsItem(child)) return Text(std::wstring(), shortcut);
        return Describe(child, shortcut, [](const Control& c) { return c.AccessibleShortcut(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (nameOnly_) return container_ ? standard_->get_accFocus(focus) : RPC_E_DISCONNECTED;
        if (!container_) return RPC_E_DISCONNECTED;
        return standard_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (nameOnly_) return container_ ? standard_->get_accSelection(selection) : RPC_E_DISCONNECTED;
        if (selection) selection->vt = VT_EMPTY;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (nameOnly_) return container_ ? standard_->get_accDefaultAction(child, action) : RPC_E_DISCONNECTED;
        if (IsItem(child)) return Text(Item(child).action, action);
        return Describe(child, action, [](const Control& c) { return c.AccessibleAction(); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (nameOnly_) return container_ ? standard_->accSelect(flags, child) : RPC_E_DISCONNECTED;
        Control* c = nullptr;
        if (HRESULT hr = Find(child, c); hr != S_OK) return hr == kItem ? DISP_E_MEMBERNOTFOUND : hr;
        return c ? DISP_E_MEMBERNOTFOUND : standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (nameOnly_) return container_ ? standard_->accLocation(left, top, width, height, child) : RPC_E_DISCONNECTED;
        if (!left || !top || !width || !height) return E_POINTER;
        Control* c = nullptr;
        const HRESULT found = Find(child, c);
        if (found == kItem) {
            const RECT r = Item(child).screen;
            *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
            return S_OK;
        }
        if (found != S_OK) return found;
        if (!c) return standard_->accLocation(left, top, width, height, child);
        if (HWND wnd = WindowOf(c)) {
            RECT r{};
            ::GetWindowRect(wnd, &r);
            *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
            return S_OK;
        }
        const POINT origin = c->ScreenOrigin();
        *left = origin.x, *top = origin.y, *width = c->Width(), *height = c->Height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (nameOnly_) return container_ ? standard_->accDoDefaultAction(child) : RPC_E_DISCONNECTED;
        Control* c = nullptr;
        if (HRESULT hr = Find(child, c); hr != S_OK) {
            if (hr != kItem) return hr;
            if (Item(child).action.empty()) return DISP_E_MEMBERNOTFOUND;
        } else if ((c ? *c : *container_).AccessibleAction().empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // The action may open a message box or a dialog: it runs once this call has returned,
        // so the client is not held up meanwhile (learn.microsoft.com,
        // IAccessible::accDoDefaultAction, Remarks: servers should not block the return).
        return ::PostMessageW(container_->Handle(), kAccessibleActionMessage, WPARAM(child.lVal), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
    ~AccessibleClient() = default;

    // The control a child id names: nullptr for CHILDID_SELF. S_OK, the error to return, or
    // kItem for one of the container's own items, which the system's object describes.
    static constexpr HRESULT kItem = 0x2A;
    HRESULT Find(const VARIANT& child, Control*& control) const {
        control = nullptr;
        if (!container_) return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) return S_OK;
        const long items = container_->AccessibleItemCount();
        if (child.lVal >= 1 && child.lVal <= items) return kItem;
        const std::vector<Control*> children = Children(*container_);
        if (child.lVal <= items || size_t(child.lVal - items) > children.size()) return E_INVALIDARG;
        control = children[size_t(child.lVal - items) - 1];
        return S_OK;
    }

    // A number of a child (its role, its states): of one of the control's items, of one of
    // its controls, or (null) of the control itself.
    template <typename OfItem, typename OfControl>
    HRESULT Number(const VARIANT& child, VARIANT* out, OfItem ofItem, OfControl ofControl) const {
        if (!out) return E_POINTER;
        Control* c = nullptr;
        const HRESULT found = Find(child, c);
        if (found == kItem) *out = Int(ofItem(Item(child)));
        if (found == S_OK) *out = Int(ofControl(c));
        return found == kItem ? S_OK : found;
    }

    bool IsItem(const VARIANT& child) const {
        Control* c = nullptr;
        return Find(child, c) == kItem;
    }
    AccessibleItem Item(const VARIANT& child) const { return container_->DescribeAccessibleItem(child.lVal - 1); }

    template <typename F>
    HRESULT Describe(const VARIANT& child, BSTR* out, F what) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        Control* c = nullptr;
        if (HRESULT hr = Find(child, c); hr != S_OK) return hr;
        return Text(what(c ? *c : *container_), out);
    }

    // A child as a VARIANT: a windowed one as its window's object, a windowless one by id.
    VARIANT ChildVariant(long id) const {
        VARIANT v = Int(id);
        Control* c = nullptr;
        if (Find(v, c) == S_OK && c) {
            if (HWND wnd = WindowOf(c)) {
                IDispatch* object = nullptr;
                if (SUCCEEDED(Library().objectFromWindow(wnd, DWORD(OBJID_WINDOW), __uuidof(IDispatch),
                                                         reinterpret_cast<void**>(&object))) &&
                    object) {
                    v.vt = VT_DISPATCH;
                    v.pdispVal = object;
                }
            }
        }
        return v;
    }

    LONG references_ = 1;
    WinControl* container_;
    IAccessible* standard_;
    const bool nameOnly_;
};

HRESULT AccessibleClient::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (nameOnly_) return container_ ? standard_->accNavigate(direction, start, end) : RPC_E_DISCONNECTED;
    if (!end) return E_POINTER;
    end->vt = VT_EMPTY;
    Control* c = nullptr;
    const HRESULT found = Find(start, c);
    if (found != S_OK && found != kItem) return found;
    const bool self = found == S_OK && !c;
    const long count = container_->AccessibleItemCount() + long(Children(*container_).size());
    long to = 0;
    if (self && direction == NAVDIR_FIRSTCHILD) to = 1;
    if (self && direction == NAVDIR_LASTCHILD) to = count;
    if (!self && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT))
        to = start.lVal + 1;
    if (!self && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT))
        to = start.lVal - 1;
    if (self && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
        return standard_->accNavigate(direction, start, end);  // beyond the client area
    if (to < 1 || to > count) return S_FALSE;
    *end = ChildVariant(to);
    return S_OK;
}

HRESULT AccessibleClient::accHitTest(long x, long y, VARIANT* child) {
    if (nameOnly_) return container_ ? standard_->accHitTest(x, y, child) : RPC_E_DISCONNECTED;
    if (!child) return E_POINTER;
    child->vt = VT_EMPTY;
    if (!container_) return RPC_E_DISCONNECTED;
    const std::vector<Control*> children = Children(*container_);
    const long items = container_->AccessibleItemCount();
    // The topmost first: windowed controls lie above the windowless ones, later above earlier.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = children.size(); i-- > 0;) {
            Control* c = children[i];
            if (c->IsWindowed() != (pass == 0) || !c->Showing()) continue;
            const long id = items + long(i + 1);
            long left = 0, top = 0, width = 0, height = 0;
            if (accLocation(&left, &top, &width, &height, Int(id)) != S_OK) continue;
            if (x >= left && x < left + width && y >= top && y < top + height) {
                *child = ChildVariant(id);
                return S_OK;
            }
        }
    }
    for (long i = 0; i < items; ++i) {
        const RECT r = container_->DescribeAccessibleItem(i).screen;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            *child = Int(i + 1);
            return S_OK;
        }
    }
    return standard_->accHitTest(x, y, child);
}

LRESULT AnswerGetObject(WinControl& container, WPARAM wp, LPARAM lp) {
    if (static_cast<LONG>(lp) != OBJID_CLIENT || !container.Handle()) return 0;
    RequireOle();  // the object is handed to the client through COM
    const AccessibilityLibrary& library = Library();
    AccessibleClient*& object = container.accessible_;  // a friend of WinControl
    if (!object) {
        IAccessible* standard = nullptr;
        if (FAILED(library.createStandard(container.Handle(), OBJID_CLIENT, kIidAccessible,
                                          reinterpret_cast<void**>(&standard))) ||
            !standard)
            return 0;
        object = new AccessibleClient(&container, standard, container.NamesItself());
    }
    const LRESULT result = library.lresultFromObject(kIidAccessible, wp, object);
    return result > 0 ? result : 0;
}

void ReleaseAccessible(AccessibleClient*& object) {
    if (!object) return;
    object->Disconnect();
    object->Release();
    object = nullptr;
}

void RunAccessibleAction(WinControl& container, WPARAM childId) {
    Control* target = &container;
    const WPARAM items = WPARAM(container.AccessibleItemCount());
    if (childId != CHILDID_SELF && childId <= items) {
        if (!container.Enabled() || !container.Showing()) return;
        container.DoAccessibleItemAction(long(childId) - 1);
        return;
    }
    if (childId != CHILDID_SELF) {
        const std::vector<Control*> children = Children(container);
        if (childId - items > children.size()) return;
        target = children[childId - items - 1];
    }
    if (!target->Enabled() || !target->Showing() || target->AccessibleAction().empty()) return;
    target->DoAccessibleAction();
}

long AccessibleChildId(const WinControl& container, const Control& control) {
    const std::vector<Control*> children = Children(container);
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == &control) return container.AccessibleItemCount() + long(i + 1);
    return 0;
}

void NotifyAccessibility(const Control& control, DWORD event) {
    if (control.IsWindowed()) {
        // A common control whose object is the system's: the system tells of it.
        const auto& own = static_cast<const WinControl&>(control);
        if (own.Handle() && own.HasOwnAccessibleObject())
            ::NotifyWinEvent(event, own.Handle(), OBJID_CLIENT, CHILDID_SELF);
        return;
    }
    const Container* parent = control.Parent();
    if (!parent || !parent->Handle()) return;
    if (const long id = AccessibleChildId(*parent, control))
        ::NotifyWinEvent(event, parent->Handle(), OBJID_CLIENT, id);
}

}  // namespace fw
