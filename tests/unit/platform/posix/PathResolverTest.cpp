#include "platform/posix/PathResolver.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace automenu::platform {
namespace {

TEST(PathResolver, ResolvesComponentByComponent) {
    automenu::testing::TempDir dir;
    std::filesystem::create_directories(dir.Join("Pics/Icons"));
    std::filesystem::create_directories(dir.Join("pics"));
    dir.Write("Pics/Icons/Logo.ico", "");
    dir.Write("Pics/Icons/logo.ICO", "");
    dir.Write("setup.exe", "");
    const struct {
        std::string path;
        PathSeparators separators;
        std::optional<std::string> expected;
    } cases[] = {
        {"setup.exe", PathSeparators::Slash, "setup.exe"},
        {"SETUP.EXE", PathSeparators::Slash, "setup.exe"},
        {"Pics/Icons/Logo.ico", PathSeparators::Slash, "Pics/Icons/Logo.ico"},  // exact wins
        {"pics/icons/LOGO.ico", PathSeparators::Slash, std::nullopt},            // "pics" exists and is empty
        {"PICS/ICONS/LOGO.ICO", PathSeparators::Slash, "Pics/Icons/Logo.ico"},   // first in byte order
        {"Pics//Icons/./logo.ico", PathSeparators::Slash, "Pics/Icons/./Logo.ico"},
        {"pics/../Pics/Icons/logo.ICO", PathSeparators::Slash, "pics/../Pics/Icons/logo.ICO"},
        {"Pics\\Icons\\LOGO.ICO", PathSeparators::SlashOrBackslash, "Pics/Icons/Logo.ico"},
        {"Pics\\Icons\\LOGO.ICO", PathSeparators::Slash, std::nullopt},
        {"missing.exe", PathSeparators::Slash, std::nullopt},
        {"Pics/missing/x", PathSeparators::Slash, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<std::string> got = ResolvePathIgnoringCase(dir.Path() + "/" + c.path, c.separators);
        if (!c.expected) {
            EXPECT_EQ(got, std::nullopt);
        } else {
            EXPECT_EQ(got, dir.Path() + "/" + *c.expected);
        }
    }
}

TEST(PathResolver, FindEntry) {
    automenu::testing::TempDir dir;
    dir.Write("autorun.inf", "");
    dir.Write("AutoRun.inf", "");
    EXPECT_EQ(FindEntryIgnoringCase(dir.Path(), "AUTORUN.INF"), "AutoRun.inf");
    EXPECT_EQ(FindEntryIgnoringCase(dir.Path(), "autorun.inf"), "autorun.inf");
    EXPECT_EQ(FindEntryIgnoringCase(dir.Path(), "autorun"), std::nullopt);
    EXPECT_EQ(FindEntryIgnoringCase(dir.Join("missing"), "autorun.inf"), std::nullopt);
}

// A folder where the name is found only ignoring case is listed once while it
// stays the same; a change of the folder shows at the next lookup.
TEST(PathResolver, EntryFinderListsAnUnchangedDirectoryOnce) {
    automenu::testing::TempDir dir;
    // Changes are dated a minute back, one second apart: old enough to trust.
    auto date = [&](int second) {
        const timespec times[2] = {{std::time(nullptr) - 60 + second, 0}, {std::time(nullptr) - 60 + second, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.Path().c_str(), times, 0), 0);
    };
    const struct {
        const char* what;
        std::function<void()> change;
        std::optional<std::string> expected;
        int listings;
    } steps[] = {
        {"first lookup", [&] { dir.Write("autorun.inf", ""), date(0); }, "autorun.inf", 1},
        {"unchanged", [] {}, "autorun.inf", 0},
        {"an earlier name added", [&] { dir.Write("Autorun.inf", ""), date(1); }, "Autorun.inf", 1},
        {"unchanged again", [] {}, "Autorun.inf", 0},
        {"removed in the same tick", [&] { std::filesystem::remove(dir.Join("Autorun.inf")), date(1); }, "autorun.inf",
         1},
        {"changed just now", [&] { dir.Write("other", ""); }, "autorun.inf", 1},
        {"too recent to trust", [] {}, "autorun.inf", 1},
        {"all removed", [&] { std::filesystem::remove(dir.Join("autorun.inf")), date(2); }, std::nullopt, 1},
        {"still none", [] {}, std::nullopt, 0},
        {"the exact name", [&] { dir.Write("AUTORUN.INF", ""), date(3); }, "AUTORUN.INF", 0},
    };
    EntryFinder finder;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const std::uint64_t before = DirectoryListingCount();
        EXPECT_EQ(finder.Find(dir.Path(), "AUTORUN.INF"), step.expected);
        EXPECT_EQ(DirectoryListingCount() - before, static_cast<std::uint64_t>(step.listings));
    }
}

}  // namespace
}  // namespace automenu::platform
