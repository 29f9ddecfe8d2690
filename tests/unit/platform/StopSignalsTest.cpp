// The signals that end the tool from outside are noted while a command tidies
// up, then end it as if never caught; one ignored from the start stays so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include "platform/StopSignals.h"

namespace automenu::platform {
namespace {

using Handler = void (*)(int);

Handler Disposition(int signal) {
    struct sigaction now {};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

void Set(int signal, Handler handler) {
    struct sigaction wanted {};
    wanted.sa_handler = handler;
    sigemptyset(&wanted.sa_mask);
    ::sigaction(signal, &wanted, nullptr);
}

TEST(StopSignalsTest, NotedThenPutBack) {
    for (const int signal : StopSignals::Signals()) {
        SCOPED_TRACE(StopSignals::Name(signal));
        const Handler before = Disposition(signal);
        {
            const StopSignals stop;
            EXPECT_EQ(StopSignals::Caught(), 0);
            ::raise(signal);  // would end the test program, were it obeyed
            const int other = signal == SIGTERM ? SIGHUP : SIGTERM;
            ::raise(other);  // the first one noted is the one the command ends by
            EXPECT_EQ(StopSignals::Caught(), signal);
        }
        EXPECT_EQ(Disposition(signal), before);
    }
}

TEST(StopSignalsTest, IgnoredFromTheStartStaysIgnored) {
    for (const int signal : StopSignals::Signals()) {
        SCOPED_TRACE(StopSignals::Name(signal));
        const Handler before = Disposition(signal);
        Set(signal, SIG_IGN);
        {
            const StopSignals stop;
            ::raise(signal);
            EXPECT_EQ(StopSignals::Caught(), 0);
            stop.EndByCaught();  // nothing noted: returns
        }
        EXPECT_EQ(Disposition(signal), SIG_IGN);
        Set(signal, before);
    }
}

void NoteThenEnd(int signal) {
    const rlimit no_core = {0, 0};  // SIGQUIT would leave one
    ::setrlimit(RLIMIT_CORE, &no_core);
    const StopSignals stop;
    ::raise(signal);
    stop.EndByCaught();
    std::exit(0);
}

TEST(StopSignalsTest, EndsByTheSignalNoted) {
    for (const int signal : StopSignals::Signals()) {
        SCOPED_TRACE(StopSignals::Name(signal));
        EXPECT_EXIT(NoteThenEnd(signal), ::testing::KilledBySignal(signal), "");
    }
}

}  // namespace
}  // namespace automenu::platform
