#include "config/TIniFile.h"

#ifdef _WIN32
#include "platform/win32/Win32Profile.h"
#endif

namespace automenu {

#ifdef _WIN32
// The Windows program reads the file through the system's own profile API.
// Its cached copy is dropped only when it was asked: a flush reads the file.
TIniFile::~TIniFile() {
    if (m_image && !m_image->HasFile()) platform::FlushProfileCache(FileName());
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    // Only the first 16 MiB of a larger file are read, as on Linux, and by
    // the same reader: the profile API would read the whole file, again for
    // every lookup. The size is looked at once, before any lookup.
    if (!m_image) {
        if (auto start = platform::ReadStartOfLargeFile(FileName(), ProfileReader::kMaxFileBytes))
            m_image = ProfileReader::FromBytes(std::move(*start));
        else
            m_image = ProfileReader();
    }
    if (m_image->HasFile()) return m_image->GetString(section, key, defaultText);
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
