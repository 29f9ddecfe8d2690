#include "platform/posix/CompositorWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace automenu::platform {

namespace {

volatile sig_atomic_t g_watched = -1;  // the watch's socket, for the handler
struct sigaction g_previous {};

// Only async-signal-safe calls. Data from the compositor (it sends none to a
// client that asks nothing) is read and dropped; end-of-file or an error
// means the compositor is gone.
void OnSocketSignal(int) {
    const int fd = g_watched;
    if (fd < 0) return;
    const int saved_errno = errno;
    char bytes[64];
    ssize_t n;
    while ((n = ::recv(fd, bytes, sizeof bytes, MSG_DONTWAIT)) > 0) {
    }
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        static const char kText[] = "automenu: the connection to the display was lost\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kText, sizeof kText - 1);
        ::_exit(1);
    }
    errno = saved_errno;
}

}  // namespace

std::optional<std::string> CompositorSocketPath(const char* wayland_display, const char* runtime_dir,
                                                const char* wayland_socket) {
    if (wayland_socket && *wayland_socket) return std::nullopt;
    const std::string name = wayland_display && *wayland_display ? wayland_display : "wayland-0";
    if (name.front() == '/') return name;
    if (!runtime_dir || !*runtime_dir) return std::nullopt;
    std::string path = runtime_dir;
    if (path.back() != '/') path += '/';
    return path + name;
}

bool CompositorWatch::Start() {
    Stop();
    const std::optional<std::string> path =
        CompositorSocketPath(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR"),
                             std::getenv("WAYLAND_SOCKET"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!path || path->size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path->c_str(), path->size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return false;
    }
    m_socket = fd;
    g_watched = fd;
    struct sigaction action {};
    action.sa_handler = OnSocketSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGIO, &action, &g_previous);
    ::fcntl(fd, F_SETOWN, ::getpid());
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_ASYNC | O_NONBLOCK);
    // A compositor that went between the connection and the arming sends
    // no signal: look once.
    pollfd poll_fd{fd, POLLIN, 0};
    if (::poll(&poll_fd, 1, 0) > 0) OnSocketSignal(SIGIO);
    return true;
}

void CompositorWatch::Stop() {
    if (m_socket < 0) return;
    g_watched = -1;
    ::sigaction(SIGIO, &g_previous, nullptr);
    ::close(m_socket);
    m_socket = -1;
}

}  // namespace automenu::platform
