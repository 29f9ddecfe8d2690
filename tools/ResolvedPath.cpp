#include "ResolvedPath.h"

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
    const fs::path relative = absolute.relative_path();
    std::deque<fs::path> rest(relative.begin(), relative.end());  // after the root ("/", "C:\")
    fs::path resolved = absolute.root_path();
    int links = 0;
    while (!rest.empty()) {
        const fs::path part = rest.front();
        rest.pop_front();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (resolved != resolved.root_path()) resolved = resolved.parent_path();
            continue;
        }
        const fs::path next = resolved / part;
        if (fs::is_symlink(fs::symlink_status(next, ec))) {
            if (++links > kMaxLinks) return std::nullopt;
            const fs::path target = fs::read_symlink(next, ec);
            if (ec) return std::nullopt;
            // From the root it names: its own ("/", "D:\"), or on Windows the
            // drive's when it names only a folder from the root ("\dir").
            if (target.has_root_name())
                resolved = target.root_path();
            else if (target.has_root_directory())
                resolved = resolved.root_name() / target.root_directory();
            const fs::path target_rest = target.relative_path();
            rest.insert(rest.begin(), target_rest.begin(), target_rest.end());
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
