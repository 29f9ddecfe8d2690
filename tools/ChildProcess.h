// Running another program (xorriso) from the tool: always with an argument
// vector, never through a shell, its output captured for error messages.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace automenu::tool {

struct ProgramRun {
    bool started = false;  // false: the program is not installed or cannot run
    bool stopped = false;  // `stop` asked for it: the program was killed
    int status = -1;       // its exit status; -1 when a signal ended it
    std::string output;    // standard output and error together, at most its last 64 KiB
};

// Runs argv[0], looked up in PATH, with standard input from /dev/null, and
// waits for it. It runs in a process group of its own; while it runs, `stop`
// is asked at least every 50 ms, and once it answers yes the program and all
// it started are killed, and the program is waited for.
ProgramRun RunProgram(const std::vector<std::string>& argv, const std::function<bool()>& stop = {});

}  // namespace automenu::tool
