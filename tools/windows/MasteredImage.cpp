// The image on Windows: made by the system's image mastering API.
#include "IsoImage.h"
#include "platform/win32/ImageMastering.h"

namespace automenu::tool {

std::optional<std::string> WriteIsoImage(const std::filesystem::path& folder, const std::filesystem::path& image,
                                         const std::string& label, const std::string& shown,
                                         const std::function<bool()>& stop) {
    if (std::optional<std::string> problem = platform::MasterIsoImage(folder, image, label, stop))
        return "cannot write " + shown + ": " + *problem;
    if (!IsIsoImage(image)) return "the image mastering API wrote no image for " + shown;
    return std::nullopt;
}

}  // namespace automenu::tool
