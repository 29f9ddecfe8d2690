#include "config/TIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace automenu {
namespace {

TEST(TIniFile, CreatingChecksNothing) {
    TIniFile reader("/nonexistent/dir/AUTORUN.INF");
    EXPECT_EQ(reader.FileName(), "/nonexistent/dir/AUTORUN.INF");
    EXPECT_EQ(reader.LookUpSetting("Logo Setup", "Logo Use"), "0");
}

TEST(TIniFile, OnePassReadsOnceAndTheNextPassSeesEdits) {
    testing::TempDir dir;
    const std::string path = dir.Write("AUTORUN.INF", "[Installation Form Size Setup]\nForm Height=300\n");
    TIniFile first(path);
    EXPECT_EQ(first.LookUpSetting("Installation Form Size Setup", "Form Height"), "300");
    dir.Write("AUTORUN.INF", "[Installation Form Size Setup]\nForm Height=400\nForm Width=500\n");
    // The pass keeps answering from its own read of the file.
    EXPECT_EQ(first.LookUpSetting("Installation Form Size Setup", "Form Width"), "0");
    EXPECT_EQ(first.LookUpSetting("Installation Form Size Setup", "Form Height"), "300");
    TIniFile second(path);
    EXPECT_EQ(second.LookUpSetting("Installation Form Size Setup", "Form Height"), "400");
    EXPECT_EQ(second.LookUpSetting("Installation Form Size Setup", "Form Width"), "500");
}

TEST(TIniFile, FileCreatedAfterTheReaderIsFoundAtTheFirstLookup) {
    testing::TempDir dir;
    TIniFile reader(dir.Join("AUTORUN.INF"));
    dir.Write("AUTORUN.INF", "[Exit Label Setup]\nExit Label Use=YES\n");
    EXPECT_EQ(reader.LookUpSetting("Exit Label Setup", "Exit Label Use"), "YES");
}

TEST(TIniFile, EmptyValueAndDefault) {
    testing::TempDir dir;
    TIniFile reader(dir.Write("AUTORUN.INF", "[Title Message Label Setup]\nTitle Message Label Caption=\n"));
    EXPECT_EQ(reader.LookUpSetting("Title Message Label Setup", "Title Message Label Caption"), "");
    EXPECT_EQ(reader.LookUpSetting("Title Message Label Setup", "Title Message Label Top"), "0");
    EXPECT_EQ(reader.LookUpSetting("Title Message Label Setup", "Title Message Label Top", "x"), "x");
}

TEST(TIniFile, ObserverSeesEveryLookupInOrder) {
    std::vector<std::pair<std::string, std::string>> seen;
    {
        ScopedLookUpObserver observer(
            [&](std::string_view section, std::string_view key) { seen.emplace_back(section, key); });
        TIniFile reader("/nonexistent/AUTORUN.INF");
        reader.LookUpSetting("A", "1");
        reader.LookUpSetting("B", "2");
        reader.LookUpSetting("A", "1");
    }
    TIniFile after("/nonexistent/AUTORUN.INF");
    after.LookUpSetting("C", "3");  // the observer is gone
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"B", "2"}, {"A", "1"}}));
}

}  // namespace
}  // namespace automenu
