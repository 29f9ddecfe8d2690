// The desktop's "open" on Linux, with its failures learned without waiting.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ShellOpen.h"

namespace automenu::platform {

class DesktopOpener {
public:
    DesktopOpener() = default;
    // Reaps the openers that have ended; those still running go on, and the
    // system adopts them when the menu ends.
    ~DesktopOpener();
    DesktopOpener(const DesktopOpener&) = delete;
    DesktopOpener& operator=(const DesktopOpener&) = delete;

    // Opens a target as ShellOpenCommand says, with the environment's PATH,
    // without a shell. A runnable program is started in a session of its
    // own and is no child of the menu; anything else goes to the opener,
    // which is watched until it ends. Returns the failure that is known at
    // once: a file that does not exist, no opener, a program that cannot be
    // started and no opener to hand it to. Waits only until the program or
    // the opener has been started (its exec), never while it runs.
    std::optional<OpenFailureReport> Open(const std::string& target);

    // The failures of watched openers that have ended since the last call;
    // every ended opener is reaped. Never waits.
    std::vector<OpenFailureReport> Poll();

    // Whether an opener is still watched: the loop then wakes now and again
    // to Poll.
    bool Watching() const { return !m_watched.empty(); }

private:
    struct Watched {
        pid_t pid;
        std::string target;
    };
    std::optional<OpenFailureReport> StartOpener(const std::vector<std::string>& argv, const std::string& target);

    std::vector<Watched> m_watched;
};

// What an opener's wait status says about a target, or nothing when it
// opened it. xdg-open's exit statuses: 1 usage, 2 no such file, 3 a required
// tool missing (nothing to open it with), 4 the action failed, 5 no
// permission to read the file. A Windows program that nothing opens is told
// as such.
std::optional<OpenFailure> OpenerStatusFailure(int wait_status, std::string_view target);

// What an errno of starting a program (fork, exec) says.
OpenFailure StartFailure(int error);

}  // namespace automenu::platform
