// Program entry: choose the system's back end, create the menu window, run
// the loop until it is closed.
#include <cstdio>
#include <string>
#include <string_view>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "ui/TApplication.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Platform.h"
using Desktop = automenu::platform::Win32Platform;
constexpr char kProgramName[] = "automenu.exe";

// A program of the graphical subsystem has no console of its own: what it
// prints goes where its output was sent, else to the console it was started
// from.
void UseStartingConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!std::freopen("CONOUT$", "w", stdout)) return;
}
#else
#include "platform/sdl/SdlPlatform.h"
using Desktop = automenu::platform::SdlPlatform;
constexpr char kProgramName[] = "automenu";
void UseStartingConsole() {}
#endif

namespace {

constexpr char kHelp[] =
    "usage: %s\n"
    "       %s --help | --version\n"
    "\n"
    "Shows the start menu described by AUTORUN.INF in the current directory:\n"
    "start it from the folder of the medium. It takes no other arguments and\n"
    "ignores any it is given. automenu-tool checks, draws and packs a menu.\n";

// --help and --version are answered without opening a window; every other
// argument is ignored. Whether one was answered.
bool Answered(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i] ? argv[i] : "";
        if (word != "--help" && word != "-h" && word != "--version") continue;
        UseStartingConsole();
        if (word == "--version")
            std::printf("%s " AUTOMENU_VERSION "\n", kProgramName);
        else
            std::printf(kHelp, kProgramName, kProgramName);
        std::fflush(stdout);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace automenu;
    if (Answered(argc, argv)) return 0;
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
