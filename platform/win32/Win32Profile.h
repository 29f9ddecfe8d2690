// The Windows profile API, through which the Windows program reads
// AUTORUN.INF, so that it reads it exactly as Windows does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace automenu::platform {

// GetPrivateProfileStringA with a 2048-byte result buffer: the value (at most
// 2047 bytes), or `default_text` when the file, section or key is missing.
std::string GetPrivateProfileText(std::string_view section, std::string_view key, std::string_view default_text,
                                  const std::string& path);

// Asks Windows to drop its cached copy of the file; the file is not changed.
void FlushProfileCache(const std::string& path);

// The first `max_bytes` of a file larger than that, read without the profile
// API (which reads a whole file, on every lookup); nothing for a smaller
// file or one that cannot be read.
std::optional<std::string> ReadStartOfLargeFile(const std::string& path, std::size_t max_bytes);

}  // namespace automenu::platform
