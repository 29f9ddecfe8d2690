// The desktop's "open" on Linux.
#pragma once

#include <string>
#include <vector>

namespace automenu::platform {

// What "open" runs for a path: a regular file with execute permission is
// started directly with no arguments; anything else (a folder, a document) is
// handed to xdg-open as its one argument. Empty when xdg-open is not found.
std::vector<std::string> ShellOpenCommand(const std::string& path, const std::string& search_path);

// Starts the command detached from the menu, in the current directory, without
// a shell and without waiting; the child is reaped so no zombie remains. The
// outcome is reported on standard error only.
void SpawnDetached(const std::vector<std::string>& argv);

// Finds a program on a PATH-style list; empty when absent.
std::string FindOnPath(const std::string& program, const std::string& search_path);

void PosixShellOpen(const std::string& path);

}  // namespace automenu::platform
