// Where a window goes so that its caption bar stays reachable.
#include <gtest/gtest.h>

#include "ui/TCustomForm.h"

namespace automenu {
namespace {

TEST(ReachablePosition, KeepsTheCaptionOnTheWorkAreaAndOnlyTheBordersMayHangOff) {
    const platform::FrameExtents frame{3, 22, 3, 3};
    const TRect screen{0, 0, 1280, 1024};
    const struct {
        const char* what;
        TPoint at;
        TSize outer;
        TRect work;
        TPoint expected;
    } cases[] = {
        {"a window that fits stays", {322, 272}, {636, 480}, screen, {322, 272}},
        {"one touching the edges stays", {0, 0}, {1280, 1024}, screen, {0, 0}},
        {"as wide as the screen plus the frame: the client fills it", {-3, 0}, {1286, 600}, screen, {-3, 0}},
        {"centred wider than the screen", {-10, 100}, {1286, 600}, screen, {-3, 100}},
        {"hanging off the right: moved left until the close button is on", {322, 272}, {1286, 480}, screen,
         {-3, 272}},
        {"off the right by less than the screen", {900, 0}, {636, 480}, screen, {647, 0}},
        {"above the top: moved down", {100, -40}, {636, 1100}, screen, {100, 0}},
        {"the right border alone may hang off", {647, 0}, {636, 480}, screen, {647, 0}},
        {"below a panel", {100, 10}, {636, 480}, {0, 30, 1280, 1024}, {100, 30}},
        {"right of a panel", {0, 0}, {1246, 480}, {40, 0, 1280, 1024}, {37, 0}},
        {"wider than beside the panel: the close button wins", {0, 0}, {1286, 480}, {40, 0, 1280, 1024}, {-3, 0}},
        {"the bottom may hang off", {100, 900}, {636, 480}, screen, {100, 900}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReachablePosition(c.at, c.outer, frame, c.work), c.expected) << c.what;
}

}  // namespace
}  // namespace automenu
