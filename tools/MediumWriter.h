// Writes the files of a medium being made into its folder: each one new
// (never through a link, never over what is there) with exactly the mode
// given, and every failure named by the file, by whether reading or writing
// failed, and by the cause the system gives ("No space left on device").
// Asked to stop, it writes nothing more, between any two pieces of a copy.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/MediumFiles.h"

namespace automenu::tool {

class MediumWriter {
public:
    // Files go into `root`; messages name them under `shown`. Once `stop`
    // answers yes, each call fails.
    MediumWriter(std::filesystem::path root, std::string shown, std::function<bool()> stop = {})
        : m_root(std::move(root)), m_shown(std::move(shown)), m_stop(std::move(stop)) {}

    // Each returns the problem, or nothing when it is done. `path` is within
    // the medium, "/" between names.
    std::optional<std::string> Folder(const std::string& path, platform::FileMode mode) const;
    std::optional<std::string> Write(const std::string& path, std::string_view bytes, platform::FileMode mode) const;
    // Copies the file `from` (named `from_shown` in messages).
    std::optional<std::string> Copy(const std::filesystem::path& from, const std::string& from_shown,
                                    const std::string& path, platform::FileMode mode) const;

private:
    template <typename Fill>
    std::optional<std::string> Make(const std::string& path, platform::FileMode mode, Fill fill) const;
    std::string Shown(const std::string& path) const { return m_shown + "/" + path; }
    std::optional<std::string> Stopped(const std::string& path) const;

    std::filesystem::path m_root;
    std::string m_shown;
    std::function<bool()> m_stop;
};

}  // namespace automenu::tool
