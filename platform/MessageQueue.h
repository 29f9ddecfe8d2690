// The message queue both Linux back ends share: posted messages first, then
// due timers, then paint requests for windows with an invalid area, the
// priority order of the Windows queue the framework was designed around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/Platform.h"

namespace automenu::platform {

class MessageQueue {
public:
    // A mouse move right behind another one for the same window replaces it,
    // as Windows keeps at most one pending move carrying the latest position:
    // a burst of moves never queues up work.
    void Post(const Message& msg);
    void PostQuit(int exit_code);
    // An assistive technology's "do default action" on child `item`: the
    // framework's loop runs it, as it runs a click.
    void PostDefaultAction(WindowId w, std::size_t item);

    void Invalidate(WindowId w, const TRect& r);
    // Takes (and clears) the invalid area of a window.
    TRect TakeInvalid(WindowId w);
    bool HasInvalid(WindowId w) const;

    // Timers repeat every `milliseconds` until killed, like Windows timers.
    void SetTimer(WindowId w, int id, unsigned milliseconds, std::uint64_t now_ms);
    void KillTimer(WindowId w, int id);
    std::optional<std::uint64_t> NextTimerDue() const;

    void Forget(WindowId w);

    bool Take(Message& out, std::uint64_t now_ms);
    bool HasPosted() const { return !m_posted.empty(); }
    bool HasQuit() const { return m_quit.has_value(); }
    // Drops posted mouse and key input (after a modal box, input aimed at
    // disabled windows must not arrive late).
    void DropInput();

private:
    struct Timer {
        unsigned interval = 0;
        std::uint64_t due = 0;
    };
    std::deque<Message> m_posted;
    std::map<WindowId, TRect> m_invalid;
    std::map<std::pair<WindowId, int>, Timer> m_timers;
    std::optional<int> m_quit;
};

}  // namespace automenu::platform
