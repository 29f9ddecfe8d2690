// The name an author probably meant: the nearest of the right names, by edit
// distance ignoring ASCII case.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace automenu::tool {

// Levenshtein distance of two texts, ignoring ASCII case.
std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b);

// The nearest candidate within a third of the wrong name's length (at least 3
// edits), or nothing.
template <typename Names>
std::optional<std::string> Nearest(std::string_view wrong, const Names& candidates) {
    std::optional<std::string> best;
    std::size_t best_distance = std::max<std::size_t>(3, wrong.size() / 3) + 1;
    for (const auto& c : candidates) {
        // The distance is at least the difference in length: a name of a
        // megabyte is not compared character by character.
        const std::size_t length = std::string_view(c).size();
        if ((wrong.size() > length ? wrong.size() - length : length - wrong.size()) >= best_distance) continue;
        const std::size_t d = EditDistanceIgnoringCase(wrong, c);
        if (d < best_distance) {
            best_distance = d;
            best = std::string(c);
        }
    }
    return best;
}

}  // namespace automenu::tool
