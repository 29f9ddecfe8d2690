#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/posix/FileDescriptor.h"

namespace automenu::platform {

namespace {

struct ReadOutcome {
    FileReadStatus status = FileReadStatus::CannotOpen;
    bool read_error = false;
};

enum class Oversize {
    KeepStart,  // a longer file gives its first max_bytes
    Refuse,     // a longer file is neither read nor allocated for
};

// Reads at most max_bytes of a regular file into `bytes` (a std::string or a
// byte vector), reserving `spare` bytes more. The size is taken from fstat
// before anything is allocated. A read error keeps the bytes read before it.
template <typename Buffer>
ReadOutcome ReadRegularFile(const std::string& path, std::size_t max_bytes, std::size_t spare, Oversize oversize,
                            Buffer& bytes) {
    ReadOutcome outcome;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) return outcome;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return outcome;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    const bool too_large = size > max_bytes;
    outcome.status = too_large ? FileReadStatus::TooLarge : FileReadStatus::Ok;
    if (too_large && oversize == Oversize::Refuse) return outcome;
    const std::size_t wanted = too_large ? max_bytes : static_cast<std::size_t>(size);
    bytes.reserve(wanted + spare);
    bytes.resize(wanted);
    std::size_t got = 0;
    while (got < wanted) {
        ssize_t n = ::read(fd.Get(), bytes.data() + got, wanted - got);
        if (n < 0 && errno == EINTR) continue;
        outcome.read_error = n < 0;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);  // the file may have shrunk meanwhile
    return outcome;
}

}  // namespace

std::string PosixCurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string PosixProgramPath() {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

FileReadResult PosixReadFile(const std::string& path, std::size_t max_bytes) {
    FileReadResult result;
    result.status = ReadRegularFile(path, max_bytes, 0, Oversize::Refuse, result.bytes).status;
    return result;
}

FileReadStatus PosixReadFile(const std::string& path, std::size_t max_bytes, std::string& bytes, std::size_t spare) {
    const ReadOutcome outcome = ReadRegularFile(path, max_bytes, spare, Oversize::KeepStart, bytes);
    if (!outcome.read_error) return outcome.status;
    bytes.clear();
    return FileReadStatus::CannotOpen;
}

}  // namespace automenu::platform
