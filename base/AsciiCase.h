// ASCII case folding, the way the profile API and the case-insensitive file
// lookups match names: only 'A'..'Z' fold, every other byte stays as it is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace automenu {

constexpr char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

inline std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = FoldAsciiCase(c);
    return out;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

}  // namespace automenu
