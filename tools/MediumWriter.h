// Writes the files of a medium being made into its folder: each one new
// (never through a link, never over what is there) with exactly the mode
// given, and every failure named by the file, by whether reading or writing
// failed, and by the cause the system gives ("No space left on device").
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace automenu::tool {

class MediumWriter {
public:
    // Files go into `root`; messages name them under `shown`.
    MediumWriter(std::filesystem::path root, std::string shown) : m_root(std::move(root)), m_shown(std::move(shown)) {}

    // Each returns the problem, or nothing when it is done. `path` is within
    // the medium, "/" between names.
    std::optional<std::string> Folder(const std::string& path, mode_t mode) const;
    std::optional<std::string> Write(const std::string& path, std::string_view bytes, mode_t mode) const;
    // Copies the file `from` (named `from_shown` in messages).
    std::optional<std::string> Copy(const std::filesystem::path& from, const std::string& from_shown,
                                    const std::string& path, mode_t mode) const;

private:
    template <typename Fill>
    std::optional<std::string> Make(const std::string& path, mode_t mode, Fill fill) const;
    std::string Shown(const std::string& path) const { return m_shown + "/" + path; }

    std::filesystem::path m_root;
    std::string m_shown;
};

}  // namespace automenu::tool
