// The files of a medium: made new with exactly their modes, never over what
// is there or through a link, and each failure named by its file and cause.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "MediumWriter.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

namespace fs = std::filesystem;

TEST(MediumWriterTest, NewFilesWithTheirModesAndTheRightCause) {
    testing::TempDir dir;
    fs::create_directory(dir.Join("m"));
    const MediumWriter writer(dir.Join("m"), "OUT");
    dir.Write("m/there", "kept");
    dir.Write("elsewhere", "kept");
    fs::create_symlink(dir.Join("elsewhere"), dir.Join("m/link"));
    struct Case {
        const char* name;
        std::optional<std::string> problem;
        std::string made;  // made with `mode`, or the start of the problem
        mode_t mode;
    };
    const mode_t old_mask = ::umask(077);  // the modes asked for, whatever the mask
    const Case cases[] = {
        {"write", writer.Write("plain", "x", 0644), "plain", 0644},
        {"copy", writer.Copy(dir.Join("elsewhere"), "SRC/elsewhere", "run", 0755), "run", 0755},
        {"folder", writer.Folder("dir", 0755), "dir", 0755},
        {"over a file", writer.Write("there", "x", 0644), "OUT/there cannot be written: File exists", 0},
        {"through a link", writer.Write("link", "x", 0644), "OUT/link cannot be written: File exists", 0},
        {"from nothing", writer.Copy(dir.Join("none"), "SRC/none", "n", 0644), "SRC/none cannot be read: No such file",
         0},
        {"from a folder", writer.Copy(dir.Path(), "SRC", "n2", 0644), "SRC cannot be read: Is a directory", 0},
        {"into nothing", writer.Write("no/such", "x", 0644), "OUT/no/such cannot be written: No such file", 0},
    };
    ::umask(old_mask);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mode != 0) {
            EXPECT_EQ(c.problem, std::nullopt);
            struct stat st {};
            ASSERT_EQ(::stat(dir.Join("m/" + c.made).c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, c.mode);
        } else {
            ASSERT_TRUE(c.problem.has_value());
            EXPECT_TRUE(c.problem->starts_with(c.made)) << *c.problem;
        }
    }
    std::ifstream there(dir.Join("m/there")), elsewhere(dir.Join("elsewhere"));
    std::string a, b;
    there >> a;
    elsewhere >> b;
    EXPECT_EQ(a + b, "keptkept");
}

TEST(MediumWriterTest, StopsBetweenPiecesOfACopy) {
    testing::TempDir dir;
    fs::create_directory(dir.Join("m"));
    dir.Write("big", std::string(4 * 1024 * 1024, 'x'));
    int asked = 0;
    const MediumWriter writer(dir.Join("m"), "OUT", [&] { return ++asked > 3; });
    ASSERT_EQ(writer.Write("first", "x", 0644), std::nullopt);
    const std::optional<std::string> problem = writer.Copy(dir.Join("big"), "SRC/big", "big", 0644);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(*problem, "OUT/big: stopped before it was written whole");
    EXPECT_LT(fs::file_size(dir.Join("m/big")), 4u * 1024 * 1024);
    // Asked to stop, it makes nothing more.
    EXPECT_TRUE(writer.Folder("later", 0755).has_value());
    EXPECT_TRUE(writer.Write("later.txt", "x", 0644).has_value());
    EXPECT_FALSE(fs::exists(dir.Join("m/later")) || fs::exists(dir.Join("m/later.txt")));
}

TEST(MediumWriterTest, APipeInAFilesPlaceIsRefusedNotWaitedFor) {
    testing::TempDir dir;
    fs::create_directory(dir.Join("m"));
    ASSERT_EQ(::mkfifo(dir.Join("pipe").c_str(), 0644), 0);
    const MediumWriter writer(dir.Join("m"), "OUT");
    EXPECT_EQ(writer.Copy(dir.Join("pipe"), "SRC/pipe", "pipe", 0644), "SRC/pipe cannot be read: not a file");
    EXPECT_FALSE(fs::exists(dir.Join("m/pipe")));
}

}  // namespace
}  // namespace automenu::tool
