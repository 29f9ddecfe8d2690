#include "config/TIniFile.h"

#ifdef _WIN32
#include "platform/win32/Win32Profile.h"
#endif

namespace automenu {

#ifdef _WIN32
// The Windows program reads the file through the system's own profile API.
TIniFile::~TIniFile() { platform::FlushProfileCache(FileName()); }

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    return platform::GetPrivateProfileText(section, key, defaultText, FileName());
}
#else
TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    if (!m_image) m_image = ProfileReader::FromFile(FileName());
    return m_image->GetString(section, key, defaultText);
}
#endif

}  // namespace automenu
