// What the desktop's "open" runs on Linux (DesktopOpener runs it).
#pragma once

#include <string>
#include <vector>

namespace automenu::platform {

// Whether "open" starts a path itself: a regular file with execute permission
// whose first bytes are those of a program this system runs, the ELF magic
// (0x7F 'E' 'L' 'F') or "#!". The mode bits alone do not tell: a disc written
// on Windows is mounted with every file 0555, FAT sticks mark .exe, .com and
// .bat files executable, NTFS and exFAT mounts often mark every file so.
// Reads at most the first four bytes.
bool IsRunnableProgram(const std::string& path);

// What "open" runs for a path, as argument vectors (never a shell command).
struct OpenCommand {
    std::vector<std::string> argv;      // empty: nothing can open the path
    std::vector<std::string> fallback;  // run instead when argv cannot be started; may be empty
};

// A runnable program (see IsRunnableProgram) is started directly with no
// arguments, with xdg-open and the path as the fallback for when starting it
// fails anyway (a "#!" interpreter that is missing, a program for another
// machine). Anything else, whatever its mode bits (a document, a folder, a
// Windows program, a shortcut), is handed to xdg-open as its one unchanged
// argument. xdg-open is looked up on search_path; without it, argv is empty
// unless the path is a runnable program, and there is no fallback.
OpenCommand ShellOpenCommand(const std::string& path, const std::string& search_path);

// Finds a program on a PATH-style list; empty when absent.
std::string FindOnPath(const std::string& program, const std::string& search_path);

}  // namespace automenu::platform
