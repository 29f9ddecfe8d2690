// The findings of one check as the checkers add them: each once, then sorted
// by line with those of one line in the order they came.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "CheckReport.h"

namespace automenu::tool {

class FindingList {
public:
    void Add(Severity severity, int line, std::string message);
    std::vector<Finding> TakeSorted();

private:
    std::vector<Finding> m_findings;
    std::unordered_set<std::string> m_added;  // severity, line and message of each finding
};

// A name or value as findings show it: in double quotes.
std::string Quote(std::string_view s);

}  // namespace automenu::tool
