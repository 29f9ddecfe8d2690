#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/ValueRules.h"
#include "menu/MenuTestSupport.h"

namespace automenu {
namespace {

using testing::AutorunText;
using testing::LookupRecorder;
using platform::MK_SHIFT;

// The full file: entries normal in blue, the exit entry in black, every
// hover look red and bold.
class KeyboardTest : public testing::ScriptedMenuTest {
public:
    static constexpr TPoint kBackground{600, 100};

    TControl& Member(int i) { return i < 8 ? static_cast<TControl&>(Entry(i + 1)) : *Form().ExitLabel; }

    // One letter per entry, then the exit entry: '-' hidden, 'n' normal,
    // 'h' hover; the highlighted one in capitals.
    std::string States() override {
        std::string s;
        for (int i = 0; i < 9; ++i) {
            const auto& l = static_cast<const TLabel&>(Member(i));
            char c = !l.Visible() ? '-' : (l.Font().Color() == *ColourFromName("clRed")) ? 'h' : 'n';
            if (Form().FocusedControl() == &l) c = static_cast<char>(std::toupper(c));
            s += c;
        }
        return s;
    }

    void Key(int key, unsigned keys = 0) {
        desktop.PressKey(Window(), key, keys);
        desktop.ReleaseKey(Window(), key, keys);
        Pump();
    }
    void Do(const std::string& event) override {
        if (event == "tab") return Key(platform::VK_TAB);
        if (event == "s-tab") return Key(platform::VK_TAB, MK_SHIFT);
        if (event == "down") return Key(platform::VK_DOWN);
        if (event == "right") return Key(platform::VK_RIGHT);
        if (event == "up") return Key(platform::VK_UP);
        if (event == "left") return Key(platform::VK_LEFT);
        if (event == "home") return Key(platform::VK_HOME);
        if (event == "end") return Key(platform::VK_END);
        if (event == "bg") return MoveTo(kBackground);
        if (event == "exit") return MoveOver(*Form().ExitLabel);
        ASSERT_EQ(event.front(), 'e') << event;
        MoveOver(Entry(event.back() - '0'));
    }
};

TEST_F(KeyboardTest, KeysMoveOneHoverLookRoundTheShownEntries) {
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;
        std::vector<Step> steps;
    } scripts[] = {
        {"forward, and round", [](AutorunText&) {}, {
             {"tab", "Hnnnnnnnn"},
             {"tab", "nHnnnnnnn"},
             {"down", "nnHnnnnnn"},
             {"right", "nnnHnnnnn"},
             {"end", "nnnnnnnnH"},
             {"tab", "Hnnnnnnnn"},
         }},
        {"backward, and round", [](AutorunText&) {}, {
             {"s-tab", "nnnnnnnnH"},
             {"up", "nnnnnnnHn"},
             {"left", "nnnnnnHnn"},
             {"home", "Hnnnnnnnn"},
             {"s-tab", "nnnnnnnnH"},
         }},
        {"hidden entries and no exit entry", [](AutorunText& t) {
             t.Set(KeyId::EntryCount, "3");
             t.Set(KeyId::ExitUse, "NO");
         }, {
             {"tab", "Hnn------"},
             {"end", "nnH------"},
             {"tab", "Hnn------"},
             {"up", "nnH------"},
         }},
        {"the highlight follows the mouse, and the mouse the highlight", [](AutorunText&) {}, {
             {"tab", "Hnnnnnnnn"},
             {"e5", "hnnnHnnnn"},   // the mouse's own pass: the first keeps its look, as with the mouse
             {"tab", "nnnnnHnnn"},  // from where the mouse was, with one hover look
             {"bg", "nnnnnNnnn"},   // the background: normal looks, the highlight stays
             {"exit", "nnnnnnnnH"},
             {"home", "Hnnnnnnnn"},
         }},
    };
    for (const auto& s : scripts) {
        SCOPED_TRACE(s.name);
        AutorunText text = AutorunText::Full();
        s.edit(text);
        Restart(text);
        Play(s.steps);
    }
}

TEST_F(KeyboardTest, PassesThatHideTheHighlightedEntryHandItOn) {
    const struct {
        const char* name;
        std::vector<Step> before;
        std::function<void(AutorunText&)> edit;  // after the steps before
        std::vector<Step> after;
    } scripts[] = {
        {"a key move's background pass", {{"tab", "Hnnnnnnnn"}, {"tab", "nHnnnnnnn"}},
         [](AutorunText& t) { t.Set(KeyId::EntryCount, "1"); },
         {{"tab", "n-------H"}, {"s-tab", "H-------n"}}},
        {"backwards, from a hidden entry", {{"end", "nnnnnnnnH"}, {"up", "nnnnnnnHn"}},
         [](AutorunText& t) { t.Set(KeyId::EntryCount, "5"); },
         {{"up", "nnnnH---n"}}},
        {"the mouse's background pass: no hover look of its own", {{"tab", "Hnnnnnnnn"}, {"end", "nnnnnnnnH"},
                                                                    {"home", "Hnnnnnnnn"}, {"down", "nHnnnnnnn"},
                                                                    {"down", "nnHnnnnnn"}},
         [](AutorunText& t) { t.Set(KeyId::EntryCount, "2"); },
         {{"bg", "nn------N"}, {"tab", "Hn------n"}}},
        {"the mouse's pass over the entry itself", {{"tab", "Hnnnnnnnn"}, {"tab", "nHnnnnnnn"}},
         [](AutorunText& t) { t.Set(KeyId::EntryCount, "1"); },
         {{"e2", "n-Nnnnnnn"}}},
        {"the exit entry's own pass, after the last", {{"end", "nnnnnnnnH"}},
         [](AutorunText& t) { t.Set(KeyId::ExitUse, "NO"); },
         {{"exit", "Nnnnnnnn-"}}},
    };
    for (const auto& s : scripts) {
        SCOPED_TRACE(s.name);
        Restart();
        Play(s.before);
        AutorunText text = AutorunText::Full();
        s.edit(text);
        Write(text);
        Play(s.after);
    }
}

TEST_F(KeyboardTest, WithNothingShownKeysDoNothing) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::EntryCount, "0");
    text.Set(KeyId::ExitUse, "NO");
    Start(text);
    text.Set(KeyId::EntryCount, "8");  // only a background pass would show them again
    Write(text);
    LookupRecorder recorder;
    for (const char* event : {"tab", "s-tab", "home", "end", "down"}) Do(event);
    Key(platform::VK_RETURN);
    Key(platform::VK_SPACE);
    EXPECT_TRUE(recorder.seen.empty()) << "no pass runs";
    EXPECT_EQ(States(), "---------");
    EXPECT_TRUE(desktop.ShellOpens().empty());
}

TEST_F(KeyboardTest, ReturnAndSpaceOpenAsAClickDoes) {
    using Script = std::function<void(KeyboardTest&)>;
    const Script on_entry_2 = [](KeyboardTest& t) {
        t.Do("tab");
        t.Do("tab");
    };
    const struct {
        const char* name;
        Script script;
        int opens;
    } cases[] = {
        {"click", [](KeyboardTest& t) { t.Click(t.Entry(2)); }, 1},
        {"Return", [&](KeyboardTest& t) {
             on_entry_2(t);
             t.desktop.PressKey(t.Window(), platform::VK_RETURN);  // on the press
             t.Pump();
         }, 1},
        {"Space", [&](KeyboardTest& t) {
             on_entry_2(t);
             const std::size_t opens_before_space = t.desktop.ShellOpens().size();
             t.desktop.PressKey(t.Window(), platform::VK_SPACE);
             t.Pump();
             EXPECT_EQ(t.desktop.ShellOpens().size(), opens_before_space) << "not on the press";
             t.desktop.ReleaseKey(t.Window(), platform::VK_SPACE);
             t.Pump();
         }, 1},
        {"Space released after the highlight moved", [&](KeyboardTest& t) {
             on_entry_2(t);
             t.desktop.PressKey(t.Window(), platform::VK_SPACE);
             t.Key(platform::VK_TAB);
             t.desktop.ReleaseKey(t.Window(), platform::VK_SPACE);
             t.Pump();
         }, 0},
        {"Space released without a press", [&](KeyboardTest& t) {
             on_entry_2(t);
             t.desktop.ReleaseKey(t.Window(), platform::VK_SPACE);
             t.Pump();
         }, 0},
        {"Return with nothing highlighted", [](KeyboardTest& t) { t.Key(platform::VK_RETURN); }, 0},
        {"Return after the mouse moved over the entry", [](KeyboardTest& t) {
             t.Do("e2");
             t.Key(platform::VK_RETURN);
         }, 1},
    };
    std::string target;
    for (const auto& c : cases) {
        Restart();
        const std::size_t before = desktop.ShellOpens().size();
        c.script(*this);
        Pump();
        ASSERT_EQ(desktop.ShellOpens().size() - before, static_cast<std::size_t>(c.opens)) << c.name;
        if (c.opens == 0) continue;
        if (target.empty()) target = desktop.ShellOpens().back();
        EXPECT_EQ(desktop.ShellOpens().back(), target) << c.name << ": entry 2's target, as a click opens it";
    }
    EXPECT_NE(target.find("install.exe"), std::string::npos) << target;

    for (int key : {platform::VK_RETURN, platform::VK_SPACE}) {
        Restart();
        Do("end");
        Key(key);
        EXPECT_TRUE(app->Terminated()) << key << " on the exit entry closes the menu";
    }
}

TEST_F(KeyboardTest, TheFocusCueAppearsOnlyOnceAKeyIsPressed) {
    // What the mouse alone shows: entry 1 in its hover look, no cue.
    Start();
    MoveOver(Entry(1));
    Click(Entry(3));
    MoveOver(Entry(1));
    EXPECT_FALSE(Form().FocusCuesShown());
    const TRect r = Entry(1).BoundsRect();
    auto pixels = [&] {
        std::vector<Rgb> p;
        for (int y = r.top - 1; y <= r.bottom; ++y)
            for (int x = r.left - 1; x <= r.right; ++x) p.push_back(desktop.Pixel(Window(), x, y));
        return p;
    };
    const std::vector<Rgb> by_mouse = pixels();

    Restart();
    Do("tab");
    ASSERT_EQ(States(), "Hnnnnnnnn");
    ASSERT_EQ(Entry(1).BoundsRect(), r);
    const std::vector<Rgb> by_key = pixels();
    std::size_t i = 0;
    int inverted = 0;
    for (int y = r.top - 1; y <= r.bottom; ++y) {
        for (int x = r.left - 1; x <= r.right; ++x, ++i) {
            const bool border = x >= r.left && x < r.right && y >= r.top && y < r.bottom &&
                                (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
            const Rgb m = by_mouse[i];
            const Rgb expected = border && (x + y) % 2 == 0
                                     ? Rgb{static_cast<std::uint8_t>(255 - m.r), static_cast<std::uint8_t>(255 - m.g),
                                           static_cast<std::uint8_t>(255 - m.b)}
                                     : m;
            EXPECT_EQ(by_key[i], expected) << x << "," << y;
            inverted += by_key[i] != m;
        }
    }
    EXPECT_GT(inverted, r.Width()) << "a dotted rectangle around the entry";

    // The cue moves with the highlight and leaves nothing behind.
    Do("tab");
    const std::vector<Rgb> after = pixels();
    Restart();
    MoveOver(Entry(2));
    MoveTo(kBackground);
    EXPECT_EQ(after, pixels()) << "entry 1 as the mouse leaves it";
}

}  // namespace
}  // namespace automenu
