#include "platform/win32/Win32Accessible.h"

#include <atomic>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

#include <oleacc.h>

namespace automenu::platform {

namespace {

template <typename Function>
using Pointer = std::add_pointer_t<Function>;

// COM, strings and the accessibility library, from their DLLs at the first
// request.
struct AccessibilityApi {
    SystemLibrary ole32{"ole32.dll"};
    SystemLibrary oleaut32{"oleaut32.dll"};
    SystemLibrary oleacc{"oleacc.dll"};
    Pointer<decltype(::CoInitializeEx)> initialize = ole32.Get<decltype(::CoInitializeEx)>("CoInitializeEx");
    Pointer<decltype(::CoUninitialize)> uninitialize = ole32.Get<decltype(::CoUninitialize)>("CoUninitialize");
    Pointer<decltype(::SysAllocStringLen)> alloc_string =
        oleaut32.Get<decltype(::SysAllocStringLen)>("SysAllocStringLen");
    Pointer<decltype(::LresultFromObject)> lresult_from_object =
        oleacc.Get<decltype(::LresultFromObject)>("LresultFromObject");
    Pointer<decltype(::CreateStdAccessibleObject)> create_standard =
        oleacc.Get<decltype(::CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    bool Complete() const {
        return initialize && uninitialize && alloc_string && lresult_from_object && create_standard;
    }
};

const AccessibilityApi& Api() {
    static const AccessibilityApi api;
    return api;
}

HRESULT Text(const std::string& utf8, BSTR* out) {
    *out = nullptr;
    if (utf8.empty()) return S_FALSE;
    const std::wstring text = Wide(utf8);
    *out = Api().alloc_string(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
}

LONG ChildId(std::size_t place) { return static_cast<LONG>(place + 1); }

DWORD EventOf(AccessibleEvent event) {
    switch (event) {
        case AccessibleEvent::Focus:
            return EVENT_OBJECT_FOCUS;
        case AccessibleEvent::NameChange:
            return EVENT_OBJECT_NAMECHANGE;
        case AccessibleEvent::Show:
            return EVENT_OBJECT_SHOW;
        case AccessibleEvent::Hide:
            return EVENT_OBJECT_HIDE;
        case AccessibleEvent::Location:
            return EVENT_OBJECT_LOCATIONCHANGE;
    }
    return EVENT_OBJECT_LOCATIONCHANGE;
}

}  // namespace

ComApartment::ComApartment()
    : m_result(Api().initialize ? Api().initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
                                : E_FAIL) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(m_result)) Api().uninitialize();
}

// The client area and its children, the content's items: child n is item
// n - 1, shown or not, so that a child keeps its id while the window lives.
// The children a client lists (the count, the enumeration, navigation) are
// the shown ones. What belongs to the client area itself (its name, the
// window's caption; its parent, the window) the system's own object for it
// answers.
class AccessibleClient final : public IAccessible, public IEnumVARIANT {
public:
    static ComPtr<AccessibleClient> Create(std::shared_ptr<AccessibleWindow::Link> link) {
        return ComPtr<AccessibleClient>::Adopt(new AccessibleClient(std::move(link)));
    }

    // --- IUnknown ---
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    // --- IDispatch: clients of this interface call it directly ---
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // --- IAccessible ---
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        IAccessible* standard = Standard();
        return standard ? standard->get_accParent(parent) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        for (const AccessibleItem& item : Items())
            if (item.visible) ++*count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        // The children are simple elements, answered by this object.
        return t.self ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        return TextOf(id, name, &IAccessible::get_accName, [](const AccessibleItem& i) { return i.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        return TextOf(id, value, &IAccessible::get_accValue, [](const AccessibleItem&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override {
        return TextOf(id, description, &IAccessible::get_accDescription,
                      [](const AccessibleItem& i) { return i.description; });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
        return TextOf(id, help, &IAccessible::get_accHelp, [](const AccessibleItem&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override {
        return TextOf(id, shortcut, &IAccessible::get_accKeyboardShortcut,
                      [](const AccessibleItem&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        return TextOf(id, action, &IAccessible::get_accDefaultAction,
                      [](const AccessibleItem& i) { return i.default_action; });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        return NumberOf(id, role, &IAccessible::get_accRole, [](const AccessibleItem& i) -> LONG {
            return i.role == AccessibleRole::PushButton ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_STATICTEXT;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        return NumberOf(id, state, &IAccessible::get_accState, [this](const AccessibleItem& item) {
            LONG bits = 0;
            if (!item.visible) bits |= STATE_SYSTEM_INVISIBLE;
            if (item.role == AccessibleRole::StaticText) bits |= STATE_SYSTEM_READONLY;
            if (item.focusable) bits |= STATE_SYSTEM_FOCUSABLE;
            if (item.focused && item.visible && HasFocus()) bits |= STATE_SYSTEM_FOCUSED;
            RECT client{};
            ::GetClientRect(m_link->hwnd, &client);
            const TRect& b = item.bounds;
            if (item.visible &&
                (b.right <= client.left || b.left >= client.right || b.bottom <= client.top || b.top >= client.bottom))
                bits |= STATE_SYSTEM_OFFSCREEN;
            return bits;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (t.self) {
            IAccessible* standard = Standard();
            return standard ? standard->get_accHelpTopic(file, id, topic) : E_FAIL;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        if (!HasFocus()) return S_FALSE;
        const std::vector<AccessibleItem> items = Items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].focused && items[i].visible) {
                SetChild(focus, ChildId(i));
                return S_OK;
            }
        SetChild(focus, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        selection->vt = VT_EMPTY;
        return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (!t.self) return DISP_E_MEMBERNOTFOUND;
        IAccessible* standard = Standard();
        return standard ? standard->accSelect(flags, id) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (t.self) {
            IAccessible* standard = Standard();
            return standard ? standard->accLocation(left, top, width, height, id) : E_FAIL;
        }
        POINT origin{t.item.bounds.left, t.item.bounds.top};
        ::ClientToScreen(m_link->hwnd, &origin);
        *left = origin.x;
        *top = origin.y;
        *width = t.item.bounds.Width();
        *height = t.item.bounds.Height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        Target t;
        if (const HRESULT hr = Resolve(start, t); FAILED(hr)) return hr;
        std::optional<std::size_t> found;
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                if (!t.self) return E_INVALIDARG;
                found = Shown(direction == NAVDIR_FIRSTCHILD ? 0 : Items().size() - 1,
                              direction == NAVDIR_FIRSTCHILD ? 1 : -1);
                break;
            case NAVDIR_NEXT:
            case NAVDIR_PREVIOUS:
                // The client's own siblings are the window's parts.
                if (t.self) return Delegate(&IAccessible::accNavigate, direction, start, end);
                found = Shown(direction == NAVDIR_NEXT ? t.place + 1 : t.place - 1, direction == NAVDIR_NEXT ? 1 : -1);
                break;
            default:
                if (t.self) return Delegate(&IAccessible::accNavigate, direction, start, end);
                return E_NOTIMPL;  // by geometry: the labels lie where the file puts them
        }
        if (!found) return S_FALSE;
        SetChild(end, ChildId(*found));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        RECT client{};
        ::ScreenToClient(m_link->hwnd, &p);
        ::GetClientRect(m_link->hwnd, &client);
        if (!::PtInRect(&client, p)) return S_FALSE;
        const std::vector<AccessibleItem> items = Items();
        for (std::size_t i = items.size(); i-- > 0;)
            if (items[i].visible && items[i].bounds.Contains({p.x, p.y})) {
                SetChild(hit, ChildId(i));
                return S_OK;
            }
        SetChild(hit, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (t.self || t.item.default_action.empty()) return DISP_E_MEMBERNOTFOUND;
        if (!t.item.visible) return E_FAIL;
        // Queued for the window, which opens it as a click does once this
        // call has returned.
        m_link->activate(t.place);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // --- IEnumVARIANT: the shown children, by id ---
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const std::vector<AccessibleItem> items = Items();
        ULONG taken = 0;
        for (; taken < count && m_cursor < items.size(); ++m_cursor)
            if (items[m_cursor].visible) SetChild(&out[taken++], ChildId(m_cursor));
        if (fetched) *fetched = taken;
        return taken == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const std::vector<AccessibleItem> items = Items();
        for (; count > 0 && m_cursor < items.size(); ++m_cursor)
            if (items[m_cursor].visible) --count;
        return count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_cursor = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        auto copy = Create(m_link);
        copy->m_cursor = m_cursor;
        copy->AddRef();
        *out = copy.Get();
        return S_OK;
    }

private:
    explicit AccessibleClient(std::shared_ptr<AccessibleWindow::Link> link) : m_link(std::move(link)) {}
    ~AccessibleClient() = default;

    // What a child id names: the client itself, or a child's place and item.
    struct Target {
        bool self = false;
        std::size_t place = 0;
        AccessibleItem item;
    };

    bool Connected() const { return m_link->content != nullptr; }
    bool HasFocus() const { return ::GetFocus() == m_link->hwnd; }
    std::vector<AccessibleItem> Items() const { return m_link->content->AccessibleItems(); }

    HRESULT Resolve(const VARIANT& id, Target& out) const {
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        if (id.vt != VT_I4) return E_INVALIDARG;
        if (id.lVal == CHILDID_SELF) {
            out.self = true;
            return S_OK;
        }
        std::vector<AccessibleItem> items = Items();
        if (id.lVal < 1 || static_cast<std::size_t>(id.lVal) > items.size()) return E_INVALIDARG;
        out.place = static_cast<std::size_t>(id.lVal) - 1;
        out.item = std::move(items[out.place]);
        return S_OK;
    }

    // The first shown item from `from` on, going by `step`.
    std::optional<std::size_t> Shown(std::size_t from, int step) const {
        const std::vector<AccessibleItem> items = Items();
        for (std::size_t i = from; i < items.size(); i += static_cast<std::size_t>(step))
            if (items[i].visible) return i;
        return std::nullopt;
    }

    // The system's object for the client area, made at its first use.
    IAccessible* Standard() {
        if (!m_standard && Api().create_standard)
            Api().create_standard(m_link->hwnd, OBJID_CLIENT, IID_IAccessible,
                                  reinterpret_cast<void**>(m_standard.Out()));
        return m_standard.Get();
    }

    template <typename Method, typename... Args>
    HRESULT Delegate(Method method, Args... args) {
        IAccessible* standard = Standard();
        return standard ? (standard->*method)(args...) : E_FAIL;
    }

    template <typename Method, typename Read>
    HRESULT TextOf(VARIANT id, BSTR* out, Method standard, Read read) {
        if (!out) return E_POINTER;
        *out = nullptr;
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (t.self) return Delegate(standard, id, out);
        return Text(read(t.item), out);
    }

    // A number-valued property (role, state) of a child, or the standard
    // object's for the client area itself.
    template <typename Method, typename Read>
    HRESULT NumberOf(VARIANT id, VARIANT* out, Method standard, Read read) {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        Target t;
        if (const HRESULT hr = Resolve(id, t); FAILED(hr)) return hr;
        if (t.self) return Delegate(standard, id, out);
        SetChild(out, read(t.item));
        return S_OK;
    }

    std::atomic<ULONG> m_references{1};
    std::shared_ptr<AccessibleWindow::Link> m_link;
    ComPtr<IAccessible> m_standard;
    std::size_t m_cursor = 0;  // the enumeration's next place
};

AccessibleWindow::AccessibleWindow(HWND hwnd, const IAccessibleContent& content,
                                   std::function<void(std::size_t)> activate)
    : m_link(std::make_shared<Link>(Link{hwnd, &content, std::move(activate)})) {}

AccessibleWindow::~AccessibleWindow() {
    m_link->content = nullptr;
    m_link->activate = nullptr;
}

LRESULT AccessibleWindow::Answer(WPARAM wparam) {
    const AccessibilityApi& api = Api();
    if (!api.Complete()) return 0;
    if (!m_object) m_object = AccessibleClient::Create(m_link);
    return api.lresult_from_object(IID_IAccessible, wparam, static_cast<IAccessible*>(m_object.Get()));
}

void AccessibleWindow::Notify(AccessibleEvent event, std::size_t item) const {
    HWND hwnd = m_link->hwnd;
    if (!::IsWindowVisible(hwnd)) return;
    if (event == AccessibleEvent::Focus && ::GetFocus() != hwnd) return;
    ::NotifyWinEvent(EventOf(event), hwnd, OBJID_CLIENT, ChildId(item));
}

}  // namespace automenu::platform
