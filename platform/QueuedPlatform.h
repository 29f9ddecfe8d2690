// The base of the back ends whose quit messages and timers live in the
// framework's own message queue (MessageQueue), on a clock each names (Now):
// CairoPlatform's, and GdiPlatform's in-memory desktop.
#pragma once

#include <cstdint>

#include "platform/MessageQueue.h"
#include "platform/Platform.h"

namespace automenu::platform {

class QueuedPlatform : public IPlatform {
public:
    void PostQuitMessage(int exit_code) override { m_queue.PostQuit(exit_code); }
    void SetTimer(WindowId w, int id, unsigned milliseconds) override { m_queue.SetTimer(w, id, milliseconds, Now()); }
    void KillTimer(WindowId w, int id) override { m_queue.KillTimer(w, id); }

protected:
    // The time timers are measured on, in milliseconds.
    virtual std::uint64_t Now() = 0;

    MessageQueue m_queue;
};

}  // namespace automenu::platform
