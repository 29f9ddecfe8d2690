#include "platform/PosixShell.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace automenu::platform {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

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

std::vector<std::string> ShellOpenCommand(const std::string& path, const std::string& search_path) {
    if (IsExecutableFile(path)) return {path};
    std::string opener = FindOnPath("xdg-open", search_path);
    if (opener.empty()) return {};
    return {opener, path};
}

void SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // Double fork: the intermediate child exits at once and is reaped here;
    // the grandchild is adopted by init, so it never lingers as a zombie.
    pid_t child = ::fork();
    if (child < 0) {
        std::fprintf(stderr, "automenu: cannot start %s: %s\n", argv[0].c_str(), std::strerror(errno));
        return;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execv(args[0], args.data());
            std::fprintf(stderr, "automenu: cannot start %s: %s\n", args[0], std::strerror(errno));
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
    auto argv = ShellOpenCommand(path, env_path ? env_path : "/usr/local/bin:/usr/bin:/bin");
    if (argv.empty()) {
        std::fprintf(stderr, "automenu: cannot open %s: xdg-open not found\n", path.c_str());
        return;
    }
    SpawnDetached(argv);
}

}  // namespace automenu::platform
