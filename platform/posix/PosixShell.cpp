#include "platform/posix/PosixShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

}  // namespace automenu::platform
