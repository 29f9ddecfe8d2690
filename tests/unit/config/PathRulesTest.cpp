#include "config/ConfigurationPaths.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/TCustomIniFile.h"
#include "config/TIniFile.h"
#include "platform/posix/PathResolver.h"
#include "support/TempDir.h"

namespace automenu {
namespace {

const std::string kLongWindowsDir = "C:\\" + std::string(197, 'd');  // 200 characters
const std::string kLongPosixDir = "/" + std::string(199, 'd');

// A reader that answers from a table.
class TableIniFile : public TCustomIniFile {
public:
    explicit TableIniFile(std::map<std::string, std::string> values)
        : TCustomIniFile("table"), m_values(std::move(values)) {}
    std::string ReadString(std::string_view, std::string_view key, std::string_view default_text) override {
        const auto it = m_values.find(std::string(key));
        return it == m_values.end() ? std::string(default_text) : it->second;
    }

private:
    std::map<std::string, std::string> m_values;
};

TEST(ConfigurationFilePath, JoinsTheCurrentDirectory) {
    const struct {
        PathStyle style;
        std::string current;
        std::string expected;
    } cases[] = {
        {PathStyle::Windows, "D:\\", "D:\\AUTORUN.INF"},
        {PathStyle::Windows, "D:\\menu", "D:\\menu\\AUTORUN.INF"},
        {PathStyle::Windows, "", "AUTORUN.INF"},  // the directory could not be determined
        {PathStyle::Windows, kLongWindowsDir, kLongWindowsDir + "\\AUTORUN.INF"},
        {PathStyle::Posix, "/", "/AUTORUN.INF"},
        {PathStyle::Posix, "/nonexistent/menu", "/nonexistent/menu/AUTORUN.INF"},
        {PathStyle::Posix, "/nonexistent/menu/", "/nonexistent/menu/AUTORUN.INF"},
        {PathStyle::Posix, "", "AUTORUN.INF"},
        {PathStyle::Posix, kLongPosixDir, kLongPosixDir + "/AUTORUN.INF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        ScopedCurrentDirectorySource source([&] { return c.current; });
        std::string buffer = "left over";
        EXPECT_EQ(ConfigurationFilePath(buffer, c.style), c.expected);
        EXPECT_EQ(buffer, c.expected);
    }
}

TEST(PictureFilePath, NowRuleAndJoin) {
    const struct {
        PathStyle style;
        std::string current;             // "" : the query fails
        std::optional<std::string> dir;  // nothing: the key is missing
        std::string before;              // what the buffer held
        std::string expected;
    } cases[] = {
        {PathStyle::Windows, "D:\\", "NOW", "D:\\AUTORUN.INF", "D:\\logo.ico"},
        {PathStyle::Windows, "D:\\menu", "NOW", "D:\\menu\\AUTORUN.INF", "D:\\menu\\logo.ico"},
        {PathStyle::Windows, "D:\\menu", "D:\\art", "x", "D:\\art\\logo.ico"},
        {PathStyle::Windows, "D:\\menu", "Now", "x", "Nowlogo.ico"},
        {PathStyle::Windows, "D:\\menu", "now", "x", "nowlogo.ico"},
        {PathStyle::Windows, "D:\\menu", "NOW ", "x", "NOW \\logo.ico"},
        {PathStyle::Windows, "D:\\menu", "D:\\pics\\", "x", "D:\\pics\\\\logo.ico"},
        {PathStyle::Windows, "D:\\menu", "D:", "x", "D:logo.ico"},
        {PathStyle::Windows, "D:\\menu", std::nullopt, "x", "0logo.ico"},
        {PathStyle::Windows, "D:\\menu", "", "x", "logo.ico"},
        {PathStyle::Windows, "", "NOW", "D:\\menu\\AUTORUN.INF", "D:\\menu\\AUTORUN.INF\\logo.ico"},
        {PathStyle::Windows, kLongWindowsDir, "NOW", "x", kLongWindowsDir + "\\logo.ico"},
        {PathStyle::Windows, "D:\\", kLongWindowsDir, "x", kLongWindowsDir + "\\logo.ico"},
        {PathStyle::Posix, "/media/cd", "NOW", "/media/cd/AUTORUN.INF", "/media/cd/logo.ico"},
        {PathStyle::Posix, "/", "NOW", "/AUTORUN.INF", "/logo.ico"},
        {PathStyle::Posix, "/media/cd", "/art", "x", "/art/logo.ico"},
        {PathStyle::Posix, "/media/cd", "/art/", "x", "/art/logo.ico"},
        {PathStyle::Posix, "/media/cd", "Now", "x", "Now/logo.ico"},
        {PathStyle::Posix, "/media/cd", std::nullopt, "x", "0/logo.ico"},
        {PathStyle::Posix, "/media/cd", "", "x", "logo.ico"},
        {PathStyle::Posix, "", "NOW", "/media/cd/AUTORUN.INF", "/media/cd/AUTORUN.INF/logo.ico"},
        {PathStyle::Posix, kLongPosixDir, "NOW", "x", kLongPosixDir + "/logo.ico"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dir.value_or("(missing)") + " in " + c.current);
        ScopedCurrentDirectorySource source([&] { return c.current; });
        std::map<std::string, std::string> values{{"Logo Name", "logo.ico"}};
        if (c.dir) values["Logo Path"] = *c.dir;
        TableIniFile reader(values);
        std::string buffer = c.before;
        EXPECT_EQ(PictureFilePath(reader, "Logo Setup", "Logo Path", "Logo Name", buffer, c.style), c.expected);
        EXPECT_EQ(buffer, c.expected);
    }
}

TEST(PictureFilePath, LooksUpTheDirectoryFirst) {
    std::vector<std::string> keys;
    ScopedLookUpObserver observer([&](std::string_view, std::string_view key) { keys.emplace_back(key); });
    ScopedCurrentDirectorySource source([] { return std::string("/cd"); });
    TableIniFile reader({});
    std::string buffer;
    PictureFilePath(reader, "BackGround Image File Setup", "BackGround Image Path", "BackGround Image Name", buffer);
    EXPECT_EQ(keys, (std::vector<std::string>{"BackGround Image Path", "BackGround Image Name"}));
}

TEST(LaunchFilePath, CurrentDirectorySeparatorValue) {
    const struct {
        PathStyle style;
        std::string current;
        std::string value;
        std::string expected;
    } cases[] = {
        {PathStyle::Windows, "D:\\", "setup.exe", "D:\\\\setup.exe"},
        {PathStyle::Windows, "D:\\menu", "setup.exe", "D:\\menu\\setup.exe"},
        {PathStyle::Windows, "D:\\menu", "0", "D:\\menu\\0"},
        {PathStyle::Windows, kLongWindowsDir, "a b.exe", kLongWindowsDir + "\\a b.exe"},
        {PathStyle::Posix, "/", "setup.exe", "//setup.exe"},
        {PathStyle::Posix, "/media/cd", "setup/run.sh", "/media/cd/setup/run.sh"},
        {PathStyle::Posix, "/media/cd", "", "/media/cd/"},
    };
    for (const auto& c : cases) EXPECT_EQ(LaunchFilePath(c.current, c.value, c.style), c.expected);
}

TEST(ConfigurationFilePath, FindsTheFileWhateverTheCaseOfItsName) {
    const struct {
        std::vector<std::string> files;
        std::string expected;
    } cases[] = {
        {{"autorun.inf"}, "autorun.inf"},
        {{"AUTORUN.INF", "autorun.inf"}, "AUTORUN.INF"},
        {{"autorun.inf", "Autorun.Inf"}, "Autorun.Inf"},  // first in byte order
        {{"other.inf"}, "AUTORUN.INF"},
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        for (const std::string& f : c.files) dir.Write(f, "[s]\nk=" + f + "\n");
        ScopedCurrentDirectorySource source([&] { return dir.Path(); });
        std::string buffer;
        EXPECT_EQ(ConfigurationFilePath(buffer, PathStyle::Posix), dir.Join(c.expected));
    }
}

TEST(ConfigurationFilePath, ASecondPassDoesNotListAnUnchangedDirectory) {
    testing::TempDir dir;
    dir.Write("autorun.inf", "");
    const timespec old[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.Path().c_str(), old, 0), 0);
    ScopedCurrentDirectorySource source([&] { return dir.Path(); });
    std::string buffer;
    EXPECT_EQ(ConfigurationFilePath(buffer, PathStyle::Posix), dir.Join("autorun.inf"));
    const std::uint64_t listings = platform::DirectoryListingCount();
    EXPECT_EQ(ConfigurationFilePath(buffer, PathStyle::Posix), dir.Join("autorun.inf"));
    EXPECT_EQ(platform::DirectoryListingCount(), listings);
}

TEST(ConfigurationFilePath, UsesTheProcessDirectoryByDefault) {
    std::string buffer;
    ConfigurationFilePath(buffer, PathStyle::Posix);
    EXPECT_EQ(buffer.substr(0, 1), "/");
    EXPECT_NE(buffer.find("AUTORUN.INF"), std::string::npos);
}

}  // namespace
}  // namespace automenu
