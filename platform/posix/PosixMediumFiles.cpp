#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/MediumFiles.h"

namespace automenu::platform {

namespace {
int Fd(std::intptr_t handle) { return static_cast<int>(handle); }
std::string SystemWords() { return std::strerror(errno); }
}  // namespace

NewFile::NewFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) m_error = SystemWords();
    else m_handle = fd;
}

NewFile::~NewFile() {
    if (IsOpen()) ::close(Fd(m_handle));
}

bool NewFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(Fd(m_handle), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            m_error = SystemWords();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool NewFile::Finish(FileMode mode) {
    const bool moded = ::fchmod(Fd(m_handle), static_cast<mode_t>(mode)) == 0;
    if (!moded) m_error = SystemWords();
    const int fd = Fd(m_handle);
    m_handle = kClosed;
    if (::close(fd) != 0 && moded) {
        m_error = SystemWords();
        return false;
    }
    return moded;
}

SourceFile::SourceFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) m_error = SystemWords();
    else m_handle = fd;
}

SourceFile::~SourceFile() {
    if (IsOpen()) ::close(Fd(m_handle));
}

SourceFile::Kind SourceFile::Type() {
    struct stat st {};
    if (::fstat(Fd(m_handle), &st) != 0) {
        m_error = SystemWords();
        return Kind::Other;
    }
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        m_error = SystemWords();
        return Kind::Folder;
    }
    return S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
}

std::ptrdiff_t SourceFile::Read(std::span<char> buffer) {
    for (;;) {
        const ssize_t n = ::read(Fd(m_handle), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) m_error = SystemWords();
        return n;
    }
}

std::string MakeFolder(const std::filesystem::path& path, FileMode mode) {
    if (::mkdir(path.c_str(), 0700) != 0 || ::chmod(path.c_str(), static_cast<mode_t>(mode)) != 0)
        return SystemWords();
    return {};
}

}  // namespace automenu::platform
