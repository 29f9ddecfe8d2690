#include "platform/DoubleClickDetector.h"

#include <cstdlib>

namespace automenu::platform {

bool DoubleClickDetector::Press(WindowId window, TPoint pos, std::uint64_t time_ms) {
    const bool is_double = m_armed && window == m_window && time_ms >= m_time && time_ms - m_time < m_time_ms &&
                           std::abs(pos.x - m_pos.x) <= m_rect.cx / 2 && std::abs(pos.y - m_pos.y) <= m_rect.cy / 2;
    m_armed = !is_double;
    m_window = window;
    m_pos = pos;
    m_time = time_ms;
    return is_double;
}

}  // namespace automenu::platform
