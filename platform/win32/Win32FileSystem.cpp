#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "formats/TextEncoding.h"
#include "platform/ProfileReader.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

namespace {

struct FileCloser {
    void operator()(HANDLE file) const { ::CloseHandle(file); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FileCloser>;

FileHandle OpenForReading(const std::string& path, DWORD share) {
    HANDLE file =
        ::CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Reads up to `size` bytes into `data`: how many the file had.
std::size_t ReadUpTo(HANDLE file, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        DWORD chunk = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        if (!::ReadFile(file, data + done, want, &chunk, nullptr) || chunk == 0) break;
        done += chunk;
    }
    return done;
}

// The bytes of a profile file, at most its first `max_bytes`, read without
// the profile API; nothing for a file that cannot be read.
std::optional<std::string> ReadProfileBytes(const std::string& path, std::size_t max_bytes) {
    const FileHandle file = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    LARGE_INTEGER size{};
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &size) ||
        size.QuadPart < 0)
        return std::nullopt;
    std::string bytes(std::min<unsigned long long>(size.QuadPart, max_bytes), '\0');
    bytes.resize(ReadUpTo(file.get(), bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace

std::string Win32FileSystem::CurrentDirectory() {
    // Asked for its length first: a directory of any length fits.
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return {};
    std::wstring directory(needed, L'\0');
    const DWORD written = ::GetCurrentDirectoryW(needed, directory.data());
    if (written == 0 || written >= needed) return {};
    directory.resize(written);
    return Utf8(directory);
}

FileReadResult Win32FileSystem::ReadFile(const std::string& path, std::size_t max_bytes) {
    FileReadResult result;
    const FileHandle file = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return result;
    if (static_cast<unsigned long long>(size.QuadPart) > max_bytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    result.bytes.resize(ReadUpTo(file.get(), reinterpret_cast<char*>(result.bytes.data()), result.bytes.size()));
    result.status = FileReadStatus::Ok;
    return result;
}

std::string Win32FileSystem::ProgramPath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return {};
    return Utf8(std::wstring_view(buffer.data(), n));
}

std::unique_ptr<IProfile> Win32FileSystem::OpenProfile(const std::string& path) {
    // The file is read once to learn its encoding. The profile API reads
    // what Windows reads as the menu does: files in the ANSI code page and
    // UTF-16 LE. The framework's own reader reads the rest: UTF-8, which the
    // API would read in the code page (with a mark as part of line 1),
    // UTF-16 BE, which Windows is not documented to know, and a file over 16
    // MiB, of which only the first 16 MiB are read, as on Linux (the API
    // would read it whole, again for every lookup).
    std::optional<std::string> bytes = ReadProfileBytes(path, ProfileReader::kMaxFileBytes + 1);
    if (bytes) {
        const TextEncoding encoding = DetectTextEncoding(*bytes);
        if (bytes->size() > ProfileReader::kMaxFileBytes ||
            (encoding != TextEncoding::Ansi && encoding != TextEncoding::Utf16Le))
            return std::make_unique<ProfileReader>(ProfileReader::FromBytes(std::move(*bytes), SystemCodePage()));
    }
    return std::make_unique<Win32Profile>(path);
}

}  // namespace automenu::platform
