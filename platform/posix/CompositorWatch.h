// Ends the program, with status 1 and a line on standard error, the moment
// the Wayland compositor goes away.
//
// SDL's Wayland driver waits for the compositor in places that never notice
// it has gone: showing a window dispatches until the first configure event,
// libdecor dispatches in a loop of its own, and a start-up that fails
// half-way can crash in its clean-up. None of them returns to the back end,
// so no check there can help. Instead the watch holds a connection of its
// own to the compositor's socket that never says a word: the compositor
// never writes to it, and when the compositor ends, the kernel hangs it up
// and signals the program (SIGIO) wherever it is.
#pragma once

#include <optional>
#include <string>

namespace automenu::platform {

// The socket a Wayland client connects to, as libwayland finds it:
// WAYLAND_DISPLAY (default "wayland-0"), relative to XDG_RUNTIME_DIR unless
// absolute. None when WAYLAND_SOCKET hands the client a connection ready made
// (there is no second one to be had) or the runtime directory is missing.
std::optional<std::string> CompositorSocketPath(const char* wayland_display, const char* runtime_dir,
                                                const char* wayland_socket);

class CompositorWatch {
public:
    CompositorWatch() = default;
    ~CompositorWatch() { Stop(); }
    CompositorWatch(const CompositorWatch&) = delete;
    CompositorWatch& operator=(const CompositorWatch&) = delete;

    // Connects to the compositor the environment names and arms the signal.
    // False, and nothing armed, when there is none to connect to. One watch
    // at a time per process.
    bool Start();
    // Disarms and disconnects (when the program chose another display).
    void Stop();
    bool Watching() const { return m_socket >= 0; }

private:
    int m_socket = -1;
};

}  // namespace automenu::platform
