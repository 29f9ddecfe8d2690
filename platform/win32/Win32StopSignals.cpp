#include <signal.h>

#include <array>
#include <atomic>
#include <cstdio>

#include "platform/StopSignals.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

namespace {

// The C runtime's numbers for what the console asks: Ctrl+C, Ctrl+Break, and
// closing it (or the session ending).
constexpr int kBreak = 21;  // SIGBREAK
constexpr std::array<int, 3> kSignals = {SIGINT, kBreak, SIGTERM};

std::atomic<int> g_caught{0};

BOOL WINAPI NoteConsoleEvent(DWORD event) {
    int signal = SIGTERM;
    if (event == CTRL_C_EVENT) signal = SIGINT;
    if (event == CTRL_BREAK_EVENT) signal = kBreak;
    int none = 0;
    g_caught.compare_exchange_strong(none, signal);
    if (signal == SIGTERM) {
        // Windows ends the process when this returns from a close: give the
        // command the seconds the system allows to take away what it made.
        for (int i = 0; i < 50; ++i) ::Sleep(100);
    }
    return TRUE;
}

}  // namespace

struct StopSignals::Previous {
    bool installed = false;
};

std::span<const int> StopSignals::Signals() { return kSignals; }

StopSignals::StopSignals() : m_previous(std::make_unique<Previous>()) {
    g_caught = 0;
    m_previous->installed = ::SetConsoleCtrlHandler(NoteConsoleEvent, TRUE) != 0;
}

StopSignals::~StopSignals() {
    if (m_previous->installed) ::SetConsoleCtrlHandler(NoteConsoleEvent, FALSE);
}

int StopSignals::Caught() { return g_caught.load(); }

const char* StopSignals::Name(int signal) {
    switch (signal) {
    case SIGINT: return "Ctrl+C";
    case kBreak: return "Ctrl+Break";
    case SIGTERM: return "the console closing";
    default: return "";
    }
}

void StopSignals::EndByCaught() const {
    if (Caught() == 0) return;
    std::fflush(nullptr);
    // The status a console program ends with when Ctrl+C ends it.
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace automenu::platform
