// Program entry: create the menu window, run the loop until it is closed.
#include <cstdio>
#include <string>
#include <vector>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "ui/TApplication.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/posix/PosixFiles.h"
#include "platform/sdl/SdlPlatform.h"
#endif

namespace {

#ifdef _WIN32
using Desktop = automenu::platform::Win32Platform;

std::string ProgramPath(const char* argv0) {
    std::vector<char> buffer(32768);
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n > 0 && n < buffer.size()) return std::string(buffer.data(), n);
    return argv0 ? argv0 : "automenu.exe";
}
#else
using Desktop = automenu::platform::SdlPlatform;

std::string ProgramPath(const char* argv0) {
    if (std::string path = automenu::platform::PosixProgramPath(); !path.empty()) return path;
    return argv0 ? argv0 : "automenu";
}
#endif

}  // namespace

int main(int, char** argv) {
    using namespace automenu;
    Desktop desktop;
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
        // Without even a window for the box the start failed outright (the
        // display refuses windows): a failure, not a shown error.
        if (application.ErrorBoxFailed()) return 1;
    }
    return 0;
}
