// Running another program (xorriso) from the tool: always with an argument
// vector, never through a shell, its output captured for error messages.
#pragma once

#include <string>
#include <vector>

namespace automenu::tool {

struct ProgramRun {
    bool started = false;  // false: the program is not installed or cannot run
    int status = -1;       // its exit status; -1 when a signal ended it
    std::string output;    // standard output and error together, at most its last 64 KiB
};

// Runs argv[0], looked up in PATH, with standard input from /dev/null, and
// waits for it.
ProgramRun RunProgram(const std::vector<std::string>& argv);

}  // namespace automenu::tool
