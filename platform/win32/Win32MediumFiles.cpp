#include <algorithm>
#include <system_error>

#include "platform/MediumFiles.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Kept(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}
// The system's words for the last failure ("There is not enough space on the disk.").
std::string SystemWords() {
    std::string words = std::system_category().message(static_cast<int>(::GetLastError()));
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) words.pop_back();
    return words;
}

}  // namespace

NewFile::NewFile(const std::filesystem::path& path) {
    // CREATE_NEW never opens what is there; a link (reparse point) in the
    // file's place is there.
    m_handle = Kept(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!IsOpen()) m_error = SystemWords();
}

NewFile::~NewFile() {
    if (IsOpen()) ::CloseHandle(Handle(m_handle));
}

bool NewFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(Handle(m_handle), bytes.data(), want, &written, nullptr) || written == 0) {
            m_error = SystemWords();
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool NewFile::Finish(FileMode) {
    // Windows keeps no permission bits: every file on a medium can be run.
    const HANDLE handle = Handle(m_handle);
    m_handle = kClosed;
    if (!::CloseHandle(handle)) {
        m_error = SystemWords();
        return false;
    }
    return true;
}

SourceFile::SourceFile(const std::filesystem::path& path) {
    // Backup semantics open a folder too, so that it is told apart.
    m_handle = Kept(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!IsOpen()) m_error = SystemWords();
}

SourceFile::~SourceFile() {
    if (IsOpen()) ::CloseHandle(Handle(m_handle));
}

SourceFile::Kind SourceFile::Type() {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(Handle(m_handle), &info)) {
        m_error = SystemWords();
        return Kind::Other;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        m_error = "Is a folder";
        return Kind::Folder;
    }
    return ::GetFileType(Handle(m_handle)) == FILE_TYPE_DISK ? Kind::File : Kind::Other;
}

std::ptrdiff_t SourceFile::Read(std::span<char> buffer) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(Handle(m_handle), buffer.data(), want, &read, nullptr)) {
        m_error = SystemWords();
        return -1;
    }
    return static_cast<std::ptrdiff_t>(read);
}

std::string MakeFolder(const std::filesystem::path& path, FileMode) {
    return ::CreateDirectoryW(path.c_str(), nullptr) ? std::string() : SystemWords();
}

}  // namespace automenu::platform
