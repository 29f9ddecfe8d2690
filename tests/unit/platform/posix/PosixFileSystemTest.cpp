#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace automenu::platform {
namespace {

// Names on a medium written on Windows are found whatever their case, with
// "\" between folders; a name that matches nothing stays as written.
TEST(PosixFileSystem, NamesWrittenOnWindowsAreFound) {
    automenu::testing::TempDir dir;
    std::filesystem::create_directories(dir.Join("images"));
    dir.Write("images/BACK.BMP", "");
    dir.Write("autorun.inf", "");
    PosixFileSystem& files = PosixFileSystem::Instance();
    const struct {
        std::string path;
        std::string expected;
    } media[] = {
        {"images/BACK.BMP", "images/BACK.BMP"},
        {"IMAGES\\back.bmp", "images/BACK.BMP"},
        {"images/missing.bmp", "images/missing.bmp"},
        {"images\\missing.bmp", "images\\missing.bmp"},
    };
    for (const auto& c : media) EXPECT_EQ(files.MediaPath(dir.Join(c.path)), dir.Join(c.expected)) << c.path;
    EXPECT_EQ(files.MediaPath(""), "");
    EXPECT_EQ(files.EntryName(dir.Path(), "AUTORUN.INF"), "autorun.inf");
    EXPECT_EQ(files.EntryName(dir.Path(), "README.TXT"), "README.TXT");
    EXPECT_EQ(files.Style(), PathStyle::Posix);
}

TEST(PosixFileSystem, ProgramPathIsTheRunningProgram) {
    const std::string path = PosixFileSystem::Instance().ProgramPath();
    EXPECT_EQ(std::filesystem::path(path).filename(), "automenu_tests") << path;
}

}  // namespace
}  // namespace automenu::platform
