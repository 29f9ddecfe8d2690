// The Windows profile API, through which the Windows program reads an
// AUTORUN.INF in the ANSI code page or in UTF-16, so that it reads it exactly
// as Windows does.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace automenu::platform {

class Win32Profile final : public IProfile {
public:
    explicit Win32Profile(const std::string& path);
    // Windows keeps the file it read: let go of it, so that the next pass
    // sees an edit.
    ~Win32Profile() override;
    Win32Profile(const Win32Profile&) = delete;
    Win32Profile& operator=(const Win32Profile&) = delete;

    // GetPrivateProfileStringW with a result buffer of 2048 characters: the
    // value (at most 2047 UTF-16 code units) in UTF-8, or `default_text` when
    // the file, section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_text) const override;

private:
    std::wstring m_path;
};

}  // namespace automenu::platform
