// The INI reader of one pass: it reads and parses its file on the first
// lookup and answers every later lookup from that parse. A new pass creates a
// new reader, so an edit of the file shows at the next pass.
#pragma once

#include <optional>

#include "config/TCustomIniFile.h"
#include "config/ProfileReader.h"

namespace automenu {

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;
    ~TIniFile() override;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText) override;

    // True once the file has been read (whether or not it existed).

private:
    std::optional<ProfileReader> m_image;
};

}  // namespace automenu
