#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/FileDescriptor.h"

extern char** environ;

namespace automenu::tool {

namespace {

constexpr std::size_t kKeptOutput = 64 * 1024;
constexpr int kStopCheckMs = 50;

// A posix_spawn settings object, destroyed when it goes out of scope.
template <typename T, int (*Init)(T*), int (*Destroy)(T*)>
class SpawnSettings {
public:
    SpawnSettings() { Init(&m_settings); }
    ~SpawnSettings() { Destroy(&m_settings); }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
    T* Get() { return &m_settings; }

private:
    T m_settings;
};

using SpawnActions =
    SpawnSettings<posix_spawn_file_actions_t, posix_spawn_file_actions_init, posix_spawn_file_actions_destroy>;
using SpawnAttributes = SpawnSettings<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;

int Reap(pid_t pid) {
    int wait_status = 0;
    while (::waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
    }
    return wait_status;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv, const std::function<bool()>& stop) {
    ProgramRun run;
    if (argv.empty()) return run;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return run;
    platform::FileDescriptor read_end(fds[0]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int spawned = 0;
    {
        platform::FileDescriptor write_end(fds[1]);
        SpawnActions actions;
        posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(actions.Get(), write_end.Get(), STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(actions.Get(), write_end.Get(), STDERR_FILENO);
        // Its own group, so that one kill reaches what it starts in turn.
        SpawnAttributes attributes;
        posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(attributes.Get(), 0);
        spawned = ::posix_spawnp(&pid, args[0], actions.Get(), attributes.Get(), args.data(), environ);
    }  // our copy of the write end closes here, so the reads below see the end
    if (spawned != 0) return run;

    // Reads its output until the end, then waits for it to end, never
    // blocking longer than a check of `stop` allows.
    bool reading = true;
    int wait_status = 0;
    for (;;) {
        if (stop && stop()) {
            ::kill(-pid, SIGKILL);
            Reap(pid);
            run.started = true;
            run.stopped = true;
            return run;
        }
        if (!reading && !stop) {
            wait_status = Reap(pid);
            break;
        }
        if (!reading) {
            const pid_t ended = ::waitpid(pid, &wait_status, WNOHANG);
            if (ended == pid) break;
            if (ended < 0 && errno != EINTR) {
                wait_status = Reap(pid);
                break;
            }
            ::poll(nullptr, 0, kStopCheckMs);
            continue;
        }
        pollfd ready{read_end.Get(), POLLIN, 0};
        const int events = ::poll(&ready, 1, kStopCheckMs);
        if (events == 0 || (events < 0 && errno == EINTR)) continue;
        char buffer[4096];
        const ssize_t n = events < 0 ? -1 : ::read(read_end.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            reading = false;
            continue;
        }
        run.output.append(buffer, static_cast<std::size_t>(n));
        if (run.output.size() > 2 * kKeptOutput) run.output.erase(0, run.output.size() - kKeptOutput);
    }
    if (run.output.size() > kKeptOutput) run.output.erase(0, run.output.size() - kKeptOutput);
    // posix_spawnp reports a program it could not execute as exit status 127.
    run.started = !(WIFEXITED(wait_status) && WEXITSTATUS(wait_status) == 127 && run.output.empty());
    run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    return run;
}

}  // namespace automenu::tool
