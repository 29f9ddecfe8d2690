#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "menu/MenuTestSupport.h"

namespace automenu {
namespace {

using testing::AutorunText;
using Opens = std::vector<std::string>;

class LaunchingTest : public testing::MenuTest {
public:
    LaunchingTest() {
        // The full file's targets, present on disk under the case a disc
        // mounted on Linux often shows.
        std::filesystem::create_directories(folder.File("setup"));
        std::filesystem::create_directories(folder.File("DOCS"));
        folder.Write("setup/setup.exe", "");
        folder.Write("DOCS/SETUP.EXE", "");
        folder.Write("readme.txt", "");
    }
    TPoint Background() { return {600, 440}; }
    Opens TakeOpens() {
        Pump();
        return desktop.ShellOpens();
    }
};

TEST_F(LaunchingTest, ClicksOpenTheStoredTargetAsTheRulesOfTheMouseSay) {
    const struct {
        const char* name;
        std::function<void(LaunchingTest&)> script;
        int launches;
    } cases[] = {
        {"one click", [](LaunchingTest& t) { t.Click(t.Entry(1)); }, 1},
        {"two clicks further apart than a double click", [](LaunchingTest& t) {
             t.Click(t.Entry(1));
             t.desktop.AdvanceTime(500);
             t.Click(t.Entry(1));
         }, 2},
        {"double click", [](LaunchingTest& t) {
             const TPoint p = t.Inside(t.Entry(1));
             t.desktop.DoubleClick(t.Window(), p.x, p.y);
         }, 1},
        {"quick second click 3 pixels away", [](LaunchingTest& t) {
             const TPoint p = t.Inside(t.Entry(1));
             t.desktop.PressLeft(t.Window(), p.x, p.y);
             t.desktop.ReleaseLeft(t.Window(), p.x, p.y);
             t.desktop.AdvanceTime(100);
             t.desktop.PressLeft(t.Window(), p.x + 3, p.y);
             t.desktop.ReleaseLeft(t.Window(), p.x + 3, p.y);
         }, 2},
        {"released elsewhere", [](LaunchingTest& t) {
             const TPoint p = t.Inside(t.Entry(1));
             t.desktop.PressLeft(t.Window(), p.x, p.y);
             t.desktop.MoveMouse(t.Window(), t.Background().x, t.Background().y);
             t.desktop.ReleaseLeft(t.Window(), t.Background().x, t.Background().y);
         }, 0},
        {"out and back before release", [](LaunchingTest& t) {
             const TPoint p = t.Inside(t.Entry(1));
             t.desktop.PressLeft(t.Window(), p.x, p.y);
             t.desktop.MoveMouse(t.Window(), t.Background().x, t.Background().y);
             t.desktop.ReleaseLeft(t.Window(), p.x + 1, p.y);
         }, 1},
        {"keys launch nothing", [](LaunchingTest& t) {
             t.MoveOver(t.Entry(1));
             for (int key : {13, 32, 9}) t.desktop.PressKey(t.Window(), key);
         }, 0},
    };
    Start();
    for (const auto& c : cases) {
        desktop.AdvanceTime(1000);  // the user pauses between cases
        const std::size_t before = desktop.ShellOpens().size();
        c.script(*this);
        const Opens opens = TakeOpens();
        EXPECT_EQ(opens.size() - before, static_cast<std::size_t>(c.launches)) << c.name;
        for (std::size_t i = before; i < opens.size(); ++i)
            EXPECT_EQ(opens[i], folder.File("setup/setup.exe")) << c.name;
    }
    EXPECT_TRUE(Form().Visible()) << "the menu stays open";
}

TEST_F(LaunchingTest, QuickClicksOnNeighbouringEntriesLaunchBoth) {
    Start();
    ASSERT_LT(Entry(2).Top() - Entry(1).Top(), 32) << "closer than SDL's own double-click radius";
    Click(Entry(1));
    desktop.AdvanceTime(200);
    Click(Entry(2));
    const Opens opens = TakeOpens();
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[0], folder.File("setup/setup.exe"));
    EXPECT_NE(opens[1].find("install.exe"), std::string::npos) << opens[1];
}

TEST_F(LaunchingTest, BackslashesAndLetterCaseOfTargetsAreResolved) {
    Start();
    Click(Entry(4));  // docs\setup.exe, on disk as DOCS/SETUP.EXE
    Click(Entry(6));  // readme.txt
    EXPECT_EQ(TakeOpens(), (Opens{folder.File("DOCS/SETUP.EXE"), folder.File("readme.txt")}));
}

TEST_F(LaunchingTest, EditsAfterStartUpDoNotChangeTheStoredTargets) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::EntryCount, "2");
    Start(text);
    ASSERT_FALSE(Entry(4).Visible());

    text.Set(KeyId::EntryCount, "6");
    text.Set(KeyId::EntryFilePath, 1, "readme.txt");
    text.Set(KeyId::EntryFilePath, 6, "other.txt");
    Write(text);
    MoveTo(Background());  // the background refresh shows entries 3 to 6
    ASSERT_TRUE(Entry(4).Visible());
    Click(Entry(4));
    Click(Entry(6));
    Click(Entry(1));
    EXPECT_EQ(TakeOpens(), (Opens{folder.File("DOCS/SETUP.EXE"), folder.File("readme.txt"),
                                  folder.File("setup/setup.exe")}));
}

// What a click on entry 1 opens, by the values of its two target keys and
// the system the menu runs on.
TEST_F(LaunchingTest, LinksAndTheLinuxTargetAreOpenedAsTheyStand) {
    using platform::TargetSystem;
    const struct {
        const char* file_path;
        const char* linux_file_path;  // null: no such key
        TargetSystem system;
        std::string opened;           // "<folder>/" stands for the menu's folder
    } cases[] = {
        {"https://www.example.com/support?a=1&b=2", nullptr, TargetSystem::Linux,
         "https://www.example.com/support?a=1&b=2"},
        {"https://www.example.com/support", nullptr, TargetSystem::Windows, "https://www.example.com/support"},
        {"mailto:help@example.com", nullptr, TargetSystem::Linux, "mailto:help@example.com"},
        {"setup/setup.exe", "readme.txt", TargetSystem::Linux, "<folder>/readme.txt"},
        {"setup/setup.exe", "readme.txt", TargetSystem::Windows, "<folder>/setup/setup.exe"},
        {"setup/setup.exe", "https://www.example.com/linux", TargetSystem::Linux, "https://www.example.com/linux"},
        {"setup/setup.exe", "docs\\setup.exe", TargetSystem::Linux, "<folder>/DOCS/SETUP.EXE"},
        {"setup/setup.exe", "", TargetSystem::Linux, "<folder>/setup/setup.exe"},
        {"setup/setup.exe", "0", TargetSystem::Linux, "<folder>/setup/setup.exe"},
        // Quoted blanks around a link leave it a path, as before links.
        {"\" https://www.example.com\"", nullptr, TargetSystem::Linux, "<folder>/ https://www.example.com"},
        {"C:setup.exe", nullptr, TargetSystem::Linux, "<folder>/C:setup.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file_path) + " / " + (c.linux_file_path ? c.linux_file_path : "(none)"));
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::EntryFilePath, 1, c.file_path);
        if (c.linux_file_path) text.Set(KeyId::EntryLinuxFilePath, 1, c.linux_file_path);
        desktop.SetSystem(c.system);
        Restart(text);
        const std::size_t before = desktop.ShellOpens().size();
        Click(Entry(1));
        const Opens opens = TakeOpens();
        ASSERT_EQ(opens.size(), before + 1);
        std::string expected = c.opened;
        if (expected.starts_with("<folder>/")) expected.replace(0, 8, folder.Path());
        EXPECT_EQ(opens.back(), expected);
        EXPECT_TRUE(desktop.Boxes().empty());
    }
}

// A target the desktop cannot open gives one box, captioned with the title,
// with the sentence that names it and the reason; the menu goes on.
TEST_F(LaunchingTest, AFailedOpenShowsItsReasonInTheErrorBoxAndTheMenuGoesOn) {
    Start();
    const std::string target = folder.File("setup/setup.exe");
    std::size_t boxes = 0;
    for (const auto reason : {platform::OpenFailure::NoSuchFile, platform::OpenFailure::NoApplication,
                              platform::OpenFailure::WindowsProgram, platform::OpenFailure::NoOpener,
                              platform::OpenFailure::OpenerFailed}) {
        desktop.SetOpenFailure(reason);
        desktop.AdvanceTime(1000);
        Click(Entry(1));
        ASSERT_EQ(desktop.Boxes().size(), ++boxes);
        EXPECT_EQ(desktop.Boxes().back().caption, app->Title());
        EXPECT_EQ(desktop.Boxes().back().text, platform::OpenFailureText({target, reason}));
        EXPECT_TRUE(Form().Visible());
        EXPECT_TRUE(Form().Enabled()) << "enabled again once the box is gone";
    }
    desktop.SetOpenFailure(std::nullopt);
    desktop.AdvanceTime(1000);
    Click(Entry(6));
    EXPECT_EQ(TakeOpens().back(), folder.File("readme.txt"));
    EXPECT_EQ(desktop.Boxes().size(), boxes) << "an open that succeeds says nothing";
}

TEST_F(LaunchingTest, ExitEntryEndsTheLoopWithoutAQuestion) {
    Start();
    Click(*Form().ExitLabel);
    desktop.SetWhenIdle([] { FAIL() << "the loop waited instead of ending"; });
    app->Run();
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(desktop.Boxes().empty());
    EXPECT_TRUE(desktop.ShellOpens().empty());
}

}  // namespace
}  // namespace automenu
