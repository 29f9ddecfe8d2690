#include "platform/posix/PathResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <atomic>
#include <memory>

#include "base/AsciiCase.h"

namespace automenu::platform {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::atomic<std::uint64_t> g_listings{0};

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
    ++g_listings;
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

std::uint64_t DirectoryListingCount() { return g_listings.load(); }

bool EntryFinder::SameStamp(const Stamp& a, const Stamp& b) {
    return a.device == b.device && a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec &&
           a.modified.tv_nsec == b.modified.tv_nsec;
}

std::optional<std::string> EntryFinder::Find(const std::string& directory, std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    if (Exists(Join(directory, name))) return std::string(name);
    struct stat st {};
    if (::stat(directory.empty() ? "." : directory.c_str(), &st) != 0) return FindEntryIgnoringCase(directory, name);
    const Stamp stamp{st.st_dev, st.st_ino, st.st_mtim};

    const std::lock_guard lock(m_mutex);
    if (m_valid && SameStamp(stamp, m_stamp) && m_directory == directory && m_name == name &&
        (!m_entry || Exists(Join(directory, *m_entry))))
        return m_entry;

    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    m_entry = FindEntryIgnoringCase(directory, name);
    // The stamp was taken before the listing, so a change during it shows as
    // a new stamp; a change in the same tick as the stamp is caught by
    // listing a recently changed directory again.
    constexpr time_t kTimeStampTicks = 2;
    m_valid = stamp.modified.tv_sec < now.tv_sec - kTimeStampTicks;
    m_directory = directory;
    m_name = name;
    m_stamp = stamp;
    return m_entry;
}

std::optional<std::string> ResolvePathIgnoringCase(std::string_view path, PathSeparators separators) {
    auto is_separator = [&](char c) {
        return c == '/' || (c == '\\' && separators == PathSeparators::SlashOrBackslash);
    };
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

}  // namespace automenu::platform
