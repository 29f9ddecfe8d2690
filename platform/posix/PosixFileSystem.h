// The files of a POSIX system (IFileSystem). Where it differs from Windows:
// paths join with "/"; names are told apart by case, so a name written on
// Windows that is not there exactly is looked up ignoring case (the first
// match in byte order), and "\" in a path from AUTORUN.INF separates folders;
// the program's own file comes from /proc/self/exe; and a profile is read by
// the framework's own reader (ProfileReader), at most its first 16 MiB, an
// ANSI file in the code page Windows has for the user's locale.
#pragma once

#include "platform/FileSystem.h"
#include "platform/ProfileReader.h"
#include "platform/posix/PathResolver.h"

namespace automenu::platform {

class PosixFileSystem final : public IFileSystem {
public:
    // One for the process: the finder of AUTORUN.INF keeps its last answer
    // from pass to pass.
    static PosixFileSystem& Instance();

    PathStyle Style() const override { return PathStyle::Posix; }
    std::string CurrentDirectory() override;
    std::string ProgramPath() override;
    FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override;
    std::string EntryName(const std::string& directory, std::string_view name) override;
    std::string MediaPath(const std::string& path) override;
    std::unique_ptr<IProfile> OpenProfile(const std::string& path) override;

    // The profile as the framework's reader holds it; a missing, unreadable
    // or non-regular file (a directory, say) gives a reader without file.
    static ProfileReader ReadProfile(const std::string& path);

private:
    // Every pass asks again: the last listing of the directory is reused
    // while the directory is unchanged.
    EntryFinder m_finder;
};

}  // namespace automenu::platform
