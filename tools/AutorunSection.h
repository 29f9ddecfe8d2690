// Giving an author's AUTORUN.INF the [autorun] section Windows starts a
// medium from, without changing a byte of what is already there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "CheckedFile.h"

namespace automenu::tool {

// The values of the section, as they are written into the file: in its code
// page for an ANSI file, else in UTF-8 (WithAutorunSection writes UTF-16).
struct AutorunValues {
    std::string open;
    std::string icon;   // empty: no icon= line
    std::string label;  // empty: no label= line
};

// Whether the file has a section named "autorun", in any case.
bool HasAutorunSection(const CheckedFile& file);
bool HasAutorunSection(std::string_view bytes);

// The values for the menu read from `file`: open= the Windows menu; icon=
// the menu's logo when it is an icon of the menu's own folder that is there;
// label= the title's caption when it fits the label Windows shows.
AutorunValues AutorunValuesFor(const CheckedFile& file);

// `bytes` followed by the section, written in the file's encoding (its
// byte-order mark) and with its first line end (CR LF when it has none),
// after a blank line. Nothing when the file is UTF-16 ending in half a
// character, where any addition would be misread.
std::optional<std::string> WithAutorunSection(std::string_view bytes, const AutorunValues& values);

}  // namespace automenu::tool
