// Check's view of the file's encoding: which one the menu reads it in, and
// where the file will not show the same on every PC: an ANSI file with
// characters outside ASCII (each PC reads it in its own code page), a UTF-8
// file (which Windows' own profile API, and so AutoPlay, reads in the code
// page), a UTF-8 byte-order mark (which that API takes for part of line 1).
#pragma once

#include <string_view>

#include "CheckedFile.h"
#include "FindingList.h"
#include "formats/TextEncoding.h"

namespace automenu::tool {

class EncodingChecker {
public:
    // `bytes`: the file as read (at most the profile limit).
    EncodingChecker(const CheckedFile& file, std::string_view bytes, FindingList& findings);

    void Run();

private:
    void CheckAnsi();
    void CheckUtf8();
    void CheckAutorunLabel();

    const CheckedFile& m_file;
    std::string_view m_bytes;
    TextEncoding m_encoding;
    FindingList& m_findings;
};

}  // namespace automenu::tool
