#include "MenuPrograms.h"

#include <sys/stat.h>

#include <fstream>

#include "platform/posix/PosixFiles.h"

namespace automenu::tool {

const MenuProgram& MenuProgramFor(MenuPlatform platform) {
    static const MenuProgram kWindows{MenuPlatform::Windows, "automenu.exe", "the Windows menu"};
    static const MenuProgram kLinux{MenuPlatform::Linux, "automenu", "the Linux menu"};
    return platform == MenuPlatform::Windows ? kWindows : kLinux;
}

std::string OwnDirectory() {
    const std::string path = platform::PosixProgramPath();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> MenuCandidates(MenuPlatform platform, const std::string& tool_directory) {
    const std::string name(MenuProgramFor(platform).name);
    std::vector<std::string> candidates = {tool_directory + "/" + name};
    if (platform == MenuPlatform::Windows) candidates.push_back(tool_directory + "/../share/automenu/" + name);
    return candidates;
}

std::vector<std::string> NoticesCandidates(const std::string& tool_directory) {
    const std::string name(kNoticesName);
    return {tool_directory + "/" + name, tool_directory + "/../share/automenu/" + name};
}

std::optional<std::string> MenuProblem(MenuPlatform platform, const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "not found";
    if (!S_ISREG(st.st_mode)) return "not a file";
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    const std::string_view head(magic, static_cast<std::size_t>(in.gcount()));
    if (platform == MenuPlatform::Windows && !head.starts_with("MZ")) return "not a Windows program";
    if (platform == MenuPlatform::Linux && head != "\x7f" "ELF") return "not a Linux program";
    return std::nullopt;
}

}  // namespace automenu::tool
