// Where `pack` finds the two menus it puts on a medium: the Linux one beside
// the tool (an installed tool's bin/automenu, or the build directory's), the
// Windows one beside the tool or in the installed share/automenu/.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace automenu::tool {

enum class MenuPlatform { Windows, Linux };

struct MenuProgram {
    MenuPlatform platform;
    std::string_view name;  // its name on the medium
    std::string_view what;  // for messages: "the Windows menu"
};
const MenuProgram& MenuProgramFor(MenuPlatform platform);

// The directory of the running program.
std::string OwnDirectory();

// The places looked at, in order, for a tool in `tool_directory`.
std::vector<std::string> MenuCandidates(MenuPlatform platform, const std::string& tool_directory);

// The licence notices of the menus, which pack puts beside them on a medium,
// and the places looked at for them: where the Windows menu is looked for.
inline constexpr std::string_view kNoticesName = "automenu-licenses.txt";
std::vector<std::string> NoticesCandidates(const std::string& tool_directory);

// Why `path` cannot be that menu ("not found", "not a Windows program"), or
// nothing when it can.
std::optional<std::string> MenuProblem(MenuPlatform platform, const std::string& path);

}  // namespace automenu::tool
