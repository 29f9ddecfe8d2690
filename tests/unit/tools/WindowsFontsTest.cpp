// The faces check takes to be on every Windows PC: those of the system, in
// any case, and none that only Linux or Office brings.
#include <gtest/gtest.h>

#include "WindowsFonts.h"

namespace automenu::tool {
namespace {

TEST(WindowsFonts, KnowsTheSystemsFacesOnly) {
    const struct {
        const char* face;
        bool everywhere;
    } cases[] = {
        {"Arial", true},           {"arial", true},
        {"TIMES NEW ROMAN", true}, {"Segoe UI", true},
        {"MS Sans Serif", true},   {"MS Gothic", true},
        {"SimSun", true},          {"Wingdings", true},
        {"DejaVu Sans", false},    {"Liberation Sans", false},
        {"Helvetica", false},      {"Arial Narrow", false},
        {"Segoe", false},          {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWindowsFontFace(c.face), c.everywhere) << c.face;
}

}  // namespace
}  // namespace automenu::tool
