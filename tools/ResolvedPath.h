// Where a path really leads, also before it exists: pack compares the places
// it reads and writes (the author's folder, the medium, the image) before it
// makes anything, and a link may lead into a folder still to be made.
#pragma once

#include <filesystem>
#include <optional>

namespace automenu::tool {

// `path` made absolute with every link followed and "." and ".." resolved,
// also past the first name that does not exist yet. Nothing when the links
// loop (or go on for more than 40).
std::optional<std::filesystem::path> ResolvedPath(const std::filesystem::path& path);

// Whether `inner` is `outer` or lies within it (both resolved).
bool Within(const std::filesystem::path& inner, const std::filesystem::path& outer);

}  // namespace automenu::tool
