// The image on Linux: written by xorriso.
#include "ChildProcess.h"
#include "IsoImage.h"

namespace automenu::tool {

std::optional<std::string> WriteIsoImage(const std::filesystem::path& folder, const std::filesystem::path& image,
                                         const std::string& label, const std::string& shown,
                                         const std::function<bool()>& stop) {
    // Rock Ridge keeps the Linux menu and autorun.sh executable (and makes
    // every file readable by all); Joliet gives Windows the long names.
    const ProgramRun run = RunProgram({"xorriso", "-as", "mkisofs", "-quiet", "-r", "-J", "-joliet-long", "-iso-level",
                                       "3", "-input-charset", "utf-8", "-V", label, "-o", image.string(),
                                       folder.string()},
                                      stop);
    if (run.stopped) return "xorriso stopped before it wrote " + shown;
    if (!run.started) return "cannot run xorriso, which writes the image: install it (Debian: apt install xorriso)";
    if (run.status != 0) return "xorriso could not write " + shown + ":\n" + run.output;
    // A status 0 alone does not make an image.
    if (!IsIsoImage(image))
        return "xorriso ended without an error but wrote no image for " + shown +
               (run.output.empty() ? "" : ":\n" + run.output);
    return std::nullopt;
}

}  // namespace automenu::tool
