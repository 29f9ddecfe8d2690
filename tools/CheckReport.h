// What `automenu-tool check` found in a directory's AUTORUN.INF, and the two
// ways it prints it.
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

// "FILE:LINE: error: message" lines and the summary "N errors, M warnings".
std::string FormatText(const CheckReport& report);
std::string FormatJson(const CheckReport& report);

}  // namespace automenu::tool
