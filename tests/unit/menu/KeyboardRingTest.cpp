#include <gtest/gtest.h>

#include <array>
#include <string>

#include "menu/KeyboardRing.h"

namespace automenu {
namespace {

using platform::VK_DOWN;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_TAB;
using platform::VK_UP;

// 'x' a shown member, '-' a hidden one.
int Move(const std::string& members, int from, RingMove move) {
    std::array<bool, 9> shown{};
    for (std::size_t i = 0; i < members.size(); ++i) shown[i] = members[i] == 'x';
    return MoveInRing(std::span<const bool>(shown.data(), members.size()), from, move);
}

TEST(KeyboardRingTest, MovesGoRoundTheShownMembers) {
    const struct {
        const char* members;
        int from;
        RingMove move;
        int to;
    } cases[] = {
        {"xxxxxxxxx", -1, RingMove::Next, 0},
        {"xxxxxxxxx", -1, RingMove::Previous, 8},
        {"xxxxxxxxx", 0, RingMove::Next, 1},
        {"xxxxxxxxx", 8, RingMove::Next, 0},      // wraps forward
        {"xxxxxxxxx", 0, RingMove::Previous, 8},  // and backward
        {"xxxxxxxxx", 4, RingMove::First, 0},
        {"xxxxxxxxx", 4, RingMove::Last, 8},
        {"xxx-----x", 2, RingMove::Next, 8},      // hidden members are passed over
        {"xxx-----x", 8, RingMove::Previous, 2},
        {"---x-x---", -1, RingMove::Next, 3},
        {"---x-x---", -1, RingMove::Previous, 5},
        {"---x-x---", 0, RingMove::First, 3},
        {"---x-x---", 0, RingMove::Last, 5},
        {"xx-xx----", 2, RingMove::Next, 3},      // from a hidden member, by its place
        {"xx-xx----", 2, RingMove::Previous, 1},
        {"----x----", 4, RingMove::Next, 4},      // one member: stays
        {"----x----", 4, RingMove::Previous, 4},
        {"---------", -1, RingMove::Next, -1},    // none shown
        {"---------", 3, RingMove::Last, -1},
        {"", -1, RingMove::Next, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Move(c.members, c.from, c.move), c.to)
            << c.members << " from " << c.from << " move " << static_cast<int>(c.move);
}

TEST(KeyboardRingTest, KeysMoveAsWindowsDialogsDo) {
    const struct {
        int key;
        TShiftState shift;
        std::optional<RingMove> move;
    } cases[] = {
        {VK_TAB, 0, RingMove::Next},
        {VK_TAB, ssShift, RingMove::Previous},
        {VK_DOWN, 0, RingMove::Next},
        {VK_RIGHT, 0, RingMove::Next},
        {VK_UP, 0, RingMove::Previous},
        {VK_LEFT, 0, RingMove::Previous},
        {VK_HOME, 0, RingMove::First},
        {VK_END, 0, RingMove::Last},
        {VK_RETURN, 0, std::nullopt},
        {'a', 0, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(RingMoveOfKey(c.key, c.shift), c.move) << c.key << " " << int(c.shift);
}

}  // namespace
}  // namespace automenu
