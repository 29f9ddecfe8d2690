// What a window shows to assistive technology (screen readers, voice control,
// switch access) when its controls have no windows of their own: one item per
// control, in the system's neutral terms. The back end answers its system's
// accessibility interface from it and passes the window's changes on.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/Types.h"

namespace automenu::platform {

enum class AccessibleRole {
    StaticText,  // text that is only read
    PushButton,  // something that does one thing when activated
};

struct AccessibleItem {
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;            // the text as it is shown
    std::string description;     // what activating it does, in a sentence (the hint); may be empty
    std::string default_action;  // the verb of activating it ("Open"); empty: it has none
    TRect bounds;                // client coordinates
    bool visible = false;
    bool focusable = false;
    bool focused = false;  // the item the keys work on (whether the window has the focus is the system's to say)
};

// A window's items, asked for each time a client asks. Every item keeps its
// place for the window's life, shown or not, so that a place names an item:
// the items are in reading order, and hidden ones say so.
class IAccessibleContent {
public:
    virtual ~IAccessibleContent() = default;
    virtual std::vector<AccessibleItem> AccessibleItems() const = 0;
};

// Changes of one item, which clients are told of.
enum class AccessibleEvent {
    Focus,       // it became the item the keys work on
    NameChange,  // its text changed
    Show,
    Hide,
    Location,  // it moved or changed size
};

}  // namespace automenu::platform
