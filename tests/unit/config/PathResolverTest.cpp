#include "platform/PathResolver.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    EXPECT_EQ(NormaliseSeparators("a\\b/c\\"), "a/b/c/");
}

}  // namespace
}  // namespace automenu::platform
