#include "platform/PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace automenu::platform {

namespace {
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};
}  // namespace

std::string PosixCurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

FileReadResult PosixReadFile(const std::string& path, std::size_t max_bytes) {
    FileReadResult result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) return result;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return result;
    const auto size = static_cast<std::size_t>(st.st_size);
    const std::size_t wanted = size < max_bytes ? size : max_bytes;
    result.bytes.resize(wanted);
    std::size_t got = 0;
    while (got < wanted) {
        ssize_t n = ::read(fd.Get(), result.bytes.data() + got, wanted - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    result.bytes.resize(got);  // the file may have shrunk meanwhile
    result.status = size > max_bytes ? FileReadStatus::TooLarge : FileReadStatus::Ok;
    return result;
}

}  // namespace automenu::platform
