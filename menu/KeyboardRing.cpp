#include "menu/KeyboardRing.h"

namespace automenu {

int MoveInRing(std::span<const bool> shown, int from, RingMove move) {
    const int size = static_cast<int>(shown.size());
    if (size == 0) return -1;
    switch (move) {
        case RingMove::First:
            from = -1;
            move = RingMove::Next;
            break;
        case RingMove::Last:
            from = size;
            move = RingMove::Previous;
            break;
        case RingMove::Next:
        case RingMove::Previous:
            if (from < 0 || from >= size) from = move == RingMove::Next ? -1 : size;
            break;
    }
    const int step = move == RingMove::Next ? 1 : -1;
    int at = from;
    for (int i = 0; i < size; ++i) {
        at = ((at + step) % size + size) % size;
        if (shown[static_cast<std::size_t>(at)]) return at;
    }
    return -1;
}

std::optional<RingMove> RingMoveOfKey(int key, TShiftState shift) {
    switch (key) {
        case platform::VK_TAB:
            return (shift & ssShift) ? RingMove::Previous : RingMove::Next;
        case platform::VK_DOWN:
        case platform::VK_RIGHT:
            return RingMove::Next;
        case platform::VK_UP:
        case platform::VK_LEFT:
            return RingMove::Previous;
        case platform::VK_HOME:
            return RingMove::First;
        case platform::VK_END:
            return RingMove::Last;
        default:
            return std::nullopt;
    }
}

}  // namespace automenu
