// acctree: the program as a screen reader finds it through Active Accessibility, from another
// process, as the end-to-end tests need it.
//
//   acctree tree TITLE             the tree of the top-level window TITLE, one object a line
//   acctree do TITLE NAME [N]      the default action of the N-th (1st) showing object named NAME
//   acctree hit X Y                the object at a screen point, as one line
//   acctree events SECONDS         for that long, the objects whose name, state or value changed,
//                                  shown or hidden, as the program tells: the event, then the line
//
// A line: depth, role, name, value, states, left top width height, default action, shortcut,
// tab-separated. A window among the children is followed into its client area, as screen
// readers do; a window that is not showing is listed but not followed.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ProbeCommon.h"

namespace {

// IID_IAccessible written out: mingw-w64's import library exports it as a thunk, not the GUID.
constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT Id(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR s) {
    std::wstring text = s ? std::wstring(s, ::SysStringLen(s)) : std::wstring();
    ::SysFreeString(s);
    for (wchar_t& c : text)
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    return text;
}

struct Node {
    std::wstring role, name, value, states, action, shortcut;
    long roleId = 0, state = 0, x = 0, y = 0, w = 0, h = 0;
};

Node Describe(IAccessible* acc, long id) {
    Node n;
    const VARIANT child = Id(id);
    BSTR s = nullptr;
    if (acc->get_accName(child, &s) == S_OK) n.name = Take(s);
    s = nullptr;
    if (acc->get_accValue(child, &s) == S_OK) n.value = Take(s);
    s = nullptr;
    if (acc->get_accDefaultAction(child, &s) == S_OK) n.action = Take(s);
    s = nullptr;
    if (acc->get_accKeyboardShortcut(child, &s) == S_OK) n.shortcut = Take(s);
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(child, &v)) && v.vt == VT_I4) n.roleId = v.lVal;
    ::VariantClear(&v);
    wchar_t text[128] = L"";
    ::GetRoleTextW(DWORD(n.roleId), text, 128);
    n.role = text;
    if (SUCCEEDED(acc->get_accState(child, &v)) && v.vt == VT_I4) n.state = v.lVal;
    ::VariantClear(&v);
    for (DWORD bit = 1; bit && bit <= STATE_SYSTEM_HASPOPUP; bit <<= 1) {
        if (!(DWORD(n.state) & bit)) continue;
        ::GetStateTextW(bit, text, 128);
        n.states += (n.states.empty() ? L"" : L",") + std::wstring(text);
    }
    acc->accLocation(&n.x, &n.y, &n.w, &n.h, child);
    return n;
}

void Print(int depth, const Node& n) {
    std::printf("%d\t%s\t%s\t%s\t%s\t%ld %ld %ld %ld\t%s\t%s\n", depth, probe::Utf8(n.role).c_str(),
                probe::Utf8(n.name).c_str(), probe::Utf8(n.value).c_str(), probe::Utf8(n.states).c_str(), n.x, n.y, n.w,
                n.h, probe::Utf8(n.action).c_str(), probe::Utf8(n.shortcut).c_str());
}

IAccessible* ClientOf(HWND wnd) {
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(wnd, DWORD(OBJID_CLIENT), kIidAccessible, reinterpret_cast<void**>(&acc))))
        return nullptr;
    return acc;
}

// Calls `visit` for every object below `acc` (and `acc` itself at `depth`) until it returns
// true; true when it did.
template <typename Visit>
bool Walk(IAccessible* acc, int depth, const Visit& visit) {
    if (visit(acc, CHILDID_SELF, depth)) return true;
    long count = 0;
    if (FAILED(acc->get_accChildCount(&count)) || count <= 0) return false;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    if (FAILED(::AccessibleChildren(acc, 0, count, children.data(), &got))) return false;
    bool stop = false;
    for (long i = 0; i < got; ++i) {
        VARIANT& c = children[size_t(i)];
        if (!stop && c.vt == VT_I4) stop = visit(acc, c.lVal, depth + 1);
        if (!stop && c.vt == VT_DISPATCH && c.pdispVal) {
            IAccessible* object = nullptr;
            HWND wnd = nullptr;
            if (SUCCEEDED(c.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&object))) && object) {
                // A window: its client area is what a screen reader reads.
                if (SUCCEEDED(::WindowFromAccessibleObject(object, &wnd)) && wnd && ::IsWindowVisible(wnd)) {
                    if (IAccessible* client = ClientOf(wnd)) {
                        stop = Walk(client, depth + 1, visit);
                        client->Release();
                    }
                } else if (!wnd) {
                    stop = Walk(object, depth + 1, visit);
                }
                object->Release();
            }
        }
        ::VariantClear(&c);
    }
    return stop;
}

HWND TopLevel(const wchar_t* title) {
    HWND wnd = nullptr;
    probe::WaitFor([&] { return (wnd = ::FindWindowW(nullptr, title)) != nullptr; }, 5000);
    return wnd;
}

int Tree(const wchar_t* title) {
    HWND wnd = TopLevel(title);
    IAccessible* root = wnd ? ClientOf(wnd) : nullptr;
    if (!root) {
        std::fprintf(stderr, "no accessible object for the window\n");
        return 1;
    }
    Walk(root, 0, [](IAccessible* acc, long id, int depth) {
        Print(depth, Describe(acc, id));
        return false;
    });
    root->Release();
    return 0;
}

int Do(const wchar_t* title, const std::wstring& name, int nth) {
    HWND wnd = TopLevel(title);
    IAccessible* root = wnd ? ClientOf(wnd) : nullptr;
    if (!root) return 1;
    HRESULT result = E_FAIL;
    const bool found = Walk(root, 0, [&](IAccessible* acc, long id, int) {
        const Node n = Describe(acc, id);
        if (n.name != name || (n.state & STATE_SYSTEM_INVISIBLE) || --nth > 0) return false;
        result = acc->accDoDefaultAction(Id(id));
        return true;
    });
    root->Release();
    std::printf("found=%d result=0x%08lx\n", found ? 1 : 0, static_cast<unsigned long>(result));
    return found && SUCCEEDED(result) ? 0 : 1;
}

int Hit(long x, long y) {
    IAccessible* acc = nullptr;
    VARIANT child;
    ::VariantInit(&child);
    if (FAILED(::AccessibleObjectFromPoint(POINT{x, y}, &acc, &child)) || !acc) return 1;
    Print(0, Describe(acc, child.vt == VT_I4 ? child.lVal : CHILDID_SELF));
    acc->Release();
    return 0;
}

const char* EventName(DWORD event) {
    switch (event) {
    case EVENT_OBJECT_SHOW:
        return "show";
    case EVENT_OBJECT_HIDE:
        return "hide";
    case EVENT_OBJECT_STATECHANGE:
        return "state";
    case EVENT_OBJECT_NAMECHANGE:
        return "name";
    case EVENT_OBJECT_VALUECHANGE:
        return "value";
    default:
        return nullptr;
    }
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG object, LONG child, DWORD, DWORD) {
    const char* name = EventName(event);
    if (!name || !wnd || object != OBJID_CLIENT) return;
    IAccessible* acc = nullptr;
    VARIANT id;
    ::VariantInit(&id);
    if (FAILED(::AccessibleObjectFromEvent(wnd, DWORD(object), DWORD(child), &acc, &id)) || !acc) return;
    std::printf("%s\t", name);
    Print(0, Describe(acc, id.vt == VT_I4 ? id.lVal : CHILDID_SELF));
    std::fflush(stdout);
    acc->Release();
}

int Events(DWORD seconds) {
    HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, &OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return 1;
    std::printf("listening\n");
    std::fflush(stdout);
    const DWORD end = ::GetTickCount() + seconds * 1000;
    for (DWORD now = ::GetTickCount(); now < end; now = ::GetTickCount()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    ::UnhookWinEvent(hook);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    probe::ShellLineEnds();
    if (FAILED(::CoInitialize(nullptr))) return 1;
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"tree" && argc > 2) return Tree(argv[2]);
    if (command == L"do" && argc > 3) return Do(argv[2], argv[3], argc > 4 ? _wtoi(argv[4]) : 1);
    if (command == L"hit" && argc > 3) return Hit(_wtol(argv[2]), _wtol(argv[3]));
    if (command == L"events" && argc > 2) return Events(DWORD(_wtoi(argv[2])));
    return probe::Usage("acctree tree TITLE | do TITLE NAME [N] | hit X Y | events SECONDS");
}
