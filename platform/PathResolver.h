// Finding files whose names were written for a case-insensitive file system.
//
// Install media are authored on Windows, where "AUTORUN.INF", "autorun.inf"
// and "Autorun.Inf" are one file; an ISO 9660 disc mounted on Linux shows its
// names in lower case. These functions look a path up one component at a
// time: a component that exists exactly as written is taken as it is;
// otherwise the directory is searched for names that match ignoring ASCII
// case, and when several match the first in byte order is taken.
#pragma once

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

// The existing path that `path` names ignoring case, with "/" separators, or
// nothing when some component has no match. "." and ".." are kept as they are.
std::optional<std::string> ResolvePathIgnoringCase(std::string_view path,
                                                   PathSeparators separators = PathSeparators::Slash);

// Replaces every "\" by "/".
std::string NormaliseSeparators(std::string_view path);

}  // namespace automenu::platform
