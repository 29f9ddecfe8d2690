#include "platform/win32/Win32Profile.h"

#include <array>

#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

std::string GetPrivateProfileText(std::string_view section, std::string_view key, std::string_view default_text,
                                  const std::string& path) {
    std::array<char, 2048> buffer{};
    const std::string s(section), k(key), d(default_text);
    const DWORD count = ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), path.c_str());
    return std::string(buffer.data(), std::min<std::size_t>(count, buffer.size() - 1));
}

void FlushProfileCache(const std::string& path) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace automenu::platform
