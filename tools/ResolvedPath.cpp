#include "ResolvedPath.h"

#include <sys/stat.h>

#include <algorithm>
#include <deque>

namespace automenu::tool {

namespace fs = std::filesystem;

namespace {
// Linux gives up on a path after as many links (ELOOP).
constexpr int kMaxLinks = 40;
}  // namespace

std::optional<fs::path> ResolvedPath(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) return std::nullopt;
    std::deque<fs::path> rest(std::next(absolute.begin()), absolute.end());  // after the root
    fs::path resolved = "/";
    int links = 0;
    while (!rest.empty()) {
        const fs::path part = rest.front();
        rest.pop_front();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            resolved = resolved.parent_path();
            continue;
        }
        const fs::path next = resolved / part;
        struct stat st {};
        if (::lstat(next.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            if (++links > kMaxLinks) return std::nullopt;
            const fs::path target = fs::read_symlink(next, ec);
            if (ec) return std::nullopt;
            auto first = target.begin();
            if (target.is_absolute()) {
                resolved = "/";
                ++first;
            }
            rest.insert(rest.begin(), first, target.end());
            continue;
        }
        resolved = next;
    }
    return resolved;
}

bool Within(const fs::path& inner, const fs::path& outer) {
    const auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return o == outer.end() || (std::next(o) == outer.end() && o->empty());
}

}  // namespace automenu::tool
