#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "platform/HostSystem.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WicDecoder.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WindowsApi.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace automenu::platform::host {

EntryKind KindOf(const std::string& path) {
    // GetFileAttributesW reads a link's own attributes; the filesystem
    // library follows it, as stat does.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(PathOf(path), ec);
    if (ec || !std::filesystem::exists(status)) return EntryKind::Missing;
    if (std::filesystem::is_regular_file(status)) return EntryKind::File;
    return std::filesystem::is_directory(status) ? EntryKind::Directory : EntryKind::Other;
}

std::optional<std::string> FindEntry(const std::string& directory, std::string_view name) {
    // Windows matches names regardless of case itself; the name is kept as
    // written, as the menu keeps it.
    const std::string path = (directory.empty() ? std::string(".") : directory) + "\\" + std::string(name);
    if (KindOf(path) == EntryKind::Missing) return std::nullopt;
    return std::string(name);
}

FileReadStatus ReadWholeFile(const std::string& path, std::size_t max_bytes, std::string& bytes) {
    bytes.clear();
    struct Closer {
        void operator()(HANDLE file) const { ::CloseHandle(file); }
    };
    HANDLE opened = ::CreateFileW(PathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::unique_ptr<std::remove_pointer_t<HANDLE>, Closer> file(opened == INVALID_HANDLE_VALUE ? nullptr
                                                                                                     : opened);
    LARGE_INTEGER size{};
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &size) ||
        size.QuadPart < 0)
        return FileReadStatus::CannotOpen;
    // Only as much as is kept is read, whatever the file's size.
    const bool too_large = static_cast<unsigned long long>(size.QuadPart) > max_bytes;
    bytes.resize(static_cast<std::size_t>(std::min<unsigned long long>(size.QuadPart, max_bytes)));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::ReadFile(file.get(), bytes.data() + done, want, &chunk, nullptr)) {
            bytes.clear();
            return FileReadStatus::CannotOpen;
        }
        if (chunk == 0) break;
        done += chunk;
    }
    bytes.resize(done);
    return too_large ? FileReadStatus::TooLarge : FileReadStatus::Ok;
}

std::string ProgramPath() { return Win32FileSystem().ProgramPath(); }

const CodePage& LocaleCodePage() {
    // The variable the Linux tool reads names another code page here too.
    if (const char* chosen = std::getenv(kCodePageVariable); chosen && *chosen) {
        char* end = nullptr;
        const unsigned long number = std::strtoul(chosen, &end, 10);
        if (end && *end == '\0') return NumberedCodePage(static_cast<unsigned>(number));
    }
    return SystemCodePage();
}

const CodePage& CodePageNumbered(unsigned number) { return NumberedCodePage(number); }

std::vector<std::uint8_t> EncodePng(const PixelImage& image) { return EncodePngWithWic(image); }

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // The imaging component and the shell are loaded by name: from the
    // system's folder only, as the menu loads them.
    RestrictDllSearch();
    ::SetConsoleOutputCP(CP_UTF8);
    // The tool writes bytes: a template in UTF-16, a report with the line
    // ends of the system it describes the file for.
    _setmode(_fileno(stdout), _O_BINARY);
    struct LocalFreer {
        void operator()(wchar_t** p) const { ::LocalFree(p); }
    };
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalFreer> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!wide || count != argc) return {argv, argv + argc};
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(Utf8(wide.get()[i]));
    return words;
}

}  // namespace automenu::platform::host
