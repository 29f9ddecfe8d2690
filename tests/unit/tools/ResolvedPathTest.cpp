// Where pack's paths really lead: links followed also into what does not
// exist yet, loops refused, and the "lies within" test it guards the
// author's folder with.
#include <gtest/gtest.h>

#include <filesystem>

#include "ResolvedPath.h"
#include "support/TempDir.h"

namespace automenu::tool {
namespace {

namespace fs = std::filesystem;

TEST(ResolvedPathTest, FollowsEveryLinkAlsoPastWhatExists) {
    testing::TempDir dir;
    const fs::path root = *ResolvedPath(dir.Path());
    fs::create_directory(root / "a");
    fs::create_directory_symlink("a", root / "to-a");
    fs::create_directory_symlink("missing/deeper", root / "to-missing");
    fs::create_directory_symlink(root / "a", root / "absolute");
    fs::create_symlink("l2", root / "l1");
    fs::create_symlink("l1", root / "l2");
    const std::pair<fs::path, std::optional<fs::path>> cases[] = {
        {root / "a/x", root / "a/x"},
        {root / "to-a/x.iso", root / "a/x.iso"},
        {root / "to-missing/f", root / "missing/deeper/f"},  // a link to a folder still to be made
        {root / "absolute/../to-a", root / "a"},           // ".." after a link leaves what it names
        {root / "a/./x/", root / "a/x"},
        {root / "nothing/../a", root / "a"},
        {root / "l1/x", std::nullopt},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(ResolvedPath(path), expected) << path;
}

TEST(ResolvedPathTest, Within) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"/a/b", "/a", true},   {"/a", "/a", true},      {"/a/b/c", "/a/b", true}, {"/ab", "/a", false},
        {"/a", "/a/b", false},  {"/b/a", "/a", false},   {"/a/b", "/", true},
    };
    for (const auto& [inner, outer, within] : cases)
        EXPECT_EQ(Within(inner, outer), within) << inner << " in " << outer;
}

}  // namespace
}  // namespace automenu::tool
