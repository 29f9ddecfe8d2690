#include "platform/ShellOpen.h"

#include "base/AsciiCase.h"

namespace automenu::platform {

std::string OpenFailureText(const OpenFailureReport& report) {
    const std::string named = "\"" + report.target + "\"";
    switch (report.reason) {
        case OpenFailure::NoSuchFile:
            return "Cannot open " + named + ": there is no such file or folder.";
        case OpenFailure::NoApplication:
            return "Cannot open " + named + ": no program on this computer is set up to open it.";
        case OpenFailure::WindowsProgram:
            return "Cannot start " + named + ": it is a Windows program, which runs only on Windows.";
        case OpenFailure::AccessDenied:
            return "Cannot open " + named + ": access is denied.";
        case OpenFailure::NotAProgram:
            return "Cannot start " + named + ": it is not a program this computer can run.";
        case OpenFailure::OutOfResources:
            return "Cannot open " + named + ": the computer is out of memory or other resources.";
        case OpenFailure::NoOpener:
            return "Cannot open " + named +
                   ": xdg-open, which opens files and links on this desktop, is not installed (package xdg-utils).";
        case OpenFailure::OpenerFailed:
            return "Cannot open " + named + ": the program that should open it reported a failure.";
        case OpenFailure::Other:
            break;
    }
    return "Cannot open " + named + ": the system reports error " + std::to_string(report.code) + ".";
}

bool IsWindowsProgramName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    for (std::string_view windows : {".exe", ".com", ".bat", ".cmd", ".msi", ".scr"})
        if (EqualsIgnoringCase(extension, windows)) return true;
    return false;
}

}  // namespace automenu::platform
