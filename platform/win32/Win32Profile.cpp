#include "platform/win32/Win32Profile.h"

#include <array>

#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

// Asks Windows to drop its cached copy of the file; the file is not changed.
Win32Profile::~Win32Profile() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str()); }

std::string Win32Profile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_text) const {
    std::array<char, 2048> buffer{};
    const std::string s(section), k(key), d(default_text);
    const DWORD count = ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), m_path.c_str());
    return std::string(buffer.data(), std::min<std::size_t>(count, buffer.size() - 1));
}

}  // namespace automenu::platform
