#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Win32Profile.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

std::string Win32FileSystem::CurrentDirectory() {
    // Asked for its length first: a directory of any length fits.
    const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::string directory(needed, '\0');
    const DWORD written = ::GetCurrentDirectoryA(needed, directory.data());
    if (written == 0 || written >= needed) return {};
    directory.resize(written);
    return directory;
}

FileReadResult Win32FileSystem::ReadFile(const std::string& path, std::size_t max_bytes) {
    FileReadResult result;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return result;
    struct Closer {
        HANDLE h;
        ~Closer() { ::CloseHandle(h); }
    } closer{file};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return result;
    if (static_cast<unsigned long long>(size.QuadPart) > max_bytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        DWORD chunk = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(result.bytes.size() - done, 1u << 30));
        if (!::ReadFile(file, result.bytes.data() + done, want, &chunk, nullptr) || chunk == 0) break;
        done += chunk;
    }
    result.bytes.resize(done);
    result.status = FileReadStatus::Ok;
    return result;
}

std::string Win32FileSystem::ProgramPath() {
    std::vector<char> buffer(32768);
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return {};
    return std::string(buffer.data(), n);
}

std::unique_ptr<IProfile> Win32FileSystem::OpenProfile(const std::string& path) {
    return std::make_unique<Win32Profile>(path);
}

}  // namespace automenu::platform
