// A result built aside appears whole or not at all, and a failed one leaves
// nothing behind, not even the folders made on the way to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "MediumWriter.h"
#include "StagingFolder.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StagingFolderTest, WholeOrNothing) {
    struct Case {
        const char* name;
        std::function<void(const testing::TempDir&)> before;
        const char* target;
        bool commit;
        bool file;  // commit a file made in the folder (an image), not the folder
        bool filled;  // someone writes into the place before the commit
        std::string problem;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"folder committed", nullptr, "out", true, false, false, "", {"out", "out/f"}},
        {"onto an empty folder", [](auto& d) { fs::create_directory(d.Join("out")); }, "out", true, false, false, "",
         {"out", "out/f"}},
        {"missing parents made", nullptr, "a/b/out", true, false, false, "", {"a", "a/b", "a/b/out", "a/b/out/f"}},
        {"not committed: parents go too", [](auto& d) { fs::create_directory(d.Join("a")); }, "a/b/c/out", false, false,
         false, "", {"a"}},
        {"the place filled meanwhile", [](auto& d) { fs::create_directory(d.Join("out")); }, "out", true, false, true,
         "no longer an empty folder", {"out", "out/late"}},
        {"a file onto a file", [](auto& d) { d.Write("x.iso", "old"); }, "x.iso", true, true, false, "", {"x.iso"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        if (c.before) c.before(dir);
        {
            StagingFolder staged(fs::path(dir.Path()) / c.target, c.target);
            ASSERT_EQ(staged.Make(), std::nullopt);
            const std::string hidden = staged.Path().filename().string();
            EXPECT_EQ(hidden.substr(0, hidden.size() - 7), '.' + fs::path(c.target).filename().string());
            const MediumWriter writer(staged.Path(), c.target);
            ASSERT_EQ(writer.Write("f", "new", 0644), std::nullopt);
            if (c.filled) dir.Write("out/late", "");
            if (c.commit) {
                const std::optional<std::string> problem = staged.Commit(c.file ? staged.Path() / "f" : staged.Path());
                EXPECT_EQ(problem.has_value(), !c.problem.empty());
                EXPECT_NE(problem.value_or("").find(c.problem), std::string::npos) << problem.value_or("");
            }
        }
        EXPECT_EQ(Listing(dir.Path()), c.after);
    }
}

TEST(StagingFolderTest, WithdrawTakesBackACommittedResult) {
    testing::TempDir dir;
    StagingFolder staged(fs::path(dir.Path()) / "new/out", "out");
    ASSERT_EQ(staged.Make(), std::nullopt);
    ASSERT_EQ(staged.Commit(staged.Path()), std::nullopt);
    EXPECT_TRUE(fs::is_directory(dir.Join("new/out")));
    staged.Withdraw();
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(StagingFolderTest, WithdrawPutsBackTheEmptyFolderReplaced) {
    testing::TempDir dir;
    fs::create_directory(dir.Join("out"));
    fs::permissions(dir.Join("out"), fs::perms(0750));
    StagingFolder staged(dir.Join("out"), "out");
    ASSERT_EQ(staged.Make(), std::nullopt);
    ASSERT_EQ(MediumWriter(staged.Path(), "out").Write("f", "new", 0644), std::nullopt);
    ASSERT_EQ(staged.Commit(staged.Path()), std::nullopt);
    staged.Withdraw();
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"out"});
    EXPECT_EQ(fs::status(dir.Join("out")).permissions(), fs::perms(0750));
}

}  // namespace
}  // namespace automenu::tool
