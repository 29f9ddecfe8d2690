#include "platform/win32/Win32Profile.h"

#include <array>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

Win32Profile::Win32Profile(const std::string& path) : m_path(Wide(path)) {}

// Asks Windows to drop its cached copy of the file; the file is not changed.
Win32Profile::~Win32Profile() { ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str()); }

std::string Win32Profile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_text) const {
    std::array<wchar_t, 2048> buffer{};
    const DWORD count = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(default_text).c_str(),
                                                   buffer.data(), static_cast<DWORD>(buffer.size()), m_path.c_str());
    std::size_t length = std::min<std::size_t>(count, buffer.size() - 1);
    // A value cut at the limit between the two halves of a surrogate pair
    // loses the half that came back, as the framework's reader leaves out a
    // character that does not fit whole.
    if (length == buffer.size() - 1 && buffer[length - 1] >= 0xD800 && buffer[length - 1] <= 0xDBFF) --length;
    return Utf8(std::wstring_view(buffer.data(), length));
}

}  // namespace automenu::platform
