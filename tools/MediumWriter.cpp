#include "MediumWriter.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/posix/FileDescriptor.h"

namespace automenu::tool {

namespace {

constexpr std::size_t kCopyBuffer = 256 * 1024;

// What failed and why, from errno as the failing call left it.
std::string Failed(const std::string& file, std::string_view what) {
    return file + " " + std::string(what) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> MediumWriter::Stopped(const std::string& path) const {
    if (!m_stop || !m_stop()) return std::nullopt;
    return Shown(path) + ": stopped before it was written whole";
}

template <typename Fill>
std::optional<std::string> MediumWriter::Make(const std::string& path, mode_t mode, Fill fill) const {
    if (std::optional<std::string> stopped = Stopped(path)) return stopped;
    const std::string to = (m_root / path).string();
    platform::FileDescriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.Get() < 0) return Failed(Shown(path), "cannot be written");
    if (std::optional<std::string> problem = fill(out.Get())) return problem;
    if (::fchmod(out.Get(), mode) != 0 || out.Close() != 0) return Failed(Shown(path), "cannot be written");
    return std::nullopt;
}

std::optional<std::string> MediumWriter::Folder(const std::string& path, mode_t mode) const {
    if (std::optional<std::string> stopped = Stopped(path)) return stopped;
    const std::string to = (m_root / path).string();
    if (::mkdir(to.c_str(), 0700) != 0 || ::chmod(to.c_str(), mode) != 0) return Failed(Shown(path), "cannot be made");
    return std::nullopt;
}

std::optional<std::string> MediumWriter::Write(const std::string& path, std::string_view bytes, mode_t mode) const {
    return Make(path, mode, [&](int fd) -> std::optional<std::string> {
        if (!WriteAll(fd, bytes)) return Failed(Shown(path), "cannot be written");
        return std::nullopt;
    });
}

std::optional<std::string> MediumWriter::Copy(const std::filesystem::path& from, const std::string& from_shown,
                                              const std::string& path, mode_t mode) const {
    // Not waiting for a writer, should a pipe have taken the file's place.
    platform::FileDescriptor in(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.Get() < 0) return Failed(from_shown, "cannot be read");
    struct stat st {};
    if (::fstat(in.Get(), &st) != 0) return Failed(from_shown, "cannot be read");
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return Failed(from_shown, "cannot be read");
    }
    if (!S_ISREG(st.st_mode)) return from_shown + " cannot be read: not a file";
    return Make(path, mode, [&](int fd) -> std::optional<std::string> {
        std::vector<char> buffer(kCopyBuffer);
        for (;;) {
            if (std::optional<std::string> stopped = Stopped(path)) return stopped;
            const ssize_t n = ::read(in.Get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return Failed(from_shown, "cannot be read");
            if (n == 0) return std::nullopt;
            if (!WriteAll(fd, {buffer.data(), static_cast<std::size_t>(n)}))
                return Failed(Shown(path), "cannot be written");
        }
    });
}

}  // namespace automenu::tool
