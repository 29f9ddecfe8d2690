// The ISO 9660 image of a medium's folder, with Rock Ridge (the Linux files
// keep their execute permission) and Joliet (long names on Windows). On Linux
// xorriso writes it (XorrisoImage.cpp); on Windows the system's image
// mastering API (windows/MasteredImage.cpp).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace automenu::tool {

// Writes `image` from `folder` with the volume label `label`; messages name
// the image `shown`. Once `stop` answers yes, it stops. The problem, or
// nothing when the image is written.
std::optional<std::string> WriteIsoImage(const std::filesystem::path& folder, const std::filesystem::path& image,
                                         const std::string& label, const std::string& shown,
                                         const std::function<bool()>& stop);

// Whether `path` holds an ISO 9660 image: the primary volume descriptor's
// "CD001" at the start of sector 16.
bool IsIsoImage(const std::filesystem::path& path);

}  // namespace automenu::tool
