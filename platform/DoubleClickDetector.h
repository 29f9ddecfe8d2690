// Tells a double click from two single clicks the way Windows counts them:
// the second press of the left button is a double click only when it falls on
// the same window, inside the double-click rectangle around the first press
// (4 x 4 pixels by default) and within the double-click time. A double click
// ends the run: the press after it starts a new one. Neighbouring entries a
// few pixels apart therefore get two single clicks, however quick.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace automenu::platform {

class DoubleClickDetector {
public:
    static constexpr unsigned kDefaultTimeMs = 500;
    static constexpr TSize kDefaultRect{4, 4};

    explicit DoubleClickDetector(unsigned time_ms = kDefaultTimeMs, TSize rect = kDefaultRect)
        : m_time_ms(time_ms), m_rect(rect) {}

    // A press of the left button at `pos` (client coordinates of `window`) at
    // `time_ms` on a millisecond clock: true when it completes a double click.
    bool Press(WindowId window, TPoint pos, std::uint64_t time_ms);
    // Forgets the previous press (another button was pressed, the window went).
    void Reset() { m_armed = false; }

private:
    unsigned m_time_ms;
    TSize m_rect;
    bool m_armed = false;  // the previous press was a single click
    WindowId m_window = kNoWindow;
    TPoint m_pos;
    std::uint64_t m_time = 0;
};

}  // namespace automenu::platform
