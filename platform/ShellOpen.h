// What became of the desktop's "open" for a launch target, when it failed, in
// the words the menu shows on every system. Each back end turns its system's
// own report (Windows' shell errors, the Linux opener's exit status) into one
// of these reasons.
#pragma once

#include <string>
#include <string_view>

namespace automenu::platform {

enum class OpenFailure : unsigned char {
    NoSuchFile,      // the target does not exist
    NoApplication,   // nothing on this computer is set up to open it
    WindowsProgram,  // a Windows program, on a system that does not run them
    AccessDenied,
    NotAProgram,     // started as a program, but not one this computer runs
    OutOfResources,  // memory or another system resource ran out
    NoOpener,        // the desktop's opener (xdg-open) is not installed
    OpenerFailed,    // the opener, or the program it chose, reported a failure
    Other,           // any other report, told by its number
};

struct OpenFailureReport {
    std::string target;  // as it was handed to the system
    OpenFailure reason = OpenFailure::Other;
    long code = 0;       // the system's own number, for Other

    bool operator==(const OpenFailureReport&) const = default;
};

// The one sentence the error box shows: it names the target and the reason.
std::string OpenFailureText(const OpenFailureReport& report);

// Whether a file name is that of a program only Windows starts (.exe, .com,
// .bat, .cmd, .msi, .scr), whatever its case.
bool IsWindowsProgramName(std::string_view path);

}  // namespace automenu::platform
