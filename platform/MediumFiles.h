// The files pack writes onto a medium and the author's files it copies, as
// the system opens them: a file written is always new (never through a link,
// never over what is there) and gets exactly the permission bits given; a
// file read may not wait for a writer (a pipe put in a file's place). Every
// failure keeps the system's words for it ("No space left on device").
// platform/posix/PosixMediumFiles and platform/win32/Win32MediumFiles, where
// files have no permission bits (the Linux menu's execute bit comes from a
// Rock Ridge image or a copy made on Linux).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace automenu::platform {

// POSIX permission bits: 0644 for a plain file, 0755 for a program.
using FileMode = unsigned;

class NewFile {
public:
    explicit NewFile(const std::filesystem::path& path);
    // A file not finished is closed as it is.
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    bool IsOpen() const { return m_handle != kClosed; }
    bool Write(std::string_view bytes);
    // Gives the file its mode and closes it.
    bool Finish(FileMode mode);
    const std::string& Error() const { return m_error; }

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t m_handle = kClosed;
    std::string m_error;
};

class SourceFile {
public:
    enum class Kind { File, Folder, Other };
    explicit SourceFile(const std::filesystem::path& path);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    bool IsOpen() const { return m_handle != kClosed; }
    // What the open file is; asked once it is open.
    Kind Type();
    // The bytes read into `buffer`: 0 at the end, -1 on an error.
    std::ptrdiff_t Read(std::span<char> buffer);
    const std::string& Error() const { return m_error; }

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t m_handle = kClosed;
    std::string m_error;
};

// Makes the folder `path` (its parent exists) with `mode`; the system's words
// for the failure, else "".
std::string MakeFolder(const std::filesystem::path& path, FileMode mode);

}  // namespace automenu::platform
