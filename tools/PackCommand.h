// `automenu-tool pack`: an author's folder made into a medium that starts the
// menu on Windows and offers it on Linux, and optionally its ISO image.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace automenu::tool {

struct PackOptions {
    std::string source;
    std::string output;
    std::optional<std::string> iso;
    std::string volume_label;  // empty: made from the medium's label or the folder's name
    bool windows = true;      // put the Windows menu on the medium
    bool linux = true;        // put the Linux menu and autorun.sh on the medium
    std::string windows_menu;  // empty: found beside the tool
    std::string linux_menu;
    bool notices = true;         // put the menus' licence notices on the medium
    bool ignore_errors = false;  // go on when check finds errors
    // Where names collide (one in another case, or one pack adds): the
    // author's files and folders to put on the medium, and those to leave off;
    // paths within the source.
    std::vector<std::string> keep;
    std::vector<std::string> leave_out;
    bool follow_links = false;  // copy the files that links out of the source name
};

// Makes the medium; messages go to standard output and error. Returns the
// exit status. The menus are looked for relative to `tool_directory`.
int Pack(const PackOptions& options, const std::string& tool_directory);

// The launcher the Linux desktop offers to run when the medium is mounted.
std::string AutorunScript();

// A name an ISO 9660 volume may carry, made from any text: upper case,
// letters, digits and "_" only, at most 32 characters; empty when nothing is
// left.
std::string VolumeLabelOf(std::string_view text);

}  // namespace automenu::tool
