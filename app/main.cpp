// Program entry: create the menu window, run the loop until it is closed.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "platform/sdl/SdlPlatform.h"
#include "ui/TApplication.h"

namespace {
std::string ProgramPath(const char* argv0) {
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n > 0) return std::string(buffer.data(), static_cast<std::size_t>(n));
    return argv0 ? argv0 : "automenu";
}
}  // namespace

int main(int, char** argv) {
    using namespace automenu;
    platform::SdlPlatform desktop;
    std::string error;
    if (!desktop.Open(error)) {
        std::fprintf(stderr, "automenu: cannot open the display: %s\n", error.c_str());
        return 1;
    }
    SetPlatform(&desktop);
    // The application owns the menu window and destroys it at program end,
    // after the loop has returned.
    TApplication application(desktop, ProgramPath(argv[0]));
    try {
        application.Initialize();
        application.CreateForm(InstallationForm);
        application.Run();
    } catch (...) {
        // A start-up error (or running out of memory) is shown once; the
        // program then ends.
        application.HandleException();
    }
    return 0;
}
