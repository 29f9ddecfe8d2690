// The INI reader of one pass: it opens its file through the platform at the
// first lookup and answers every later lookup from that reading. A new pass
// creates a new reader, so an edit of the file shows at the next pass.
#pragma once

#include <memory>

#include "config/TCustomIniFile.h"
#include "platform/FileSystem.h"

namespace automenu {

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view default_text) override;

private:
    std::unique_ptr<platform::IProfile> m_profile;
};

}  // namespace automenu
