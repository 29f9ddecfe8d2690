#include "platform/PathResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "platform/AsciiCase.h"

namespace automenu::platform {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

std::string Join(const std::string& directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    std::string out = directory;
    if (out.back() != '/') out.push_back('/');
    out.append(name);
    return out;
}

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(const std::string& directory, std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    if (Exists(Join(directory, name))) return std::string(name);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view candidate(entry->d_name);
        if (!EqualsIgnoringCase(candidate, name)) continue;
        if (!best || candidate < *best) best = std::string(candidate);
    }
    return best;
}

std::optional<std::string> ResolvePathIgnoringCase(std::string_view path, PathSeparators separators) {
    auto is_separator = [&](char c) { return c == '/' || (c == '\\' && separators == PathSeparators::SlashOrBackslash); };
    std::string resolved;
    std::size_t i = 0;
    if (!path.empty() && is_separator(path.front())) resolved = "/";
    while (i < path.size()) {
        while (i < path.size() && is_separator(path[i])) ++i;
        const std::size_t start = i;
        while (i < path.size() && !is_separator(path[i])) ++i;
        const std::string_view component = path.substr(start, i - start);
        if (component.empty()) break;
        if (component == "." || component == "..") {
            resolved = Join(resolved, component);
            continue;
        }
        std::optional<std::string> entry = FindEntryIgnoringCase(resolved, component);
        if (!entry) return std::nullopt;
        resolved = Join(resolved, *entry);
    }
    if (resolved.empty()) return std::nullopt;
    return resolved;
}

std::string NormaliseSeparators(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

}  // namespace automenu::platform
