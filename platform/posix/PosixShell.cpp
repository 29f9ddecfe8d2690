#include "platform/posix/PosixShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/posix/FileDescriptor.h"

namespace automenu::platform {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Whether a regular file begins with the ELF magic or "#!".
bool StartsAsProgram(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    unsigned char head[4] = {};
    std::size_t got = 0;
    while (got < sizeof head) {
        const ssize_t n = ::read(fd.Get(), head + got, sizeof head - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    static constexpr unsigned char kElf[4] = {0x7F, 'E', 'L', 'F'};
    return (got == sizeof kElf && std::memcmp(head, kElf, sizeof kElf) == 0) ||
           (got >= 2 && head[0] == '#' && head[1] == '!');
}

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    if (argv.empty()) return pointers;
    pointers.reserve(argv.size() + 1);
    for (const auto& a : argv) pointers.push_back(const_cast<char*>(a.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// One line on standard error from a forked child: written straight to the
// descriptor, as stdio's lock may be held by a thread that did not fork along.
void WriteError(std::initializer_list<const char*> pieces) {
    for (const char* piece : pieces) {
        std::size_t left = std::strlen(piece);
        while (left > 0) {
            const ssize_t n = ::write(STDERR_FILENO, piece, left);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            piece += n;
            left -= static_cast<std::size_t>(n);
        }
    }
}

}  // namespace

bool IsRunnableProgram(const std::string& path) { return IsExecutableFile(path) && StartsAsProgram(path); }

std::string FindOnPath(const std::string& program, const std::string& search_path) {
    std::size_t start = 0;
    while (start <= search_path.size()) {
        std::size_t end = search_path.find(':', start);
        if (end == std::string::npos) end = search_path.size();
        // An empty entry means the current directory.
        std::string candidate = end > start ? search_path.substr(start, end - start) : std::string(".");
        candidate += '/';
        candidate += program;
        if (IsExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

OpenCommand ShellOpenCommand(const std::string& path, const std::string& search_path) {
    std::vector<std::string> through_opener;
    const std::string opener = FindOnPath("xdg-open", search_path);
    if (!opener.empty()) through_opener = {opener, path};
    if (IsRunnableProgram(path)) return {{path}, std::move(through_opener)};
    return {std::move(through_opener), {}};
}

void SpawnDetached(const OpenCommand& command) {
    if (command.argv.empty()) return;
    // Everything the children use is made here: after fork they only exec,
    // write and exit.
    const std::vector<char*> args = ArgumentPointers(command.argv);
    const std::vector<char*> fallback = ArgumentPointers(command.fallback);

    // Double fork: the intermediate child exits at once and is reaped here;
    // the grandchild is adopted by init, so it never lingers as a zombie.
    pid_t child = ::fork();
    if (child < 0) {
        std::fprintf(stderr, "automenu: cannot start %s: %s\n", args[0], std::strerror(errno));
        return;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execv(args[0], args.data());
            const char* reason = std::strerror(errno);
            if (fallback.empty()) {
                WriteError({"automenu: cannot start ", args[0], ": ", reason, "\n"});
                ::_exit(127);
            }
            WriteError({"automenu: cannot start ", args[0], ": ", reason, "; handing it to ", fallback[0], "\n"});
            ::execv(fallback[0], fallback.data());
            WriteError({"automenu: cannot start ", fallback[0], ": ", std::strerror(errno), "\n"});
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

void PosixShellOpen(const std::string& path) {
    const char* env_path = std::getenv("PATH");
    const OpenCommand command = ShellOpenCommand(path, env_path ? env_path : "/usr/local/bin:/usr/bin:/bin");
    if (command.argv.empty()) {
        std::fprintf(stderr, "automenu: cannot open %s: xdg-open not found\n", path.c_str());
        return;
    }
    SpawnDetached(command);
}

}  // namespace automenu::platform
