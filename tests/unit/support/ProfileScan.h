// A second reading of a byte file (no byte-order mark), line by line as the
// profile API searches it, written straight from the rules in
// config/ProfileReader.h: the indexed reader must agree with it.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace automenu::testing {

inline bool ScanBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

inline std::string_view ScanTrim(std::string_view s) {
    while (!s.empty() && ScanBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && ScanBlank(s.back())) s.remove_suffix(1);
    return s;
}

inline std::string_view ScanCutAtNul(std::string_view s) { return s.substr(0, s.find('\0')); }

inline bool ScanNameIs(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

inline std::optional<std::string> ScanProfile(std::string_view text, std::string_view section, std::string_view key) {
    section = ScanTrim(ScanCutAtNul(section));
    key = ScanTrim(ScanCutAtNul(key));
    bool inside = section.empty();
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = ScanTrim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        const std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string_view::npos && close > 0) {
            if (inside) return std::nullopt;
            inside = ScanNameIs(ScanCutAtNul(ScanTrim(line.substr(1, close - 1))), section);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inside || !ScanNameIs(ScanCutAtNul(ScanTrim(line.substr(0, eq))), key)) continue;
        if (eq == std::string_view::npos) return std::nullopt;
        std::string_view value = ScanCutAtNul(ScanTrim(line.substr(eq + 1)));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        return std::string(value.substr(0, 2047));
    }
    return std::nullopt;
}

}  // namespace automenu::testing
