// Built for both systems: the Linux unit tests and the Windows ones under Wine.
#include "platform/HostSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace automenu::platform::host {
namespace {

namespace fs = std::filesystem;

// A folder of its own in the system's temporary folder, with a name outside
// every ANSI code page, so Windows must be given it in UTF-16.
class Scratch {
public:
    Scratch() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = Utf8Of(fs::temp_directory_path()) + "/host test Ж 目录 " + std::to_string(stamp);
        fs::create_directories(PathOf(m_path));
    }
    ~Scratch() {
        std::error_code unused;
        fs::remove_all(PathOf(m_path), unused);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return m_path; }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(m_path + "/" + name), std::ios::binary) << bytes;
        return m_path + "/" + name;
    }

private:
    std::string m_path;
};

TEST(HostSystem, PathsKeepTheirUtf8NamesBothWays) {
    for (const char* name : {"plain", "Média", "目录/файл.txt", "emoji 😀"}) {
        EXPECT_EQ(Utf8Of(PathOf(name)), name);
    }
}

TEST(HostSystem, KindOfTellsFilesFoldersAndNothing) {
    const Scratch scratch;
    const std::string file = scratch.Write("Ünïcode.txt", "x");
    fs::create_directory(PathOf(scratch.Path() + "/sub"));
    const struct {
        std::string path;
        EntryKind kind;
    } cases[] = {
        {file, EntryKind::File},
        {scratch.Path(), EntryKind::Directory},
        {scratch.Path() + "/sub", EntryKind::Directory},
        {scratch.Path() + "/missing", EntryKind::Missing},
        {scratch.Path() + "/missing/deeper", EntryKind::Missing},
    };
    for (const auto& c : cases) EXPECT_EQ(KindOf(c.path), c.kind) << c.path;
}

TEST(HostSystem, FindEntryMatchesNamesIgnoringCase) {
    const Scratch scratch;
    scratch.Write("AUTORUN.INF", "[a]\n");
    for (const char* asked : {"AUTORUN.INF", "autorun.inf", "Autorun.Inf"}) {
        const std::optional<std::string> found = FindEntry(scratch.Path(), asked);
        ASSERT_TRUE(found) << asked;
        // The name found opens the file, whatever case the system keeps.
        EXPECT_EQ(KindOf(scratch.Path() + "/" + *found), EntryKind::File) << asked;
    }
    EXPECT_FALSE(FindEntry(scratch.Path(), "AUTORUN.IN"));
    EXPECT_FALSE(FindEntry(scratch.Path() + "/missing", "AUTORUN.INF"));
}

TEST(HostSystem, ReadWholeFileKeepsAtMostItsLimit) {
    const Scratch scratch;
    const std::string path = scratch.Write("data.bin", std::string("ab\0cd\r\n", 7));
    const struct {
        std::size_t limit;
        FileReadStatus status;
        std::string bytes;
    } cases[] = {
        {7, FileReadStatus::Ok, std::string("ab\0cd\r\n", 7)},
        {100, FileReadStatus::Ok, std::string("ab\0cd\r\n", 7)},
        {3, FileReadStatus::TooLarge, std::string("ab\0", 3)},
    };
    for (const auto& c : cases) {
        std::string bytes = "stale";
        EXPECT_EQ(ReadWholeFile(path, c.limit, bytes), c.status) << c.limit;
        EXPECT_EQ(bytes, c.bytes) << c.limit;
    }
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(scratch.Path(), 100, bytes), FileReadStatus::CannotOpen);
    EXPECT_EQ(ReadWholeFile(scratch.Path() + "/missing", 100, bytes), FileReadStatus::CannotOpen);
}

TEST(HostSystem, EncodePngGivesAFileOfTheImagesSize) {
    PixelImage image{3, 2, std::vector<std::uint32_t>(6, 0xFF336699u), false};
    const std::vector<std::uint8_t> png = EncodePng(image);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin(), png.begin() + 8), "\x89PNG\r\n\x1a\n");
    // IHDR: width and height, big-endian.
    EXPECT_EQ(png[19], 3);
    EXPECT_EQ(png[23], 2);
}

TEST(HostSystem, CodePagesByNumberConvertTheirOwnBytes) {
    EXPECT_EQ(CodePageNumbered(1251).Decode("\xC6"), "Ж");
    EXPECT_EQ(CodePageNumbered(1252).Decode("\xE9"), "é");
}

}  // namespace
}  // namespace automenu::platform::host
