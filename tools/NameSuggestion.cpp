#include "NameSuggestion.h"

#include <vector>

#include "base/AsciiCase.h"

namespace automenu::tool {

std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b) {
    const std::string x = FoldCase(a);
    const std::string y = FoldCase(b);
    std::vector<std::size_t> row(y.size() + 1);
    for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

}  // namespace automenu::tool
