// The lines of an INI file as the profile reader sees them, with their line
// numbers, so that findings can point at the line an author has to edit.
//
// The lexical rules are those of config/ProfileReader.h: a byte-order mark
// selects the encoding (UTF-16 is turned into UTF-8 here; what a UTF-8 file
// holds that is not UTF-8, and an unpaired surrogate, becomes "?"), any run of
// CR and LF ends a line, lines are trimmed of the bytes 0x09-0x0D, 0x1A and
// 0x20, a trimmed line starting with "[" and holding a "]" is a section header
// named by the text up to its last "]", any other line is a key line split at
// its first "=", a NUL cuts a name or a value, and then a value loses one
// outer pair of equal quotes. A header named "" repeats the unnamed section of
// the lines before the first header, which always exists; telling first and
// repeated sections apart is left to the caller. Values are not cut at 2047
// bytes. Line numbers count LF, CR LF and a lone CR as one line end each, as
// editors do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/AsciiCase.h"

namespace automenu::tool {

struct IniRecord {
    enum class Kind { Section, Key, KeyWithoutValue };
    Kind kind = Kind::Key;
    int line = 0;        // 1-based
    std::string name;    // section or key name, trimmed
    std::string value;   // the value as looked up (keys with "=" only)
};

struct IniScan {
    std::vector<IniRecord> records;
};

IniScan ScanIniText(std::string_view bytes);

}  // namespace automenu::tool
