#include "platform/posix/DesktopOpener.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/FileDescriptor.h"
#include "platform/posix/PosixShell.h"

namespace automenu::platform {

namespace {

constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

// The menu's file targets are absolute paths, and a link never starts with
// "/".
bool IsFilePath(std::string_view target) { return target.starts_with('/'); }

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const auto& a : argv) pointers.push_back(const_cast<char*>(a.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// From a forked child: the errno of a failed start, for the parent to read.
[[noreturn]] void ReportAndExit(int pipe, int error) {
    while (::write(pipe, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

// Starts argv in a session of its own, so that it outlives the menu and no
// signal aimed at the menu's terminal reaches it. With `detach` a child
// starts it and ends at once, so it is no child of the menu and can never
// linger as one; otherwise `pid` is the child that runs it. Learns the
// outcome of exec through a close-on-exec pipe: 0 once the program runs, or
// the errno of the failure.
int Start(const std::vector<std::string>& argv, bool detach, pid_t& pid) {
    // Everything the children use is made here: after fork they only call
    // async-signal-safe functions.
    const std::vector<char*> args = ArgumentPointers(argv);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return errno;
    FileDescriptor from_child(ends[0]);
    FileDescriptor to_parent(ends[1]);

    pid = ::fork();
    if (pid < 0) return errno;
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::setsid();
        if (detach) {
            const pid_t program = ::fork();
            if (program < 0) ReportAndExit(to_parent.Get(), errno);
            if (program > 0) ::_exit(0);
        }
        ::execv(args[0], args.data());
        ReportAndExit(to_parent.Get(), errno);
    }
    to_parent.Close();
    int error = 0;
    ssize_t n;
    while ((n = ::read(from_child.Get(), &error, sizeof error)) < 0 && errno == EINTR) {
    }
    if (n != static_cast<ssize_t>(sizeof error)) error = 0;  // closed by exec: running
    // A detached start's child ends right after its fork, a failed one right
    // after its report: neither takes time to reap.
    if (detach || error != 0) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return error;
}

}  // namespace

OpenFailure StartFailure(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return OpenFailure::AccessDenied;
        case ENOENT:  // the file is there: its "#!" interpreter or loader is not
        case ENOEXEC:
        case ELIBBAD:
        case EISDIR:
            return OpenFailure::NotAProgram;
        case ENOMEM:
        case EAGAIN:
        case EMFILE:
        case ENFILE:
        case E2BIG:
            return OpenFailure::OutOfResources;
        default:
            return OpenFailure::Other;
    }
}

std::optional<OpenFailure> OpenerStatusFailure(int wait_status, std::string_view target) {
    if (WIFSIGNALED(wait_status)) return OpenFailure::OpenerFailed;
    if (!WIFEXITED(wait_status)) return std::nullopt;
    switch (WEXITSTATUS(wait_status)) {
        case 0:
            return std::nullopt;
        case 2:
            return OpenFailure::NoSuchFile;
        case 3:
        case 4:
            // Nothing opens it (3), or what should have opened it failed (4):
            // for a Windows program, because this system does not run it.
            if (IsFilePath(target) && IsWindowsProgramName(target)) return OpenFailure::WindowsProgram;
            return WEXITSTATUS(wait_status) == 3 ? OpenFailure::NoApplication : OpenFailure::OpenerFailed;
        case 5:
            return OpenFailure::AccessDenied;
        default:
            return OpenFailure::OpenerFailed;
    }
}

DesktopOpener::~DesktopOpener() { Poll(); }

std::optional<OpenFailureReport> DesktopOpener::Open(const std::string& target) {
    // A file that is not there needs no opener to say so.
    struct stat st {};
    if (IsFilePath(target) && ::stat(target.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return OpenFailureReport{target, OpenFailure::NoSuchFile};

    const char* search_path = std::getenv("PATH");
    const OpenCommand command = ShellOpenCommand(target, search_path ? search_path : kDefaultSearchPath);
    if (command.argv.empty()) return OpenFailureReport{target, OpenFailure::NoOpener};
    if (command.argv.size() > 1) return StartOpener(command.argv, target);

    pid_t unused = 0;
    const int error = Start(command.argv, true, unused);
    if (error == 0) return std::nullopt;
    if (command.fallback.empty()) return OpenFailureReport{target, StartFailure(error), error};
    std::fprintf(stderr, "automenu: cannot start %s: %s; handing it to %s\n", target.c_str(), std::strerror(error),
                 command.fallback.front().c_str());
    return StartOpener(command.fallback, target);
}

std::optional<OpenFailureReport> DesktopOpener::StartOpener(const std::vector<std::string>& argv,
                                                            const std::string& target) {
    pid_t pid = 0;
    const int error = Start(argv, false, pid);
    if (error != 0) return OpenFailureReport{target, StartFailure(error), error};
    m_watched.push_back({pid, target});
    return std::nullopt;
}

std::vector<OpenFailureReport> DesktopOpener::Poll() {
    std::vector<OpenFailureReport> failures;
    for (auto it = m_watched.begin(); it != m_watched.end();) {
        int status = 0;
        const pid_t ended = ::waitpid(it->pid, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR)) {
            ++it;
            continue;
        }
        // Reaped now (or by someone else, which leaves nothing to tell).
        if (ended > 0) {
            if (auto reason = OpenerStatusFailure(status, it->target))
                failures.push_back({it->target, *reason, WIFEXITED(status) ? WEXITSTATUS(status) : 0});
        }
        it = m_watched.erase(it);
    }
    return failures;
}

}  // namespace automenu::platform
