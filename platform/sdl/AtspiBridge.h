// The accessibility tree of the Linux desktop (AT-SPI, which screen readers
// such as Orca read) for windows whose controls have no windows of their
// own: through ATK and its AT-SPI bridge, the program appears as an
// application with one frame per window that has accessible content
// (IAccessibleContent), whose children are the window's shown items.
//
// Neither library is linked: both are loaded when an accessibility bus
// runs, and without one (or without them) nothing is loaded or started.
// The bridge answers its clients from GLib's main context, which the back
// end runs from its own loop (Dispatch).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "base/Types.h"
#include "platform/Accessibility.h"
#include "platform/Platform.h"

namespace automenu::platform {

// What the bridge asks the back end of a window.
class AtspiHost {
public:
    virtual ~AtspiHost() = default;
    virtual std::string AccessibleCaption(WindowId w) = 0;
    virtual bool AccessibleShown(WindowId w) = 0;
    // Whether the window has the keyboard focus.
    virtual bool AccessibleActive(WindowId w) = 0;
    // Where a part of the client area (design units; none: all of it) is on
    // the screen, in the screen's pixels.
    virtual TRect AccessibleScreenRect(WindowId w, std::optional<TRect> client) = 0;
    // A client activated item `item`, as a click would.
    virtual void AccessibleActivate(WindowId w, std::size_t item) = 0;
};

// Whether a client could be listening: the user's session has an
// accessibility bus (or names one), and has not turned the bridge off
// (NO_AT_BRIDGE=1, as GTK honours). Starts nothing to find out.
bool AccessibilityBusRunning();

class AtspiBridge {
public:
    // Null when ATK or its bridge cannot be loaded or cannot reach the bus.
    static std::unique_ptr<AtspiBridge> Start(AtspiHost& host);
    ~AtspiBridge();
    AtspiBridge(const AtspiBridge&) = delete;
    AtspiBridge& operator=(const AtspiBridge&) = delete;

    // The window's content (null: none, or the window goes). It must stay
    // alive while it is set.
    void SetContent(WindowId w, const IAccessibleContent* content);
    // Something of the window may have changed (its items, caption, focus,
    // visibility): clients are told what did.
    void Update(WindowId w);
    // Answers what clients asked meanwhile, without waiting. True when
    // there was something to answer.
    bool Dispatch();

    struct State;  // in AtspiBridge.cpp

private:
    explicit AtspiBridge(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

}  // namespace automenu::platform
