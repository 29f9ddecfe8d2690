// Program entry: choose the system's back end, create the menu window, run
// the loop until it is closed.
#include <cstdio>
#include <string>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "ui/TApplication.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
using Desktop = automenu::platform::Win32Platform;
constexpr char kProgramName[] = "automenu.exe";
#else
#include "platform/sdl/SdlPlatform.h"
using Desktop = automenu::platform::SdlPlatform;
constexpr char kProgramName[] = "automenu";
#endif

int main(int, char** argv) {
    using namespace automenu;
    Desktop desktop;
    std::string error;
    if (!desktop.Open(error)) {
        std::fprintf(stderr, "automenu: cannot open the display: %s\n", error.c_str());
        return 1;
    }
    SetPlatform(&desktop);
    // The title comes from the program's own file name.
    std::string program_path = desktop.Files().ProgramPath();
    if (program_path.empty()) program_path = argv[0] ? argv[0] : kProgramName;
    // The application owns the menu window and destroys it at program end,
    // after the loop has returned.
    TApplication application(desktop, program_path);
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
