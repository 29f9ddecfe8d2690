// ISO 9660 images on Windows, made by the system's image mastering API
// (IMAPI2FS), which Windows has since Vista; Wine has none.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace automenu::platform {

// Whether this Windows has the image mastering API.
bool HasImageMastering();

// Writes `image` (which must not exist) from the files of `folder`, with
// ISO 9660 and Joliet names and the volume label `label`; the problem, or
// nothing when it is written. `stop` is asked between steps. A half-written
// image is left for the caller to remove.
std::optional<std::string> MasterIsoImage(const std::filesystem::path& folder, const std::filesystem::path& image,
                                          const std::string& label, const std::function<bool()>& stop);

}  // namespace automenu::platform
