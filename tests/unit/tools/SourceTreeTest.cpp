// The author's folder read for a medium: names folded as the media fold
// them, and what --keep and --leave-out change.
#include <gtest/gtest.h>

#include <filesystem>

#include "SourceTree.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

namespace fs = std::filesystem;

TEST(SourceTreeTest, NamesFoldAsMediaFoldThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"AUTORUN.INF", "autorun.inf"},
        {"\xC3\x84pfel", "\xC3\xA4pfel"},       // Ä
        {"\xC3\x97", "\xC3\x97"},               // × has no lower case
        {"\xC3\x9F", "\xC3\x9F"},               // ß stays
        {"\xC5\xB8", "\xC3\xBF"},               // Ÿ: ÿ, outside its block
        {"\xC4\x80\xC4\xB9\xC5\xBD", "\xC4\x81\xC4\xBA\xC5\xBE"},  // Ā Ĺ Ž: pairs at even and at odd
        {"\xC4\xB0\xC4\xB1", "\xC4\xB0\xC4\xB1"},  // dotted and dotless i stay apart
        {"\xCE\x86\xCE\xA3", "\xCE\xAC\xCF\x83"},  // Ά Σ
        {"\xCF\x82", "\xCF\x83"},               // final sigma is sigma
        {"\xD0\x94\xD0\x81", "\xD0\xB4\xD1\x91"},  // Д Ё
        {"a\xFF" "B\xC3", "a\xFF" "b\xC3"},      // bytes that are no UTF-8 stay, the rest folds
    };
    for (const auto& [name, folded] : cases) EXPECT_EQ(FoldNameCase(name), folded) << name;
}

TEST(SourceTreeTest, RulesDecideWhatGoesOn) {
    testing::TempDir dir;
    const fs::path root = dir.Path();
    fs::create_directories(root / "Docs/old");
    dir.Write("AUTORUN.INF", "");
    dir.Write("Docs/Guide.txt", "");
    dir.Write("Docs/GUIDE.TXT", "");
    dir.Write("AutoRun.sh", "");
    fs::create_symlink("loop", root / "Docs/old/loop");
    fs::permissions(root / "AutoRun.sh", fs::perms::owner_exec, fs::perm_options::add);

    struct Case {
        const char* name;
        SourceRules rules;
        std::vector<std::string> entries;  // path, "/" after a folder, "*" after a runnable file
        std::size_t problems;
        bool adds_script;
    };
    const Case cases[] = {
        {"two collisions and a loop",
         {{"autorun.sh"}, {}, {}, false},
         {"AUTORUN.INF", "AutoRun.sh*", "Docs/", "Docs/GUIDE.TXT", "Docs/Guide.txt", "Docs/old/"},
         3,
         true},
        {"the author's launcher kept, a folder left off with its loop",
         {{"autorun.sh"}, {"AutoRun.sh"}, {"Docs/old", "Docs/GUIDE.TXT"}, false},
         {"AUTORUN.INF", "AutoRun.sh*", "Docs/", "Docs/Guide.txt"},
         0,
         false},
        {"the tool's launcher, one guide kept",
         {{"autorun.sh"}, {"Docs/Guide.txt"}, {"AutoRun.sh", "./Docs/old/"}, false},
         {"AUTORUN.INF", "Docs/", "Docs/Guide.txt"},
         0,
         true},
        {"rules that name nothing",
         {{}, {"Docs/GUIDE.TXT", "nothing"}, {"Docs/old", "none/"}, false},
         {"AUTORUN.INF", "AutoRun.sh*", "Docs/", "Docs/GUIDE.TXT"},
         2,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SourceTree tree(root, "src", c.rules);
        std::vector<std::string> entries;
        for (const SourceEntry& e : tree.Entries())
            entries.push_back(e.path + (e.folder ? "/" : e.runnable ? "*" : ""));
        EXPECT_EQ(entries, c.entries);
        EXPECT_EQ(tree.Problems().size(), c.problems) << ::testing::PrintToString(tree.Problems());
        EXPECT_EQ(tree.Adds("autorun.sh"), c.adds_script);
        ASSERT_NE(tree.TopEntryIgnoringCase("autorun.inf"), nullptr);
    }
}

}  // namespace
}  // namespace automenu::tool
