// What assistive technology finds in the menu, asked as a screen reader asks:
// through Active Accessibility, from another process. Prints UTF-8 lines.
//
//   accessibility_probe list          the client area and its children:
//       child ID ROLE "NAME" description="..." action="..." state=... at=X,Y size=WxH
//       (X and Y relative to the client area's top-left corner)
//   accessibility_probe focus         the focused child's name
//   accessibility_probe do NAME       the default action of the child named NAME
//   accessibility_probe events MS     the focus and name changes of the client
//       area's children for MS milliseconds: "focus ID", "name ID"
//
// It waits up to 30 seconds for the menu's window; exit status 1 when a step fails.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length = -1) {
    if (!text) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();
    return out;
}

// A string the callee allocated.
class Bstr {
public:
    ~Bstr() { ::SysFreeString(m_s); }
    BSTR* Out() { return &m_s; }
    std::string Text() const { return m_s ? Utf8(m_s, static_cast<int>(::SysStringLen(m_s))) : std::string(); }

private:
    BSTR m_s = nullptr;
};

VARIANT Child(LONG id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

int Fail(const char* what, HRESULT hr) {
    std::printf("failed: %s (0x%08lx)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

HWND FindMenu() {
    for (int i = 0; i < 300; ++i) {
        if (HWND hwnd = ::FindWindowW(L"TInstallationForm", nullptr)) return hwnd;
        ::Sleep(100);
    }
    return nullptr;
}

std::string RoleName(const VARIANT& role) {
    if (role.vt != VT_I4) return "?";
    switch (role.lVal) {
        case ROLE_SYSTEM_CLIENT:
            return "client";
        case ROLE_SYSTEM_STATICTEXT:
            return "text";
        case ROLE_SYSTEM_PUSHBUTTON:
            return "button";
        case ROLE_SYSTEM_LINK:
            return "link";
        default:
            return std::to_string(role.lVal);
    }
}

std::string StateNames(const VARIANT& state) {
    if (state.vt != VT_I4) return "?";
    const struct {
        LONG bit;
        const char* name;
    } names[] = {{STATE_SYSTEM_INVISIBLE, "invisible"},
                 {STATE_SYSTEM_OFFSCREEN, "offscreen"},
                 {STATE_SYSTEM_READONLY, "readonly"},
                 {STATE_SYSTEM_FOCUSABLE, "focusable"},
                 {STATE_SYSTEM_FOCUSED, "focused"}};
    std::string out;
    for (const auto& n : names)
        if (state.lVal & n.bit) {
            if (!out.empty()) out += ',';
            out += n.name;
        }
    return out.empty() ? "none" : out;
}

std::string NameOf(IAccessible* acc, LONG id) {
    Bstr name;
    acc->get_accName(Child(id), name.Out());
    return name.Text();
}

// The children as AccessibleChildren lists them: the shown ones, by id.
std::vector<LONG> Children(IAccessible* acc) {
    LONG count = 0;
    acc->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG got = 0;
    std::vector<LONG> ids;
    if (count > 0 && SUCCEEDED(::AccessibleChildren(acc, 0, count, children.data(), &got)))
        for (LONG i = 0; i < got; ++i)
            if (children[static_cast<std::size_t>(i)].vt == VT_I4)
                ids.push_back(children[static_cast<std::size_t>(i)].lVal);
    return ids;
}

int List(HWND hwnd, IAccessible* acc) {
    LONG cx = 0, cy = 0, cw = 0, ch = 0;
    VARIANT role;
    ::VariantInit(&role);
    acc->get_accRole(Child(CHILDID_SELF), &role);
    HRESULT hr = acc->accLocation(&cx, &cy, &cw, &ch, Child(CHILDID_SELF));
    if (FAILED(hr)) return Fail("the client area's location", hr);
    LONG count = 0;
    acc->get_accChildCount(&count);
    std::printf("client %s \"%s\" children=%ld size=%ldx%ld\n", RoleName(role).c_str(),
                NameOf(acc, CHILDID_SELF).c_str(), count, cw, ch);
    (void)hwnd;
    for (LONG id : Children(acc)) {
        VARIANT child_role, state;
        ::VariantInit(&child_role);
        ::VariantInit(&state);
        acc->get_accRole(Child(id), &child_role);
        acc->get_accState(Child(id), &state);
        Bstr description, action;
        acc->get_accDescription(Child(id), description.Out());
        acc->get_accDefaultAction(Child(id), action.Out());
        LONG x = 0, y = 0, w = 0, h = 0;
        hr = acc->accLocation(&x, &y, &w, &h, Child(id));
        if (FAILED(hr)) return Fail("a child's location", hr);
        std::printf("child %ld %s \"%s\" description=\"%s\" action=\"%s\" state=%s at=%ld,%ld size=%ldx%ld\n", id,
                    RoleName(child_role).c_str(), NameOf(acc, id).c_str(), description.Text().c_str(),
                    action.Text().c_str(), StateNames(state).c_str(), x - cx, y - cy, w, h);
    }
    return 0;
}

int Focus(IAccessible* acc) {
    VARIANT focus;
    ::VariantInit(&focus);
    const HRESULT hr = acc->get_accFocus(&focus);
    if (FAILED(hr)) return Fail("the focus", hr);
    if (focus.vt != VT_I4) {
        std::printf("focus none\n");
        return 0;
    }
    std::printf("focus %ld \"%s\"\n", focus.lVal, NameOf(acc, focus.lVal).c_str());
    return 0;
}

int Do(IAccessible* acc, const std::string& name) {
    for (LONG id : Children(acc)) {
        if (NameOf(acc, id) != name) continue;
        const HRESULT hr = acc->accDoDefaultAction(Child(id));
        if (FAILED(hr)) return Fail("the default action", hr);
        std::printf("done %ld\n", id);
        return 0;
    }
    std::printf("failed: no child \"%s\"\n", name.c_str());
    return 1;
}

HWND g_menu = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd != g_menu || object != OBJID_CLIENT || child == CHILDID_SELF) return;
    std::printf("%s %ld\n", event == EVENT_OBJECT_FOCUS ? "focus" : "name", child);
    std::fflush(stdout);
}

int Events(HWND hwnd, unsigned milliseconds) {
    g_menu = hwnd;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    HWINEVENTHOOK focus =
        ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    HWINEVENTHOOK name = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &OnEvent, process,
                                           0, WINEVENT_OUTOFCONTEXT);
    if (!focus || !name) return Fail("the event hooks", E_FAIL);
    std::printf("listening\n");
    std::fflush(stdout);
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    ::UnhookWinEvent(focus);
    ::UnhookWinEvent(name);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("usage: accessibility_probe list|focus|do NAME|events MS", E_INVALIDARG);
    const std::string command = argv[1];
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND hwnd = FindMenu();
    if (!hwnd) return Fail("no menu window", E_FAIL);
    if (command == "events" && argc > 2) return Events(hwnd, static_cast<unsigned>(std::atoi(argv[2])));
    IAccessible* acc = nullptr;
    const HRESULT hr = ::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                    reinterpret_cast<void**>(&acc));
    if (FAILED(hr) || !acc) return Fail("AccessibleObjectFromWindow", hr);
    int status = 1;
    if (command == "list")
        status = List(hwnd, acc);
    else if (command == "focus")
        status = Focus(acc);
    else if (command == "do" && argc > 2)
        status = Do(acc, argv[2]);
    else
        status = Fail("unknown command", E_INVALIDARG);
    acc->Release();
    std::fflush(stdout);
    ::CoUninitialize();
    return status;
}
