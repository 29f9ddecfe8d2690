// The order in which keys move the highlight over the clickable labels: the
// shown ones, in a ring.
#pragma once

#include <optional>
#include <span>

#include "ui/TControl.h"

namespace automenu {

enum class RingMove { Next, Previous, First, Last };

// The member a move reaches among the members of `shown` (ring order, true
// where shown): Next and Previous go round, from a member that is not
// shown as well, by its place; from no member (-1) Next goes to the first
// and Previous to the last. -1 when none is shown.
int MoveInRing(std::span<const bool> shown, int from, RingMove move);

// Tab and Down/Right: next; Shift+Tab and Up/Left: previous; Home/End:
// first/last. Other keys move nothing.
std::optional<RingMove> RingMoveOfKey(int key, TShiftState shift);

// The way a move goes on when the member it reached is hidden on the way.
inline RingMove OnwardOf(RingMove move) {
    return move == RingMove::Previous || move == RingMove::Last ? RingMove::Previous : RingMove::Next;
}

}  // namespace automenu
