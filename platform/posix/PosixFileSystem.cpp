#include "platform/posix/PosixFileSystem.h"

#include <sys/stat.h>

#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFiles.h"

namespace automenu::platform {

PosixFileSystem& PosixFileSystem::Instance() {
    static PosixFileSystem files;
    return files;
}

std::string PosixFileSystem::CurrentDirectory() { return PosixCurrentDirectory(); }

std::string PosixFileSystem::ProgramPath() { return PosixProgramPath(); }

FileReadResult PosixFileSystem::ReadFile(const std::string& path, std::size_t max_bytes) {
    return PosixReadFile(path, max_bytes);
}

std::string PosixFileSystem::EntryName(const std::string& directory, std::string_view name) {
    if (std::optional<std::string> entry = m_finder.Find(directory, name)) return std::move(*entry);
    return std::string(name);
}

std::string PosixFileSystem::MediaPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) == 0) return path;
    if (auto resolved = ResolvePathIgnoringCase(path, PathSeparators::SlashOrBackslash)) return std::move(*resolved);
    return path;
}

ProfileReader PosixFileSystem::ReadProfile(const std::string& path) {
    std::string bytes;
    if (PosixReadFile(path, ProfileReader::kMaxFileBytes, bytes) == FileReadStatus::CannotOpen) return ProfileReader();
    return ProfileReader::FromBytes(std::move(bytes), LocaleCodePage());
}

std::unique_ptr<IProfile> PosixFileSystem::OpenProfile(const std::string& path) {
    return std::make_unique<ProfileReader>(ReadProfile(path));
}

}  // namespace automenu::platform
