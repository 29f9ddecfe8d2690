// The Windows profile API, through which the Windows program reads
// AUTORUN.INF, so that it reads it exactly as Windows does.
#pragma once

#include <string>
#include <string_view>

namespace automenu::platform {

// GetPrivateProfileStringA with a 2048-byte result buffer: the value (at most
// 2047 bytes), or `default_text` when the file, section or key is missing.
std::string GetPrivateProfileText(std::string_view section, std::string_view key, std::string_view default_text,
                                  const std::string& path);

// Asks Windows to drop its cached copy of the file; the file is not changed.
void FlushProfileCache(const std::string& path);

}  // namespace automenu::platform
