#include <gtest/gtest.h>

#include <vector>

#include "platform/DoubleClickDetector.h"

namespace automenu::platform {
namespace {

struct Press {
    WindowId window;
    TPoint pos;
    std::uint64_t time;
};

TEST(DoubleClickDetectorTest, SecondPressCountsOnlyOnTheSameSpotInTime) {
    const struct {
        const char* name;
        std::vector<Press> presses;
        std::vector<bool> doubles;
    } cases[] = {
        {"same spot at once", {{1, {10, 10}, 0}, {1, {10, 10}, 0}}, {false, true}},
        {"just inside the time", {{1, {10, 10}, 1000}, {1, {10, 10}, 1499}}, {false, true}},
        {"the time has passed", {{1, {10, 10}, 1000}, {1, {10, 10}, 1500}}, {false, false}},
        {"two pixels off each way", {{1, {10, 10}, 0}, {1, {12, 8}, 10}}, {false, true}},
        {"three pixels right", {{1, {10, 10}, 0}, {1, {13, 10}, 10}}, {false, false}},
        {"three pixels up", {{1, {10, 10}, 0}, {1, {10, 7}, 10}}, {false, false}},
        {"neighbouring entry", {{1, {20, 180}, 0}, {1, {20, 210}, 200}}, {false, false}},
        {"other window", {{1, {10, 10}, 0}, {2, {10, 10}, 10}}, {false, false}},
        {"a clock that went back", {{1, {10, 10}, 900}, {1, {10, 10}, 100}}, {false, false}},
        {"third press starts anew", {{1, {10, 10}, 0}, {1, {10, 10}, 10}, {1, {10, 10}, 20}, {1, {10, 10}, 30}},
         {false, true, false, true}},
        {"a missed pair shifts the run", {{1, {10, 10}, 0}, {1, {40, 10}, 10}, {1, {40, 10}, 20}},
         {false, false, true}},
    };
    for (const auto& c : cases) {
        DoubleClickDetector clicks;
        std::vector<bool> got;
        for (const auto& p : c.presses) got.push_back(clicks.Press(p.window, p.pos, p.time));
        EXPECT_EQ(got, c.doubles) << c.name;
    }
}

TEST(DoubleClickDetectorTest, ResetAndTheDesktopsTimeApply) {
    DoubleClickDetector clicks(200);
    EXPECT_FALSE(clicks.Press(1, {5, 5}, 0));
    EXPECT_FALSE(clicks.Press(1, {5, 5}, 250)) << "longer than the desktop's 200 ms";
    clicks.Reset();  // another button was pressed in between
    EXPECT_FALSE(clicks.Press(1, {5, 5}, 300));
}

}  // namespace
}  // namespace automenu::platform
