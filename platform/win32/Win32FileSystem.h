// The files of Windows (IFileSystem): paths join with "\"; names match
// regardless of case and "\" separates folders already, so names written on
// Windows are taken as they are; every name goes to Windows in UTF-16.
// AUTORUN.INF in an ANSI code page or UTF-16 LE is read through the system's
// profile API (Win32Profile); one in UTF-8, which that API would read in the
// ANSI code page, one in UTF-16 BE and one over 16 MiB by the framework's own
// reader.
#pragma once

#include "platform/FileSystem.h"

namespace automenu::platform {

class Win32FileSystem final : public IFileSystem {
public:
    PathStyle Style() const override { return PathStyle::Windows; }
    std::string CurrentDirectory() override;
    std::string ProgramPath() override;
    FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override;
    std::string EntryName(const std::string&, std::string_view name) override { return std::string(name); }
    std::string MediaPath(const std::string& path) override { return path; }
    std::unique_ptr<IProfile> OpenProfile(const std::string& path) override;
};

}  // namespace automenu::platform
