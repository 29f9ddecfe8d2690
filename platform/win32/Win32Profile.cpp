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

std::optional<std::string> ReadStartOfLargeFile(const std::string& path, std::size_t max_bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    struct Closer {
        HANDLE h;
        ~Closer() { ::CloseHandle(h); }
    } closer{file};
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) ||
        static_cast<unsigned long long>(size.QuadPart) <= max_bytes)
        return std::nullopt;
    std::string bytes(max_bytes, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = 0;
        if (!::ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &chunk, nullptr) || chunk == 0)
            break;
        done += chunk;
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace automenu::platform
