// What the menu tells assistive technology: one item per label in reading
// order, the notices of its changes, and activation as a click.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "menu/MenuTestSupport.h"

namespace automenu {
namespace {

using platform::AccessibleEvent;
using platform::AccessibleItem;
using platform::AccessibleRole;
using testing::AutorunText;
using Notice = platform::HeadlessPlatform::AccessibleNotice;

constexpr std::size_t kTitle = 0, kFirstLine = 1, kFirstEntry = 9, kExit = 17;

class AssistiveTechnologyTest : public testing::MenuTest {
public:
    std::vector<AccessibleItem> Items() { return desktop.AccessibleItems(Window()); }
    void Key(int key) {
        desktop.PressKey(Window(), key);
        desktop.ReleaseKey(Window(), key);
        Pump();
    }
    void Activate(std::size_t item) {
        desktop.ActivateAccessible(Window(), item);
        Pump();
    }
    // The notices of one kind since the last call.
    std::vector<std::size_t> Taken(AccessibleEvent event) {
        std::vector<std::size_t> items;
        for (const Notice& n : desktop.AccessibleNotices())
            if (n.event == event) items.push_back(n.item);
        return items;
    }
};

TEST_F(AssistiveTechnologyTest, EveryLabelIsAnItemInReadingOrder) {
    Start();
    const std::vector<AccessibleItem> items = Items();
    ASSERT_EQ(items.size(), 18u);
    const struct {
        std::size_t place;
        const TLabel* label;
        AccessibleRole role;
        const char* description;
        const char* action;
    } rows[] = {
        {kTitle, Form().TitleMessageLabel, AccessibleRole::StaticText, "", ""},
        {kFirstLine, Form().NormalMessageLabel(1), AccessibleRole::StaticText, "", ""},
        {kFirstLine + 7, Form().NormalMessageLabel(8), AccessibleRole::StaticText, "", ""},
        {kFirstEntry, &Entry(1), AccessibleRole::PushButton, "Press to install.", "Open"},
        {kFirstEntry + 6, &Entry(7), AccessibleRole::PushButton, "Press to open.", "Open"},
        {kFirstEntry + 7, &Entry(8), AccessibleRole::PushButton, "Press to install.", "Open"},
        {kExit, Form().ExitLabel, AccessibleRole::PushButton, "Press to exit.", "Close"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label->Name());
        const AccessibleItem& item = items[row.place];
        EXPECT_EQ(item.role, row.role);
        EXPECT_EQ(item.name, row.label->Caption());
        EXPECT_FALSE(item.name.empty());
        EXPECT_EQ(item.description, row.description);
        EXPECT_EQ(item.default_action, row.action);
        EXPECT_EQ(item.bounds, row.label->BoundsRect());
        EXPECT_TRUE(item.visible);
        EXPECT_EQ(item.focusable, row.role == AccessibleRole::PushButton);
        EXPECT_FALSE(item.focused);
    }
}

TEST_F(AssistiveTechnologyTest, HiddenLabelsKeepTheirPlaceAndSaySo) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::TitleUse, "NO");
    text.Set(KeyId::TextLineCount, "2");
    text.Set(KeyId::EntryCount, "3");
    text.Set(KeyId::ExitUse, "NO");
    Start(text);
    std::string shown;
    for (const AccessibleItem& item : Items()) shown += item.visible ? '+' : '-';
    EXPECT_EQ(shown, "-++------+++------");
}

TEST_F(AssistiveTechnologyTest, NamesAreTheCaptionsAsDrawn) {
    const struct {
        const char* caption;
        const char* name;
    } rows[] = {
        {"&Install", "Install"},
        {"Tools && drivers", "Tools & drivers"},
        {"Read &me&&", "Read me&"},
        {"Last&", "Last"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        Restart(AutorunText::Full().Set(KeyId::EntryCaption, 1, row.caption));
        EXPECT_EQ(Items()[kFirstEntry].name, row.name);
    }
}

TEST_F(AssistiveTechnologyTest, TheHighlightAndChangedCaptionsAreAnnounced) {
    Start();
    desktop.ClearAccessibleNotices();
    Key(platform::VK_TAB);
    EXPECT_EQ(Taken(AccessibleEvent::Focus), std::vector<std::size_t>{kFirstEntry});
    EXPECT_TRUE(Taken(AccessibleEvent::NameChange).empty()) << "a pass that finds the same captions";
    EXPECT_TRUE(Items()[kFirstEntry].focused);

    // A caption edited in the file is a new name at the next pass over it,
    // before the focus moves on.
    Write(AutorunText::Full().Set(KeyId::EntryCaption, 2, "Drivers"));
    desktop.ClearAccessibleNotices();
    Key(platform::VK_TAB);
    const std::vector<Notice> expected{{Window(), AccessibleEvent::NameChange, kFirstEntry + 1},
                                       {Window(), AccessibleEvent::Focus, kFirstEntry + 1}};
    std::vector<Notice> got;
    for (const Notice& n : desktop.AccessibleNotices())
        if (n.event == AccessibleEvent::NameChange || n.event == AccessibleEvent::Focus) got.push_back(n);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(Items()[kFirstEntry + 1].name, "Drivers");

    // The mouse moves the highlight too; a pass hiding entries says so.
    Write(AutorunText::Full().Set(KeyId::EntryCount, "1"));
    desktop.ClearAccessibleNotices();
    MoveOver(*Form().ExitLabel);
    EXPECT_EQ(Taken(AccessibleEvent::Focus), std::vector<std::size_t>{kExit});
    MoveTo({600, 100});
    EXPECT_EQ(Taken(AccessibleEvent::Hide),
              (std::vector<std::size_t>{kFirstEntry + 1, kFirstEntry + 2, kFirstEntry + 3, kFirstEntry + 4,
                                        kFirstEntry + 5, kFirstEntry + 6, kFirstEntry + 7}));
}

TEST_F(AssistiveTechnologyTest, ActivationDoesWhatAClickDoes) {
    Start();
    Click(Entry(2));
    ASSERT_EQ(desktop.ShellOpens().size(), 1u);
    const std::string clicked = desktop.ShellOpens().back();
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;
        std::size_t item;
        std::size_t opens;
        bool closes;
    } rows[] = {
        {"entry 2", [](AutorunText&) {}, kFirstEntry + 1, 1, false},
        {"the exit entry", [](AutorunText&) {}, kExit, 0, true},
        {"a text line", [](AutorunText&) {}, kFirstLine, 0, false},
        {"a hidden entry", [](AutorunText& t) { t.Set(KeyId::EntryCount, "1"); }, kFirstEntry + 1, 0, false},
        {"no such item", [](AutorunText&) {}, 18, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AutorunText text = AutorunText::Full();
        row.edit(text);
        Restart(text);
        const std::size_t before = desktop.ShellOpens().size();
        Activate(row.item);
        ASSERT_EQ(desktop.ShellOpens().size() - before, row.opens);
        if (row.opens) {
            EXPECT_EQ(desktop.ShellOpens().back(), clicked);
        }
        EXPECT_EQ(app->Terminated(), row.closes);
    }
}

}  // namespace
}  // namespace automenu
