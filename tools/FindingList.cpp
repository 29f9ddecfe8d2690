#include "FindingList.h"

#include <algorithm>

namespace automenu::tool {

void FindingList::Add(Severity severity, int line, std::string message) {
    std::string seen = std::to_string(static_cast<int>(severity)) + ':' + std::to_string(line) + ':' + message;
    if (!m_added.insert(std::move(seen)).second) return;
    m_findings.push_back({severity, line, std::move(message)});
}

std::vector<Finding> FindingList::TakeSorted() {
    std::stable_sort(m_findings.begin(), m_findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    m_added.clear();
    return std::move(m_findings);
}

std::string Quote(std::string_view s) {
    std::string quoted;
    quoted.reserve(s.size() + 2);
    quoted += '"';
    quoted += s;
    quoted += '"';
    return quoted;
}

}  // namespace automenu::tool
