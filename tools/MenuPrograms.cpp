#include "MenuPrograms.h"

#include <filesystem>
#include <fstream>

#include "platform/HostSystem.h"

namespace automenu::tool {

namespace {

// Where the package installs the Windows menu and the notices, from the
// tool's folder.
constexpr std::string_view kInstalledBesideTool = "../share/automenu";

// `name` in `folder` (and `below` it), joined with the system's separator.
std::string InFolder(const std::string& folder, std::string_view name) {
    return platform::host::Utf8Of(platform::host::PathOf(folder) / platform::host::PathOf(name));
}
std::string InFolder(const std::string& folder, std::string_view below, std::string_view name) {
    return platform::host::Utf8Of(platform::host::PathOf(folder) / platform::host::PathOf(below).make_preferred() /
                                  platform::host::PathOf(name));
}

}  // namespace

const MenuProgram& MenuProgramFor(MenuPlatform platform) {
    static const MenuProgram kWindows{MenuPlatform::Windows, "automenu.exe", "the Windows menu"};
    static const MenuProgram kLinux{MenuPlatform::Linux, "automenu", "the Linux menu"};
    return platform == MenuPlatform::Windows ? kWindows : kLinux;
}

std::string OwnDirectory() {
    // "/" and a drive's root ("C:\") are kept whole.
    const std::filesystem::path folder = platform::host::PathOf(platform::host::ProgramPath()).parent_path();
    return folder.empty() ? "." : platform::host::Utf8Of(folder);
}

std::vector<std::string> MenuCandidates(MenuPlatform platform, const std::string& tool_directory) {
    const std::string_view name = MenuProgramFor(platform).name;
    std::vector<std::string> candidates = {InFolder(tool_directory, name)};
    if (platform == MenuPlatform::Windows) candidates.push_back(InFolder(tool_directory, kInstalledBesideTool, name));
    return candidates;
}

std::vector<std::string> NoticesCandidates(const std::string& tool_directory) {
    return {InFolder(tool_directory, kNoticesName), InFolder(tool_directory, kInstalledBesideTool, kNoticesName)};
}

std::optional<std::string> MenuProblem(MenuPlatform platform, const std::string& path) {
    const platform::host::EntryKind kind = platform::host::KindOf(path);
    if (kind == platform::host::EntryKind::Missing) return "not found";
    if (kind != platform::host::EntryKind::File) return "not a file";
    std::ifstream in(platform::host::PathOf(path), std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    const std::string_view head(magic, static_cast<std::size_t>(in.gcount()));
    if (platform == MenuPlatform::Windows && !head.starts_with("MZ")) return "not a Windows program";
    if (platform == MenuPlatform::Linux && head != "\x7f" "ELF") return "not a Linux program";
    return std::nullopt;
}

}  // namespace automenu::tool
