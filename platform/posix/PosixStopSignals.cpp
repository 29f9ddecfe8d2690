#include <signal.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/StopSignals.h"

namespace automenu::platform {

namespace {

constexpr std::array<int, 5> kSignals = {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM};

// All the handler does: a lock-free atomic is safe to touch in a handler.
std::atomic<int> g_caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void NoteSignal(int signal) {
    int none = 0;
    g_caught.compare_exchange_strong(none, signal);
}

}  // namespace

struct StopSignals::Previous {
    std::array<struct sigaction, kSignals.size()> actions{};
    std::array<bool, kSignals.size()> installed{};
};

std::span<const int> StopSignals::Signals() { return kSignals; }

StopSignals::StopSignals() : m_previous(std::make_unique<Previous>()) {
    g_caught = 0;
    struct sigaction noting {};
    noting.sa_handler = NoteSignal;
    // Restarted calls keep the library's file operations whole; the command
    // looks at Caught() between bounded steps instead of relying on EINTR.
    noting.sa_flags = SA_RESTART;
    sigemptyset(&noting.sa_mask);
    for (const int signal : kSignals) sigaddset(&noting.sa_mask, signal);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction& previous = m_previous->actions[i];
        if (::sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
        m_previous->installed[i] = ::sigaction(kSignals[i], &noting, nullptr) == 0;
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (m_previous->installed[i]) ::sigaction(kSignals[i], &m_previous->actions[i], nullptr);
}

int StopSignals::Caught() { return g_caught.load(); }

const char* StopSignals::Name(int signal) {
    switch (signal) {
    case SIGHUP: return "SIGHUP";
    case SIGINT: return "SIGINT";
    case SIGQUIT: return "SIGQUIT";
    case SIGPIPE: return "SIGPIPE";
    case SIGTERM: return "SIGTERM";
    default: return "";
    }
}

void StopSignals::EndByCaught() const {
    const int signal = Caught();
    if (signal == 0) return;
    std::fflush(nullptr);
    struct sigaction fatal {};
    fatal.sa_handler = SIG_DFL;
    sigemptyset(&fatal.sa_mask);
    ::sigaction(signal, &fatal, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    // Each of them ends the process by default; this is not reached.
    std::_Exit(128 + signal);
}

}  // namespace automenu::platform
