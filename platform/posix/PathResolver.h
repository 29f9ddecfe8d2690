// Finding files whose names were written for a case-insensitive file system.
//
// Install media are authored on Windows, where "AUTORUN.INF", "autorun.inf"
// and "Autorun.Inf" are one file; an ISO 9660 disc mounted on Linux shows its
// names in lower case. These functions look a path up one component at a
// time: a component that exists exactly as written is taken as it is;
// otherwise the directory is searched for names that match ignoring ASCII
// case, and when several match the first in byte order is taken.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace automenu::platform {

enum class PathSeparators {
    Slash,             // "/" only
    SlashOrBackslash,  // "/" and "\" both separate components
};

// The name of the entry of `directory` that matches `name` ignoring ASCII
// case: `name` itself when it exists, else the first match in byte order.
// An empty directory means the current directory.
std::optional<std::string> FindEntryIgnoringCase(const std::string& directory, std::string_view name);

// How many times FindEntryIgnoringCase has listed a directory, so that tests
// can tell a listing from a reused answer.
std::uint64_t DirectoryListingCount();

// FindEntryIgnoringCase for a name asked for again and again (AUTORUN.INF, on
// every mouse move): when the name is not there exactly, the last answer is
// kept and reused while the directory is the same one (device and inode) with
// the same modification time and the entry found still exists, so that a
// folder of many files is not listed on every move. An exact hit costs one
// lstat, as without the cache. A directory changed less than two seconds
// before it was listed is listed again next time: its time stamp may not yet
// tell a later change within the same tick (FAT keeps two seconds).
class EntryFinder {
public:
    std::optional<std::string> Find(const std::string& directory, std::string_view name);

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
    };
    static bool SameStamp(const Stamp& a, const Stamp& b);

    std::mutex m_mutex;
    bool m_valid = false;
    std::string m_directory;
    std::string m_name;
    Stamp m_stamp;
    std::optional<std::string> m_entry;
};

// The existing path that `path` names ignoring case, with "/" separators, or
// nothing when some component has no match. "." and ".." are kept as they are.
std::optional<std::string> ResolvePathIgnoringCase(std::string_view path,
                                                   PathSeparators separators = PathSeparators::Slash);

}  // namespace automenu::platform
