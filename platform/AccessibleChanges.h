// What a client of a window's accessible content must be told when the
// content changes, for systems whose clients see only the shown items as
// children (AT-SPI) and learn of every change by an event that names the
// child by its place among them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/Accessibility.h"

namespace automenu::platform {

// The places of the shown items, in reading order: child i is item
// ShownItems(items)[i].
std::vector<std::size_t> ShownItems(const std::vector<AccessibleItem>& items);
// Item `item`'s place among the shown ones; none when it is hidden or unknown.
std::optional<std::size_t> ChildIndex(const std::vector<AccessibleItem>& items, std::size_t item);

struct AccessibleChange {
    enum class Kind {
        ChildRemoved,  // `child` is its place before the change
        ChildAdded,    // `child` is its place after the change
        NameChanged,
        DescriptionChanged,
        FocusLost,
        FocusGained,
    };
    Kind kind = Kind::NameChanged;
    std::size_t item = 0;
    std::size_t child = 0;  // only for removals and additions
    bool operator==(const AccessibleChange&) const = default;
};

// The changes from `before` to `after` (the same window's items, so the same
// places), in the order to tell them: removals from the last child back, so
// each place still holds; then additions from the first on; then the texts
// of shown items; then the focus, leaving before arriving. Items that appear
// or go are not told of a text change too: a client reads them anew.
std::vector<AccessibleChange> CompareAccessible(const std::vector<AccessibleItem>& before,
                                                const std::vector<AccessibleItem>& after);

}  // namespace automenu::platform
