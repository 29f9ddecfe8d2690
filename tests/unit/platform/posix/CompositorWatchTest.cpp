// The watch on the Wayland compositor: which socket it takes, and that the
// compositor's going (not its talking) ends the program with status 1.
#include "platform/posix/CompositorWatch.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

namespace automenu::platform {
namespace {

TEST(CompositorSocketPath, IsFoundAsTheWaylandClientLibraryFindsIt) {
    const struct {
        const char* what;
        const char* display;
        const char* runtime_dir;
        const char* socket;
        std::optional<std::string> path;
    } cases[] = {
        {"a name in the runtime directory", "wayland-1", "/run/user/1000", nullptr, "/run/user/1000/wayland-1"},
        {"a runtime directory ending in a slash", "w", "/run/user/1000/", nullptr, "/run/user/1000/w"},
        {"no name: the default", nullptr, "/run/user/1000", nullptr, "/run/user/1000/wayland-0"},
        {"an empty name: the default", "", "/run/user/1000", nullptr, "/run/user/1000/wayland-0"},
        {"an absolute name needs no runtime directory", "/tmp/comp", nullptr, nullptr, "/tmp/comp"},
        {"a name without a runtime directory", "wayland-1", nullptr, nullptr, std::nullopt},
        {"a name with an empty runtime directory", "wayland-1", "", nullptr, std::nullopt},
        {"a connection handed over", "wayland-1", "/run/user/1000", "5", std::nullopt},
        {"an empty WAYLAND_SOCKET counts as none", "wayland-1", "/run/user/1000", "", "/run/user/1000/wayland-1"},
    };
    for (const auto& c : cases) EXPECT_EQ(CompositorSocketPath(c.display, c.runtime_dir, c.socket), c.path) << c.what;
}

// A compositor of the test's own: a listening socket in a scratch runtime
// directory named by the environment.
class FakeCompositor {
public:
    FakeCompositor()
        : m_runtime("XDG_RUNTIME_DIR", m_dir.Path()), m_display("WAYLAND_DISPLAY", "compositor"),
          m_no_socket_given("WAYLAND_SOCKET", "") {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = m_dir.Join("compositor");
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 4) != 0)
            ADD_FAILURE() << "cannot listen on " << path;
    }
    ~FakeCompositor() {
        if (m_client >= 0) ::close(m_client);
        ::close(m_listener);
    }
    int Accept() { return m_client = ::accept(m_listener, nullptr, nullptr); }
    void Send(const char* bytes) { [[maybe_unused]] auto n = ::send(m_client, bytes, std::strlen(bytes), 0); }
    // Both ends the compositor holds go, as when it is killed.
    void Go() {
        ::close(m_client);
        ::close(m_listener);
        m_client = m_listener = -1;
    }

private:
    testing::TempDir m_dir;
    ScopedEnvironmentVariable m_runtime;
    ScopedEnvironmentVariable m_display;
    ScopedEnvironmentVariable m_no_socket_given;
    int m_listener = -1;
    int m_client = -1;
};

// In a child process: the watch started against the fake compositor, the
// script run, then a wait for the signal (a safety alarm ends a child that
// never gets it, which fails the expectation on its status).
[[noreturn]] void WatchThenWait(const std::function<void(FakeCompositor&)>& script) {
    FakeCompositor compositor;
    CompositorWatch watch;
    if (!watch.Start() || compositor.Accept() < 0) {
        std::fputs("no watch\n", stderr);
        std::_Exit(3);
    }
    script(compositor);
    ::alarm(20);
    for (;;) ::pause();
}

TEST(CompositorWatchDeathTest, TheCompositorGoingEndsTheProgramWithStatusOne) {
    EXPECT_EXIT(WatchThenWait([](FakeCompositor& c) { c.Go(); }), ::testing::ExitedWithCode(1),
                "^automenu: the connection to the display was lost\n$");
}

TEST(CompositorWatchDeathTest, BytesFromTheCompositorDoNotEndIt) {
    EXPECT_EXIT(WatchThenWait([](FakeCompositor& c) {
                    c.Send("hello");
                    std::fputs("still running\n", stderr);
                    c.Go();
                }),
                ::testing::ExitedWithCode(1), "^still running\nautomenu: the connection to the display was lost\n$");
}

TEST(CompositorWatch, StartsOnlyWithACompositorToWatchAndStopsQuietly) {
    {
        FakeCompositor compositor;
        CompositorWatch watch;
        EXPECT_TRUE(watch.Start());
        EXPECT_TRUE(watch.Watching());
        compositor.Accept();
        watch.Stop();
        EXPECT_FALSE(watch.Watching());
        compositor.Go();  // no longer watched: nothing happens
    }
    testing::TempDir empty;
    ScopedEnvironmentVariable runtime("XDG_RUNTIME_DIR", empty.Path());
    ScopedEnvironmentVariable display("WAYLAND_DISPLAY", "nobody-listens");
    CompositorWatch watch;
    EXPECT_FALSE(watch.Start());
    EXPECT_FALSE(watch.Watching());
}

}  // namespace
}  // namespace automenu::platform
