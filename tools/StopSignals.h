// The signals that end a command from outside: the terminal closing (HUP),
// Ctrl+C (INT), Ctrl+\ (QUIT), kill (TERM), and the reader of its output going
// away (PIPE, as when the terminal of a pager closes). While a StopSignals
// lives they are only noted, so that the command can notice at its next step,
// take away what it half-made, and then end by the same signal, as if it had
// never caught it (a shell sees 128 + its number). A signal ignored when the
// tool started (nohup, a background job) stays ignored.
#pragma once

#include <signal.h>

#include <array>

namespace automenu::tool {

class StopSignals {
public:
    StopSignals();
    // Puts back the dispositions found.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal noted since the last StopSignals was made; 0 when none.
    static int Caught();
    // "SIGHUP" and so on; empty for a number not among them.
    static const char* Name(int signal);
    // Ends the process by the signal noted; returns only when none was.
    void EndByCaught() const;

    static constexpr std::array<int, 5> kSignals = {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM};

private:
    std::array<struct sigaction, kSignals.size()> m_previous{};
    std::array<bool, kSignals.size()> m_installed{};
};

}  // namespace automenu::tool
