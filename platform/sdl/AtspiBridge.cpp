#include "platform/sdl/AtspiBridge.h"

#ifndef AUTOMENU_ATSPI

// Built without ATK's headers: the menu has no accessibility tree.
namespace automenu::platform {
bool AccessibilityBusRunning() { return false; }
struct AtspiBridge::State {};
std::unique_ptr<AtspiBridge> AtspiBridge::Start(AtspiHost&) { return nullptr; }
AtspiBridge::AtspiBridge(std::unique_ptr<State> state) : m_state(std::move(state)) {}
AtspiBridge::~AtspiBridge() = default;
void AtspiBridge::SetContent(WindowId, const IAccessibleContent*) {}
void AtspiBridge::Update(WindowId) {}
bool AtspiBridge::Dispatch() { return false; }
}  // namespace automenu::platform

#else

#include <atk-bridge.h>
#include <atk/atk.h>
#include <dbus/dbus.h>
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/AccessibleChanges.h"

namespace automenu::platform {

namespace {

// A library loaded for the program's life: ATK registers types with GLib
// that must not be unloaded, so closing the handle leaves it in place.
class Library {
public:
    explicit Library(const char* name) : m_handle(::dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
    ~Library() {
        if (m_handle) ::dlclose(m_handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    explicit operator bool() const { return m_handle != nullptr; }
    template <typename F>
    bool Bind(F& function, const char* name) const {
        function = m_handle ? reinterpret_cast<F>(::dlsym(m_handle, name)) : nullptr;
        return function != nullptr;
    }

private:
    void* m_handle;
};

#define AUTOMENU_BIND(library, name) (library).Bind(name, #name)

// The session bus has a name it could hand out an accessibility bus under:
// at-spi-bus-launcher owns it while it runs. Asked without activating it.
bool AccessibilityBusOwned() {
    const Library dbus("libdbus-1.so.3");
    decltype(&::dbus_error_init) dbus_error_init;
    decltype(&::dbus_error_free) dbus_error_free;
    decltype(&::dbus_bus_get_private) dbus_bus_get_private;
    decltype(&::dbus_connection_set_exit_on_disconnect) dbus_connection_set_exit_on_disconnect;
    decltype(&::dbus_bus_name_has_owner) dbus_bus_name_has_owner;
    decltype(&::dbus_connection_close) dbus_connection_close;
    decltype(&::dbus_connection_unref) dbus_connection_unref;
    if (!AUTOMENU_BIND(dbus, dbus_error_init) || !AUTOMENU_BIND(dbus, dbus_error_free) ||
        !AUTOMENU_BIND(dbus, dbus_bus_get_private) || !AUTOMENU_BIND(dbus, dbus_connection_set_exit_on_disconnect) ||
        !AUTOMENU_BIND(dbus, dbus_bus_name_has_owner) || !AUTOMENU_BIND(dbus, dbus_connection_close) ||
        !AUTOMENU_BIND(dbus, dbus_connection_unref))
        return false;
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    bool owned = false;
    if (connection) {
        dbus_connection_set_exit_on_disconnect(connection, FALSE);
        owned = dbus_bus_name_has_owner(connection, "org.a11y.Bus", &error);
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
    dbus_error_free(&error);
    return owned;
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

}  // namespace

bool AccessibilityBusRunning() {
    if (const char* off = std::getenv("NO_AT_BRIDGE"); off && std::strcmp(off, "1") == 0) return false;
    if (IsSet("AT_SPI_BUS_ADDRESS")) return true;
    // Without a session bus's address the library would launch one.
    return IsSet("DBUS_SESSION_BUS_ADDRESS") && AccessibilityBusOwned();
}

// --- The objects clients see ---

namespace {

struct Node;

// An accessible object of GLib's type system, pointing back at the node it
// stands for; the node is cleared when the bridge lets go, while a client
// may still hold the object.
struct NodeObject {
    AtkObject parent;
    Node* node;
};
struct NodeObjectClass {
    AtkObjectClass parent;
};

struct GObjectRelease {
    void operator()(AtkObject* object) const { g_object_unref(object); }
};

enum class NodeKind { Application, Frame, Item };

struct Node {
    NodeKind kind = NodeKind::Item;
    WindowId window = kNoWindow;
    std::size_t item = 0;
    std::unique_ptr<AtkObject, GObjectRelease> object;

    Node(NodeKind k, WindowId w, std::size_t i, GType type) : kind(k), window(w), item(i) {
        object.reset(static_cast<AtkObject*>(g_object_new(type, nullptr)));
        reinterpret_cast<NodeObject*>(object.get())->node = this;
    }
    ~Node() {
        if (object) reinterpret_cast<NodeObject*>(object.get())->node = nullptr;
    }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
};

Node* NodeOf(gpointer object) { return reinterpret_cast<NodeObject*>(object)->node; }

}  // namespace

// ATK's functions, as loaded.
struct AtkApi {
    decltype(&::atk_object_get_type) atk_object_get_type;
    decltype(&::atk_component_get_type) atk_component_get_type;
    decltype(&::atk_action_get_type) atk_action_get_type;
    decltype(&::atk_util_get_type) atk_util_get_type;
    decltype(&::atk_window_get_type) atk_window_get_type;
    decltype(&::atk_state_set_new) atk_state_set_new;
    decltype(&::atk_state_set_add_state) atk_state_set_add_state;
    decltype(&::atk_object_notify_state_change) atk_object_notify_state_change;
    decltype(&::atk_bridge_adaptor_init) atk_bridge_adaptor_init;
    decltype(&::atk_bridge_adaptor_cleanup) atk_bridge_adaptor_cleanup;
};

struct AtspiBridge::State {
    struct Frame {
        const IAccessibleContent* content = nullptr;
        std::unique_ptr<Node> node;
        std::vector<std::unique_ptr<Node>> items;  // one per place, made when first needed
        std::vector<AccessibleItem> seen;          // what clients were last told
        std::string caption;
        bool shown = false;
        bool active = false;
    };

    AtspiHost& host;
    AtkApi api{};
    Library atk{"libatk-1.0.so.0"};
    Library bridge{"libatk-bridge-2.0.so.0"};
    GType application_type = 0, frame_type = 0, item_type = 0;
    std::unique_ptr<Node> application;
    std::map<WindowId, Frame> frames;
    std::string program_name;
    bool bridge_started = false;

    explicit State(AtspiHost& h) : host(h) {}
    ~State() {
        if (bridge_started) api.atk_bridge_adaptor_cleanup();
    }

    Frame* FrameOf(WindowId w) {
        const auto it = frames.find(w);
        return it == frames.end() ? nullptr : &it->second;
    }
    const AccessibleItem* ItemOf(const Node& node) {
        Frame* frame = FrameOf(node.window);
        return frame && node.item < frame->seen.size() ? &frame->seen[node.item] : nullptr;
    }
    AtkObject* ItemObject(Frame& frame, WindowId w, std::size_t item) {
        if (frame.items.size() <= item) frame.items.resize(item + 1);
        if (!frame.items[item]) frame.items[item] = std::make_unique<Node>(NodeKind::Item, w, item, item_type);
        return frame.items[item]->object.get();
    }
    void Refresh(WindowId w, Frame& frame);
};

namespace {

AtspiBridge::State* g_state = nullptr;  // ATK asks for its root without context

// What the items say, as clients see them: the focus only while the window has the keyboard.
std::vector<AccessibleItem> ItemsToTell(const IAccessibleContent* content, bool active) {
    std::vector<AccessibleItem> items = content ? content->AccessibleItems() : std::vector<AccessibleItem>{};
    for (AccessibleItem& item : items) item.focused = item.focused && active;
    return items;
}

const gchar* NodeName(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state) return "";
    switch (node->kind) {
        case NodeKind::Application:
            return g_state->program_name.c_str();
        case NodeKind::Frame: {
            auto* frame = g_state->FrameOf(node->window);
            return frame ? frame->caption.c_str() : "";
        }
        case NodeKind::Item: {
            const AccessibleItem* item = g_state->ItemOf(*node);
            return item ? item->name.c_str() : "";
        }
    }
    return "";
}

const gchar* NodeDescription(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state || node->kind != NodeKind::Item) return "";
    const AccessibleItem* item = g_state->ItemOf(*node);
    return item ? item->description.c_str() : "";
}

AtkObject* NodeParent(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state) return nullptr;
    switch (node->kind) {
        case NodeKind::Application:
            return nullptr;
        case NodeKind::Frame:
            return g_state->application->object.get();
        case NodeKind::Item: {
            auto* frame = g_state->FrameOf(node->window);
            return frame ? frame->node->object.get() : nullptr;
        }
    }
    return nullptr;
}

gint NodeChildCount(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state) return 0;
    if (node->kind == NodeKind::Application) return static_cast<gint>(g_state->frames.size());
    if (node->kind == NodeKind::Frame)
        if (auto* frame = g_state->FrameOf(node->window)) return static_cast<gint>(ShownItems(frame->seen).size());
    return 0;
}

AtkObject* NodeChild(AtkObject* object, gint index) {
    const Node* node = NodeOf(object);
    if (!node || !g_state || index < 0) return nullptr;
    AtkObject* child = nullptr;
    if (node->kind == NodeKind::Application) {
        auto it = g_state->frames.begin();
        for (gint i = 0; i < index && it != g_state->frames.end(); ++i) ++it;
        if (it != g_state->frames.end()) child = it->second.node->object.get();
    } else if (node->kind == NodeKind::Frame) {
        if (auto* frame = g_state->FrameOf(node->window)) {
            const std::vector<std::size_t> shown = ShownItems(frame->seen);
            if (static_cast<std::size_t>(index) < shown.size())
                child = g_state->ItemObject(*frame, node->window, shown[static_cast<std::size_t>(index)]);
        }
    }
    return child ? static_cast<AtkObject*>(g_object_ref(child)) : nullptr;
}

gint NodeIndex(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state) return -1;
    if (node->kind == NodeKind::Frame) {
        gint i = 0;
        for (const auto& [w, frame] : g_state->frames) {
            if (w == node->window) return i;
            ++i;
        }
    } else if (node->kind == NodeKind::Item) {
        if (auto* frame = g_state->FrameOf(node->window))
            if (auto child = ChildIndex(frame->seen, node->item)) return static_cast<gint>(*child);
    }
    return -1;
}

AtkRole NodeRole(AtkObject* object) {
    const Node* node = NodeOf(object);
    if (!node || !g_state) return ATK_ROLE_INVALID;
    switch (node->kind) {
        case NodeKind::Application:
            return ATK_ROLE_APPLICATION;
        case NodeKind::Frame:
            return ATK_ROLE_FRAME;
        case NodeKind::Item: {
            const AccessibleItem* item = g_state->ItemOf(*node);
            return item && item->role == AccessibleRole::PushButton ? ATK_ROLE_PUSH_BUTTON : ATK_ROLE_LABEL;
        }
    }
    return ATK_ROLE_INVALID;
}

AtkStateSet* NodeStates(AtkObject* object) {
    if (!g_state) return nullptr;
    const AtkApi& api = g_state->api;
    AtkStateSet* states = api.atk_state_set_new();
    const Node* node = NodeOf(object);
    if (!node) {
        api.atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    auto add = [&](AtkStateType state) { api.atk_state_set_add_state(states, state); };
    if (node->kind == NodeKind::Frame) {
        if (auto* frame = g_state->FrameOf(node->window)) {
            add(ATK_STATE_ENABLED);
            add(ATK_STATE_SENSITIVE);
            if (frame->shown) {
                add(ATK_STATE_VISIBLE);
                add(ATK_STATE_SHOWING);
            }
            if (frame->active) add(ATK_STATE_ACTIVE);
        }
    } else if (node->kind == NodeKind::Item) {
        auto* frame = g_state->FrameOf(node->window);
        const AccessibleItem* item = g_state->ItemOf(*node);
        if (frame && item) {
            add(ATK_STATE_ENABLED);
            add(ATK_STATE_SENSITIVE);
            if (item->visible) add(ATK_STATE_VISIBLE);
            if (item->visible && frame->shown) add(ATK_STATE_SHOWING);
            if (item->focusable) add(ATK_STATE_FOCUSABLE);
            if (item->focused && item->visible) add(ATK_STATE_FOCUSED);
        } else {
            add(ATK_STATE_DEFUNCT);
        }
    }
    return states;
}

// --- AtkComponent: where a frame or an item is ---

void NodeExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
    TRect rect;
    const Node* node = NodeOf(component);
    if (node && g_state && node->kind != NodeKind::Application) {
        const TRect client = g_state->host.AccessibleScreenRect(node->window, std::nullopt);
        if (node->kind == NodeKind::Frame) {
            rect = coords == ATK_XY_SCREEN ? client : client.Offset(-client.left, -client.top);
        } else if (const AccessibleItem* item = g_state->ItemOf(*node)) {
            rect = g_state->host.AccessibleScreenRect(node->window, item->bounds);
            // Within the window and within the frame (its parent) alike:
            // from the client area's corner.
            if (coords != ATK_XY_SCREEN) rect = rect.Offset(-client.left, -client.top);
        }
    }
    if (x) *x = rect.left;
    if (y) *y = rect.top;
    if (width) *width = rect.Width();
    if (height) *height = rect.Height();
}

void InitComponent(gpointer iface, gpointer) {
    static_cast<AtkComponentIface*>(iface)->get_extents = NodeExtents;
}

// --- AtkAction: what a click does ---

const AccessibleItem* ActionItem(AtkAction* action, gint i) {
    const Node* node = NodeOf(action);
    if (!node || !g_state || i != 0) return nullptr;
    const AccessibleItem* item = g_state->ItemOf(*node);
    return item && !item->default_action.empty() ? item : nullptr;
}

gboolean DoAction(AtkAction* action, gint i) {
    const AccessibleItem* item = ActionItem(action, i);
    if (!item || !item->visible) return FALSE;
    // The form's own loop runs it, as it runs a click.
    const Node* node = NodeOf(action);
    g_state->host.AccessibleActivate(node->window, node->item);
    return TRUE;
}

gint ActionCount(AtkAction* action) { return ActionItem(action, 0) ? 1 : 0; }

const gchar* ActionName(AtkAction* action, gint i) { return ActionItem(action, i) ? "click" : nullptr; }

const gchar* ActionLocalizedName(AtkAction* action, gint i) {
    const AccessibleItem* item = ActionItem(action, i);
    return item ? item->default_action.c_str() : nullptr;
}

const gchar* ActionDescription(AtkAction* action, gint i) {
    const AccessibleItem* item = ActionItem(action, i);
    return item ? item->description.c_str() : nullptr;
}

void InitAction(gpointer iface, gpointer) {
    auto* action = static_cast<AtkActionIface*>(iface);
    action->do_action = DoAction;
    action->get_n_actions = ActionCount;
    action->get_name = ActionName;
    action->get_localized_name = ActionLocalizedName;
    action->get_description = ActionDescription;
}

void InitNodeClass(gpointer klass, gpointer) {
    auto* atk = static_cast<AtkObjectClass*>(klass);
    atk->get_name = NodeName;
    atk->get_description = NodeDescription;
    atk->get_parent = NodeParent;
    atk->get_n_children = NodeChildCount;
    atk->ref_child = NodeChild;
    atk->get_index_in_parent = NodeIndex;
    atk->get_role = NodeRole;
    atk->ref_state_set = NodeStates;
}

GType RegisterType(GType parent, const char* name, bool component, bool action, bool window, const AtkApi& api) {
    if (GType existing = g_type_from_name(name)) return existing;
    GTypeInfo info{};
    info.class_size = sizeof(NodeObjectClass);
    info.class_init = parent == api.atk_object_get_type() ? InitNodeClass : nullptr;
    info.instance_size = sizeof(NodeObject);
    const GType type = g_type_register_static(parent, name, &info, GTypeFlags(0));
    if (component) {
        const GInterfaceInfo component_info{InitComponent, nullptr, nullptr};
        g_type_add_interface_static(type, api.atk_component_get_type(), &component_info);
    }
    if (action) {
        const GInterfaceInfo action_info{InitAction, nullptr, nullptr};
        g_type_add_interface_static(type, api.atk_action_get_type(), &action_info);
    }
    if (window) {
        // Only its signals ("activate", "deactivate", ...).
        const GInterfaceInfo window_info{nullptr, nullptr, nullptr};
        g_type_add_interface_static(type, api.atk_window_get_type(), &window_info);
    }
    return type;
}

// ATK's own listeners know the signals of accessible objects ("Gtk:AtkObject:
// state-change"), while the bridge hears of windows by "window:activate" and
// the like, which a toolkit answers: here with a hook on the window
// signal of that name. Ids of these hooks are told apart by their high bit.
constexpr guint kWindowListener = 1u << 30;
decltype(AtkUtilClass::add_global_event_listener) g_atk_add_listener = nullptr;
decltype(AtkUtilClass::remove_global_event_listener) g_atk_remove_listener = nullptr;
std::map<guint, std::pair<guint, gulong>> g_window_listeners;  // id: signal, hook

guint AddListener(GSignalEmissionHook listener, const gchar* event_type) {
    constexpr std::string_view kWindow = "window:";
    const std::string_view type = event_type ? event_type : "";
    if (type.substr(0, kWindow.size()) != kWindow)
        return g_atk_add_listener ? g_atk_add_listener(listener, event_type) : 0;
    if (!g_state) return 0;
    const std::string signal(type.substr(kWindow.size()));
    const guint signal_id = g_signal_lookup(signal.c_str(), g_state->api.atk_window_get_type());
    if (signal_id == 0) return 0;
    const gulong hook = g_signal_add_emission_hook(signal_id, 0, listener, g_strdup(event_type), g_free);
    const guint id = kWindowListener | static_cast<guint>(g_window_listeners.size() + 1);
    g_window_listeners[id] = {signal_id, hook};
    return id;
}

void RemoveListener(guint id) {
    if (!(id & kWindowListener)) {
        if (g_atk_remove_listener) g_atk_remove_listener(id);
        return;
    }
    const auto it = g_window_listeners.find(id);
    if (it == g_window_listeners.end()) return;
    g_signal_remove_emission_hook(it->second.first, it->second.second);
    g_window_listeners.erase(it);
}

AtkObject* Root() { return g_state && g_state->application ? g_state->application->object.get() : nullptr; }
const gchar* ToolkitName() { return "automenu"; }
const gchar* ToolkitVersion() { return "1"; }

}  // namespace

void AtspiBridge::State::Refresh(WindowId w, Frame& frame) {
    AtkObject* frame_object = frame.node->object.get();
    const std::string caption = host.AccessibleCaption(w);
    if (caption != frame.caption) {
        frame.caption = caption;
        g_object_notify(G_OBJECT(frame_object), "accessible-name");
    }
    const bool shown = host.AccessibleShown(w);
    if (shown != frame.shown) {
        frame.shown = shown;
        api.atk_object_notify_state_change(frame_object, ATK_STATE_VISIBLE, shown);
        api.atk_object_notify_state_change(frame_object, ATK_STATE_SHOWING, shown);
    }
    const bool active = shown && host.AccessibleActive(w);
    if (active != frame.active) {
        frame.active = active;
        api.atk_object_notify_state_change(frame_object, ATK_STATE_ACTIVE, active);
        g_signal_emit_by_name(frame_object, active ? "activate" : "deactivate");
    }
    std::vector<AccessibleItem> now = ItemsToTell(frame.content, active);
    const std::vector<AccessibleChange> changes = CompareAccessible(frame.seen, now);
    if (changes.empty()) {
        frame.seen = std::move(now);
        return;
    }
    using Kind = AccessibleChange::Kind;
    // Removals are told while the child is still in the list clients read.
    for (const AccessibleChange& c : changes) {
        if (c.kind != Kind::ChildRemoved) continue;
        g_signal_emit_by_name(frame_object, "children-changed::remove", static_cast<guint>(c.child),
                              ItemObject(frame, w, c.item));
        frame.seen[c.item].visible = false;
    }
    frame.seen = std::move(now);
    for (const AccessibleChange& c : changes) {
        AtkObject* object = ItemObject(frame, w, c.item);
        switch (c.kind) {
            case Kind::ChildRemoved:
                break;
            case Kind::ChildAdded:
                g_signal_emit_by_name(frame_object, "children-changed::add", static_cast<guint>(c.child), object);
                break;
            case Kind::NameChanged:
                g_object_notify(G_OBJECT(object), "accessible-name");
                break;
            case Kind::DescriptionChanged:
                g_object_notify(G_OBJECT(object), "accessible-description");
                break;
            case Kind::FocusLost:
                api.atk_object_notify_state_change(object, ATK_STATE_FOCUSED, FALSE);
                break;
            case Kind::FocusGained:
                api.atk_object_notify_state_change(object, ATK_STATE_FOCUSED, TRUE);
                break;
        }
    }
}

std::unique_ptr<AtspiBridge> AtspiBridge::Start(AtspiHost& host) {
    if (g_state) return nullptr;  // one tree per program
    auto state = std::make_unique<State>(host);
    if (!state->atk || !state->bridge) return nullptr;
    AtkApi& api = state->api;
    if (!state->atk.Bind(api.atk_object_get_type, "atk_object_get_type") ||
        !state->atk.Bind(api.atk_component_get_type, "atk_component_get_type") ||
        !state->atk.Bind(api.atk_action_get_type, "atk_action_get_type") ||
        !state->atk.Bind(api.atk_window_get_type, "atk_window_get_type") ||
        !state->atk.Bind(api.atk_util_get_type, "atk_util_get_type") ||
        !state->atk.Bind(api.atk_state_set_new, "atk_state_set_new") ||
        !state->atk.Bind(api.atk_state_set_add_state, "atk_state_set_add_state") ||
        !state->atk.Bind(api.atk_object_notify_state_change, "atk_object_notify_state_change") ||
        !state->bridge.Bind(api.atk_bridge_adaptor_init, "atk_bridge_adaptor_init") ||
        !state->bridge.Bind(api.atk_bridge_adaptor_cleanup, "atk_bridge_adaptor_cleanup"))
        return nullptr;
    state->application_type = RegisterType(api.atk_object_get_type(), "AutomenuAccessible", false, false, false, api);
    state->frame_type = RegisterType(state->application_type, "AutomenuAccessibleFrame", true, false, true, api);
    state->item_type = RegisterType(state->application_type, "AutomenuAccessibleItem", true, true, false, api);
    state->application = std::make_unique<Node>(NodeKind::Application, kNoWindow, 0, state->application_type);
    state->program_name = program_invocation_short_name;
    // ATK asks the toolkit for the root; this program is the toolkit here.
    auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(api.atk_util_get_type()));
    util->get_root = Root;
    util->get_toolkit_name = ToolkitName;
    util->get_toolkit_version = ToolkitVersion;
    if (util->add_global_event_listener != AddListener) {
        g_atk_add_listener = util->add_global_event_listener;
        g_atk_remove_listener = util->remove_global_event_listener;
        util->add_global_event_listener = AddListener;
        util->remove_global_event_listener = RemoveListener;
    }
    g_state = state.get();
    if (api.atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        g_state = nullptr;
        return nullptr;
    }
    state->bridge_started = true;
    return std::unique_ptr<AtspiBridge>(new AtspiBridge(std::move(state)));
}

AtspiBridge::AtspiBridge(std::unique_ptr<State> state) : m_state(std::move(state)) {}

AtspiBridge::~AtspiBridge() {
    // The bridge is told to go first (in the state's destructor); objects
    // clients still hold answer as defunct from then on.
    g_state = nullptr;
    m_state.reset();
}

void AtspiBridge::SetContent(WindowId w, const IAccessibleContent* content) {
    State& s = *m_state;
    AtkObject* application = s.application->object.get();
    if (State::Frame* frame = s.FrameOf(w)) {
        if (content) {
            frame->content = content;
            s.Refresh(w, *frame);
            return;
        }
        const gint index = NodeIndex(frame->node->object.get());
        AtkObject* object = frame->node->object.get();
        g_signal_emit_by_name(application, "children-changed::remove", static_cast<guint>(index), object);
        s.frames.erase(w);
        return;
    }
    if (!content) return;
    State::Frame& frame = s.frames[w];
    frame.content = content;
    frame.node = std::make_unique<Node>(NodeKind::Frame, w, 0, s.frame_type);
    frame.caption = s.host.AccessibleCaption(w);
    g_signal_emit_by_name(application, "children-changed::add", static_cast<guint>(NodeIndex(frame.node->object.get())),
                          frame.node->object.get());
    s.Refresh(w, frame);
}

void AtspiBridge::Update(WindowId w) {
    if (State::Frame* frame = m_state->FrameOf(w)) m_state->Refresh(w, *frame);
}

bool AtspiBridge::Dispatch() {
    // Clients read what is shown now.
    for (auto& [w, frame] : m_state->frames) m_state->Refresh(w, frame);
    // Bounded, so that a flood of requests cannot starve the window.
    int handled = 0;
    while (handled < 64 && g_main_context_iteration(nullptr, FALSE)) ++handled;
    return handled > 0;
}

}  // namespace automenu::platform

#endif  // AUTOMENU_ATSPI
