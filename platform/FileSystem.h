// The files of the system a back end runs on, as the menu needs them: where it
// is, what it reads, and how names written on Windows are found. Every
// difference between the systems in these lies behind this interface:
// platform/posix/PosixFileSystem (Linux, and any POSIX system) and
// platform/win32/Win32FileSystem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace automenu::platform {

// How a folder and a name are joined (the rules are in
// config/ConfigurationPaths.h).
enum class PathStyle { Posix, Windows };

enum class FileReadStatus { Ok, CannotOpen, TooLarge };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;
};

// A profile (INI) file opened for the lookups of one pass.
class IProfile {
public:
    virtual ~IProfile() = default;
    // The value of a key, or `default_text` when the file, the section or the
    // key is missing.
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_text) const = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual PathStyle Style() const = 0;
    // The process's current directory, or "" when it cannot be determined.
    virtual std::string CurrentDirectory() = 0;
    // The running program's own file, or "" when the system cannot tell.
    virtual std::string ProgramPath() = 0;
    // Reads a whole regular file; a longer one than max_bytes gives TooLarge
    // and is neither read nor allocated for.
    virtual FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) = 0;

    // --- Names written on Windows, where "AUTORUN.INF" and "autorun.inf" are
    // one file and "\" separates folders ---
    // The name under which `directory` holds `name`: the name itself, or the
    // one that differs only in case on a system that tells cases apart.
    virtual std::string EntryName(const std::string& directory, std::string_view name) = 0;
    // The file a path from AUTORUN.INF names: the path itself when it exists
    // or when nothing else matches it.
    virtual std::string MediaPath(const std::string& path) = 0;

    // Opens a profile file to be read exactly as Windows reads it (the rules
    // are in formats/IniLexer.h). A missing or unreadable file gives a profile
    // in which every key is missing.
    virtual std::unique_ptr<IProfile> OpenProfile(const std::string& path) = 0;
};

}  // namespace automenu::platform
