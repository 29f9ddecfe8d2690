#include "config/TIniFile.h"

namespace automenu {

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    if (!m_image) m_image = ProfileReader::FromFile(FileName());
    return m_image->GetString(section, key, defaultText);
}

}  // namespace automenu
