#include "config/TIniFile.h"

#include "platform/PlatformAccess.h"

namespace automenu {

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    if (!m_profile) m_profile = Platform().Files().OpenProfile(FileName());
    return m_profile->ReadString(section, key, defaultText);
}

}  // namespace automenu
