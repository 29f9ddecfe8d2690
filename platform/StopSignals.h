// The signals that end a command from outside. On POSIX systems: the
// terminal closing (HUP), Ctrl+C (INT), Ctrl+\ (QUIT), kill (TERM), and the
// reader of its output going away (PIPE, as when the terminal of a pager
// closes); on Windows, the console's Ctrl+C, Ctrl+Break and closing, noted as
// INT, BREAK and TERM (platform/posix/PosixStopSignals,
// platform/win32/Win32StopSignals). While a StopSignals
// lives they are only noted, so that the command can notice at its next step,
// take away what it half-made, and then end by the same signal, as if it had
// never caught it (a shell sees 128 + its number). A signal ignored when the
// tool started (nohup, a background job) stays ignored.
#pragma once

#include <memory>
#include <span>

namespace automenu::platform {

class StopSignals {
public:
    StopSignals();
    // Puts back the dispositions found.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal noted since the last StopSignals was made; 0 when none.
    static int Caught();
    // "SIGHUP" and so on ("Ctrl+C" on Windows); empty for a number not among them.
    static const char* Name(int signal);
    // Ends the process by the signal noted; returns only when none was.
    void EndByCaught() const;

    // The signals noted, by number.
    static std::span<const int> Signals();

private:
    // What was there before, put back at the end.
    struct Previous;
    std::unique_ptr<Previous> m_previous;
};

}  // namespace automenu::platform
