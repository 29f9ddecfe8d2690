#include "config/TIniFile.h"

#include "platform/PlatformAccess.h"

namespace automenu {

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view default_text) {
    if (!m_profile) m_profile = Platform().Files().OpenProfile(FileName());
    return m_profile->ReadString(section, key, default_text);
}

}  // namespace automenu
