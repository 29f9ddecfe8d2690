#include <gtest/gtest.h>

#include "platform/sdl/LeavingMotion.h"

namespace automenu::platform {
namespace {

TEST(LeavingMotion, OnlyAnEdgeEventWithThePointerOutsideIsTheLeaving) {
    const TSize size{634, 454};
    const struct {
        const char* what;
        TPoint event;
        std::optional<TPoint> pointer;
        bool leaving;
    } cases[] = {
        {"out through the right edge", {633, 200}, TPoint{700, 200}, true},
        {"out through the left edge", {0, 200}, TPoint{-5, 200}, true},
        {"out through the top", {300, 0}, TPoint{300, -1}, true},
        {"out through the bottom corner", {633, 453}, TPoint{640, 460}, true},
        {"a move inside, the pointer out since", {300, 200}, TPoint{700, 200}, false},
        {"a move onto the edge, the pointer still there", {633, 200}, TPoint{633, 200}, false},
        {"the edge, the pointer back inside", {0, 200}, TPoint{10, 200}, false},
        {"the pointer unknown (Wayland)", {633, 200}, std::nullopt, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLeavingMotion(c.event, size, c.pointer), c.leaving) << c.what;
}

}  // namespace
}  // namespace automenu::platform
