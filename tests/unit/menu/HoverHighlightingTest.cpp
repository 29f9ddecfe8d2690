#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config/ValueRules.h"
#include "menu/MenuTestSupport.h"

namespace automenu {
namespace {

using testing::AutorunText;
using testing::LookupRecorder;
using testing::Lookups;

using testing::Font;
using testing::LookupOf;

TColor Colour(const char* name) { return *ColourFromName(name); }

// The full file's looks: normal is blue (black for the exit entry) and not
// bold, hover is red and bold.
class HoverTest : public testing::ScriptedMenuTest {
public:
    // The background picture covers the upper part of the window only, so
    // that the entries lie on the bare window.
    static AutorunText File() {
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::BackgroundHeight, "250");
        return text;
    }
    static constexpr TPoint kBackground{600, 100};
    static constexpr TPoint kBareWindow{300, 440};

    // One letter per entry, then the exit entry: '-' hidden, 'n' normal,
    // 'h' hover, '?' anything else.
    std::string States() override {
        std::string s;
        auto look = [](const TLabel& l, const char* normal) {
            if (!l.Visible()) return '-';
            const bool bold = l.Font().Style() & fsBold;
            if (l.Font().Color() == Colour("clRed") && bold) return 'h';
            if (l.Font().Color() == Colour(normal) && !bold) return 'n';
            return '?';
        };
        for (int n = 1; n <= 8; ++n) s += look(Entry(n), "clBlue");
        s += look(*Form().ExitLabel, "clBlack");
        return s;
    }

    void Do(const std::string& event) override {
        const auto number = [&] { return event.back() - '0'; };
        if (event == "bg") return MoveTo(kBackground);
        if (event == "bare") return MoveTo(kBareWindow);
        if (event == "out") return MoveTo({-30, -30});
        if (event == "exit") return MoveOver(*Form().ExitLabel);
        if (event == "title") return MoveOver(*Form().TitleMessageLabel);
        if (event == "line1") return MoveOver(*Form().NormalMessageLabel1);
        if (event.starts_with("click")) return Click(Entry(number()));
        if (event.starts_with("press")) {
            const TPoint p = Inside(Entry(number()));
            desktop.PressLeft(Window(), p.x, p.y);
            return Pump();
        }
        if (event == "release-bg") {
            desktop.ReleaseLeft(Window(), kBackground.x, kBackground.y);
            return Pump();
        }
        ASSERT_EQ(event.front(), 'e') << event;
        MoveOver(Entry(number()));
    }

};

TEST_F(HoverTest, EachHandlerMakesItsLookupsWithItsOwnReader) {
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;  // after start-up
        const char* event;
        Lookups expected;
    } cases[] = {
        {"entry 3", [](AutorunText&) {}, "e3", [] {
             Lookups l;
             testing::AddEntryRefresh(l, 3, Font::Second, 8);
             return l;
         }()},
        {"entry 3 beyond the count", [](AutorunText& t) { t.Set(KeyId::EntryCount, "2"); }, "e3",
         {LookupOf(KeyId::EntryCount)}},
        {"exit entry", [](AutorunText&) {}, "exit", [] {
             Lookups l;
             testing::AddExitRefresh(l, Font::Second, true);
             return l;
         }()},
        {"exit entry switched off", [](AutorunText& t) { t.Set(KeyId::ExitUse, "NO"); },
         "exit", {LookupOf(KeyId::ExitUse)}},
        {"background", [](AutorunText&) {}, "bg", testing::BackgroundLookups(8, true)},
        {"background, count 3", [](AutorunText& t) { t.Set(KeyId::EntryCount, "3"); }, "bg",
         testing::BackgroundLookups(3, true)},
        {"background, nothing shown", [](AutorunText& t) {
             t.Set(KeyId::EntryCount, "0");
             t.Remove(KeyId::ExitUse);
         }, "bg", testing::BackgroundLookups(0, false)},
    };
    for (const auto& c : cases) {
        Restart(File());
        AutorunText text = File();
        c.edit(text);
        Write(text);
        LookupRecorder recorder;
        Do(c.event);
        EXPECT_EQ(recorder.seen, c.expected) << c.name;
    }
    EXPECT_EQ(testing::BackgroundLookups(8, true).size(), 90u);
}

TEST_F(HoverTest, EntriesFollowTheStateTable) {
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;
        std::vector<Step> steps;
    } scripts[] = {
        {"with a background picture", [](AutorunText&) {}, {
             {"e3", "nnhnnnnnn"},
             {"e3", "nnhnnnnnn"},          // further moves keep it in hover
             {"title", "nnhnnnnnn"},       // the title, a text line, the bare window
             {"line1", "nnhnnnnnn"},       // and outside the window change nothing
             {"bare", "nnhnnnnnn"},
             {"out", "nnhnnnnnn"},
             {"bg", "nnnnnnnnn"},
             {"e2", "nhnnnnnnn"},
             {"e3", "nhhnnnnnn"},          // no background move between: both in hover
             {"exit", "nhhnnnnnh"},        // the exit entry resets no entry
             {"e8", "nhhnnnnhh"},          // and an entry no exit entry
             {"click5", "nhhnnnnhh"},
             {"bg", "nnnnnnnnn"},
             {"press4", "nnnnnnnnn"},
             {"bg", "nnnhnnnnn"},          // captured: the move goes to entry 4
             {"release-bg", "nnnhnnnnn"},
             {"bg", "nnnnnnnnn"},
         }},
        {"entry count 5, no exit entry", [](AutorunText& t) {
             t.Set(KeyId::EntryCount, "5");
             t.Set(KeyId::ExitUse, "no");
         }, {
             {"e5", "nnnnh----"},
             {"bg", "nnnnn----"},
         }},
        {"no background picture", [](AutorunText& t) {
             t.Set(KeyId::BackgroundUse, "NO");
         }, {
             {"e1", "hnnnnnnnn"},
             {"bg", "hnnnnnnnn"},  // bare window where the picture would be
             {"exit", "hnnnnnnnh"},
             {"e6", "hnnnnhnnh"},
             {"bare", "hnnnnhnnh"},
         }},
    };
    for (const auto& s : scripts) {
        SCOPED_TRACE(s.name);
        AutorunText text = File();
        s.edit(text);
        Restart(text);
        Play(s.steps);
    }
    EXPECT_TRUE(desktop.Boxes().empty());
    EXPECT_TRUE(desktop.ShellOpens().size() == 1) << "only the click launched";
}

TEST_F(HoverTest, EditsTakeEffectAtTheNextMoveOverTheControl) {
    AutorunText text = File();
    text.Set(KeyId::EntryCount, "5");
    Restart(text);
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;
        Step step;
    } steps[] = {
        {"start", [](AutorunText&) {}, {"bg", "nnnnn---n"}},
        {"count 5 -> 2", [](AutorunText& t) { t.Set(KeyId::EntryCount, "2"); }, {"e3", "nn-nn---n"}},
        {"", [](AutorunText&) {}, {"e1", "hn-nn---n"}},
        {"", [](AutorunText&) {}, {"bg", "nn------n"}},
        {"count 2 -> 4", [](AutorunText& t) { t.Set(KeyId::EntryCount, "4"); }, {"bg", "nnnn----n"}},
        {"exit off", [](AutorunText& t) { t.Set(KeyId::ExitUse, "NO"); },
         {"exit", "nnnn-----"}},
        {"exit on", [](AutorunText& t) { t.Set(KeyId::ExitUse, "YES"); },
         {"bg", "nnnn----n"}},
    };
    for (const auto& s : steps) {
        s.edit(text);
        Write(text);
        Do(s.step.event);
        EXPECT_EQ(States(), s.step.states) << s.name << " then " << s.step.event;
    }

    // A caption and a colour edited: the hover applies them as read.
    text.Set(KeyId::EntryCaption, 2, "Install the new engine");
    text.Set(KeyId::EntrySecondFontColor, 2, "clLime");
    Write(text);
    MoveOver(Entry(2));
    EXPECT_EQ(Entry(2).Caption(), "Install the new engine");
    EXPECT_EQ(Entry(2).Font().Color(), Colour("clLime"));

    // The file deleted: the next background move hides everything.
    folder.Remove("AUTORUN.INF");
    MoveTo(kBackground);
    EXPECT_EQ(States(), "---------");
    EXPECT_TRUE(desktop.Boxes().empty());
}

TEST_F(HoverTest, AGoneDirectoryReadsAsZeroEverywhere) {
    Restart(File());
    MoveOver(Entry(4));
    ASSERT_EQ(States(), "nnnhnnnnn");
    std::filesystem::remove_all(folder.Path());  // the medium is gone
    LookupRecorder recorder;
    Do("e4");
    EXPECT_EQ(States(), "nnn-nnnnn");
    Do("exit");
    EXPECT_EQ(States(), "nnn-nnnn-");
    Do("bg");
    EXPECT_EQ(States(), "---------");
    EXPECT_EQ(recorder.seen.size(), 1u + 1u + 9u);
    EXPECT_TRUE(desktop.Boxes().empty());
}

// An error ends the event at its step: what was set stays set, the rest of
// the event is skipped, and every further move shows the error again.
TEST_F(HoverTest, AnErrorInEntryKLeavesTheRestOfTheEventUntouched) {
    Restart(File());
    Play({{"e5", "nnnnhnnnn"}, {"exit", "nnnnhnnnh"}, {"e1", "hnnnhnnnh"}});
    AutorunText text = File();
    text.Set(KeyId::EntryCaption, 3, "Edited");
    text.Set(KeyId::EntryTop, 3, "abc");
    Write(text);
    const int top = Entry(3).Top();
    for (int move = 1; move <= 2; ++move) {
        LookupRecorder recorder;
        Do("bg");
        EXPECT_EQ(recorder.seen, testing::PrefixThrough(testing::BackgroundLookups(8, true), KeyId::EntryTop, 3));
        EXPECT_EQ(States(), "nnnnhnnnh") << "entries 4 to 8 and the exit entry keep their looks";
        EXPECT_EQ(Entry(3).Caption(), "Edited");
        EXPECT_EQ(Entry(3).Top(), top);
        ASSERT_EQ(desktop.Boxes().size(), static_cast<std::size_t>(move));
        EXPECT_EQ(desktop.Boxes().back().caption, "Automenu");
        EXPECT_EQ(desktop.Boxes().back().text, "'abc' is not a valid integer value.");
    }
    // The menu goes on.
    Do("e7");
    EXPECT_EQ(States(), "nnnnhnhnh");
}

TEST_F(HoverTest, ABadHoverSizeFailsAtEveryHoverButNotAtStartUp) {
    AutorunText text = File();
    text.Set(KeyId::EntrySecondFontSize, 2, "big");
    Restart(text);
    EXPECT_TRUE(desktop.Boxes().empty());
    for (int move = 1; move <= 3; ++move) {
        Do("e2");
        ASSERT_EQ(desktop.Boxes().size(), static_cast<std::size_t>(move));
        EXPECT_EQ(desktop.Boxes().back().text, "'big' is not a valid integer value.");
    }
    EXPECT_EQ(Entry(2).Font().Color(), Colour("clRed")) << "the steps before the size were applied";
    EXPECT_EQ(Entry(2).Font().Size(), 11);
    Do("bg");
    EXPECT_EQ(States(), "nnnnnnnnn");
    EXPECT_EQ(desktop.Boxes().size(), 3u);
}

TEST_F(HoverTest, AnUnknownNormalColourKeepsTheHoverColour) {
    AutorunText text = File();
    text.Set(KeyId::EntryFirstFontColor, 4, "clblue");
    Restart(text);
    const TColor before = Entry(4).Font().Color();
    Do("e4");
    Do("bg");
    EXPECT_EQ(Entry(4).Font().Color(), Colour("clRed"));
    EXPECT_NE(before, Colour("clRed"));
    EXPECT_FALSE(Entry(4).Font().Style() & fsBold) << "the style is cleared all the same";
}

TEST_F(HoverTest, AMoveThatChangesNothingRepaintsNothing) {
    Restart(File());
    const struct {
        const char* event;
        bool repaints;
    } steps[] = {
        {"e3", true}, {"e3", false}, {"bare", false}, {"bg", true}, {"bg", false},
        {"exit", true}, {"exit", false}, {"title", false},
    };
    for (const auto& s : steps) {
        const int before = desktop.InvalidateCount();
        Do(s.event);
        EXPECT_EQ(desktop.InvalidateCount() > before, s.repaints) << s.event;
    }
}

}  // namespace
}  // namespace automenu
