#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/AccessibleChanges.h"

namespace automenu::platform {
namespace {

// One letter per item: '-' hidden, 'a'..'z' shown with that name, upper case
// shown and focused.
std::vector<AccessibleItem> Items(const std::string& letters) {
    std::vector<AccessibleItem> items;
    for (char c : letters) {
        AccessibleItem& item = items.emplace_back();
        item.visible = c != '-';
        item.focused = c >= 'A' && c <= 'Z';
        item.name = std::string(1, static_cast<char>(item.focused ? c - 'A' + 'a' : c));
    }
    return items;
}

TEST(AccessibleChangesTest, ChildrenAreTheShownItemsInOrder) {
    const struct {
        const char* items;
        std::vector<std::size_t> shown;
        std::vector<std::optional<std::size_t>> child_of;
    } cases[] = {
        {"", {}, {}},
        {"abc", {0, 1, 2}, {0, 1, 2}},
        {"-b-d", {1, 3}, {std::nullopt, 0, std::nullopt, 1}},
        {"---", {}, {std::nullopt, std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases) {
        const auto items = Items(c.items);
        EXPECT_EQ(ShownItems(items), c.shown) << c.items;
        for (std::size_t i = 0; i < c.child_of.size(); ++i) EXPECT_EQ(ChildIndex(items, i), c.child_of[i]) << c.items;
        EXPECT_EQ(ChildIndex(items, items.size()), std::nullopt) << c.items;
    }
}

TEST(AccessibleChangesTest, ChangesAreToldInAnOrderWhosePlacesHold) {
    using K = AccessibleChange::Kind;
    const struct {
        const char* name;
        const char* before;
        const char* after;
        std::vector<AccessibleChange> changes;
    } cases[] = {
        {"nothing", "abc", "abc", {}},
        {"a caption changes", "abc", "axc", {{K::NameChanged, 1, 0}}},
        {"a hidden caption changes unseen", "a-c", "a-c", {}},
        {"two go: the later first", "abcd", "a-c-", {{K::ChildRemoved, 3, 3}, {K::ChildRemoved, 1, 1}}},
        {"two come: the earlier first", "-b-d", "abcd", {{K::ChildAdded, 0, 0}, {K::ChildAdded, 2, 2}}},
        {"one goes, one comes", "ab-d", "a-cd", {{K::ChildRemoved, 1, 1}, {K::ChildAdded, 2, 1}}},
        {"a new item shown is not renamed too", "a-", "ab", {{K::ChildAdded, 1, 1}}},
        {"focus moves", "Abc", "aBc", {{K::FocusLost, 0, 0}, {K::FocusGained, 1, 0}}},
        {"the focused item is hidden", "aBc", "a-c", {{K::ChildRemoved, 1, 1}, {K::FocusLost, 1, 0}}},
        {"renamed while focused", "aBc", "aXc", {{K::NameChanged, 1, 0}}},
        {"items appear at first", "", "aB", {{K::ChildAdded, 0, 0}, {K::ChildAdded, 1, 1}, {K::FocusGained, 1, 0}}},
        {"the window's items go", "aB", "", {{K::ChildRemoved, 1, 1}, {K::ChildRemoved, 0, 0}, {K::FocusLost, 1, 0}}},
    };
    for (const auto& c : cases) EXPECT_EQ(CompareAccessible(Items(c.before), Items(c.after)), c.changes) << c.name;
}

TEST(AccessibleChangesTest, ADescriptionChangeIsToldApart) {
    auto before = Items("ab");
    auto after = before;
    after[1].description = "Opens the setup.";
    EXPECT_EQ(CompareAccessible(before, after),
              (std::vector<AccessibleChange>{{AccessibleChange::Kind::DescriptionChanged, 1, 0}}));
}

}  // namespace
}  // namespace automenu::platform
