// `automenu-tool check`: what the menu would make of a directory's
// AUTORUN.INF, as compiler-style findings.
#pragma once

#include <string>
#include <vector>

namespace automenu::tool {

enum class Severity { Error, Warning, Note };

struct Finding {
    Severity severity = Severity::Warning;
    int line = 0;  // 0: the file as a whole
    std::string message;
};

struct CheckReport {
    std::string file;  // the configuration file as shown in findings
    std::vector<Finding> findings;  // by line
    int Count(Severity severity) const;
};

// Reads DIR's AUTORUN.INF with the menu's lookup rules, runs the start-up pass
// and the mouse-move passes on the headless back end, and reports. The
// process's current directory is DIR while the passes run, and restored.
CheckReport CheckDirectory(const std::string& directory);

// "FILE:LINE: error: message" lines and the summary "N errors, M warnings".
std::string FormatText(const CheckReport& report);
std::string FormatJson(const CheckReport& report);

// Levenshtein distance of two texts, ignoring ASCII case.
std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b);

}  // namespace automenu::tool
