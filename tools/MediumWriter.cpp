#include "MediumWriter.h"
#include "platform/HostSystem.h"

#include <vector>

namespace automenu::tool {

namespace {

constexpr std::size_t kCopyBuffer = 256 * 1024;

// What failed and why, in the system's words.
std::string Failed(const std::string& file, std::string_view what, const std::string& why) {
    return file + " " + std::string(what) + ": " + why;
}

}  // namespace

std::optional<std::string> MediumWriter::Stopped(const std::string& path) const {
    if (!m_stop || !m_stop()) return std::nullopt;
    return Shown(path) + ": stopped before it was written whole";
}

template <typename Fill>
std::optional<std::string> MediumWriter::Make(const std::string& path, platform::FileMode mode, Fill fill) const {
    if (std::optional<std::string> stopped = Stopped(path)) return stopped;
    platform::NewFile out(m_root / platform::host::PathOf(path));
    if (!out.IsOpen()) return Failed(Shown(path), "cannot be written", out.Error());
    if (std::optional<std::string> problem = fill(out)) return problem;
    if (!out.Finish(mode)) return Failed(Shown(path), "cannot be written", out.Error());
    return std::nullopt;
}

std::optional<std::string> MediumWriter::Folder(const std::string& path, platform::FileMode mode) const {
    if (std::optional<std::string> stopped = Stopped(path)) return stopped;
    if (const std::string error = platform::MakeFolder(m_root / platform::host::PathOf(path), mode); !error.empty())
        return Failed(Shown(path), "cannot be made", error);
    return std::nullopt;
}

std::optional<std::string> MediumWriter::Write(const std::string& path, std::string_view bytes,
                                               platform::FileMode mode) const {
    return Make(path, mode, [&](platform::NewFile& out) -> std::optional<std::string> {
        if (!out.Write(bytes)) return Failed(Shown(path), "cannot be written", out.Error());
        return std::nullopt;
    });
}

std::optional<std::string> MediumWriter::Copy(const std::filesystem::path& from, const std::string& from_shown,
                                              const std::string& path, platform::FileMode mode) const {
    // Not waiting for a writer, should a pipe have taken the file's place.
    platform::SourceFile in(from);
    if (!in.IsOpen()) return Failed(from_shown, "cannot be read", in.Error());
    switch (in.Type()) {
    case platform::SourceFile::Kind::File: break;
    case platform::SourceFile::Kind::Folder: return Failed(from_shown, "cannot be read", in.Error());
    case platform::SourceFile::Kind::Other:
        return in.Error().empty() ? from_shown + " cannot be read: not a file"
                                  : Failed(from_shown, "cannot be read", in.Error());
    }
    return Make(path, mode, [&](platform::NewFile& out) -> std::optional<std::string> {
        std::vector<char> buffer(kCopyBuffer);
        for (;;) {
            if (std::optional<std::string> stopped = Stopped(path)) return stopped;
            const std::ptrdiff_t n = in.Read(buffer);
            if (n < 0) return Failed(from_shown, "cannot be read", in.Error());
            if (n == 0) return std::nullopt;
            if (!out.Write({buffer.data(), static_cast<std::size_t>(n)}))
                return Failed(Shown(path), "cannot be written", out.Error());
        }
    });
}

}  // namespace automenu::tool
