#include "CheckReport.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace automenu::tool {

namespace {

std::string JsonString(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* SeverityName(Severity s) {
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "";
}

std::string Plural(int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

int CheckReport::Count(Severity severity) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [&](const Finding& f) { return f.severity == severity; }));
}

std::string FormatText(const CheckReport& report) {
    std::string out;
    for (const Finding& f : report.findings) {
        out += report.file;
        if (f.line > 0) {
            out += ':';
            out += std::to_string(f.line);
        }
        out += ": ";
        out += SeverityName(f.severity);
        out += ": " + f.message + "\n";
    }
    out += Plural(report.Count(Severity::Error), "error") + ", " + Plural(report.Count(Severity::Warning), "warning") +
           "\n";
    return out;
}

std::string FormatJson(const CheckReport& report) {
    std::string out = "{\n  \"file\": " + JsonString(report.file) + ",\n  \"findings\": [";
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"line\": " + std::to_string(f.line) + ", \"severity\": " + JsonString(SeverityName(f.severity)) +
               ", \"message\": " + JsonString(f.message) + "}";
    }
    out += report.findings.empty() ? "],\n" : "\n  ],\n";
    out += "  \"errors\": " + std::to_string(report.Count(Severity::Error)) +
           ",\n  \"warnings\": " + std::to_string(report.Count(Severity::Warning)) +
           ",\n  \"notes\": " + std::to_string(report.Count(Severity::Note)) + "\n}\n";
    return out;
}

}  // namespace automenu::tool
