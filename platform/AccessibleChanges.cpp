#include "platform/AccessibleChanges.h"

#include <algorithm>

namespace automenu::platform {

namespace {

bool Shown(const std::vector<AccessibleItem>& items, std::size_t i) { return i < items.size() && items[i].visible; }

bool Focused(const std::vector<AccessibleItem>& items, std::size_t i) {
    return Shown(items, i) && items[i].focused;
}

}  // namespace

std::vector<std::size_t> ShownItems(const std::vector<AccessibleItem>& items) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].visible) shown.push_back(i);
    return shown;
}

std::optional<std::size_t> ChildIndex(const std::vector<AccessibleItem>& items, std::size_t item) {
    if (!Shown(items, item)) return std::nullopt;
    return static_cast<std::size_t>(
        std::count_if(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(item),
                      [](const AccessibleItem& i) { return i.visible; }));
}

std::vector<AccessibleChange> CompareAccessible(const std::vector<AccessibleItem>& before,
                                                const std::vector<AccessibleItem>& after) {
    using Kind = AccessibleChange::Kind;
    std::vector<AccessibleChange> changes;
    const std::size_t count = std::max(before.size(), after.size());
    for (std::size_t i = count; i-- > 0;)
        if (Shown(before, i) && !Shown(after, i)) changes.push_back({Kind::ChildRemoved, i, *ChildIndex(before, i)});
    for (std::size_t i = 0; i < count; ++i)
        if (!Shown(before, i) && Shown(after, i)) changes.push_back({Kind::ChildAdded, i, *ChildIndex(after, i)});
    for (std::size_t i = 0; i < count; ++i) {
        if (!Shown(before, i) || !Shown(after, i)) continue;
        if (before[i].name != after[i].name) changes.push_back({Kind::NameChanged, i, 0});
        if (before[i].description != after[i].description) changes.push_back({Kind::DescriptionChanged, i, 0});
    }
    for (std::size_t i = 0; i < count; ++i)
        if (Focused(before, i) && !Focused(after, i)) changes.push_back({Kind::FocusLost, i, 0});
    for (std::size_t i = 0; i < count; ++i)
        if (!Focused(before, i) && Focused(after, i)) changes.push_back({Kind::FocusGained, i, 0});
    return changes;
}

}  // namespace automenu::platform
