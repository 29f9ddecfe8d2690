// The subcommands of automenu-tool. Each is a function of its arguments (the
// words after the subcommand's name) that returns the exit code.
#pragma once

#include <span>
#include <string_view>

namespace automenu::tool {

using CommandArguments = std::span<const std::string_view>;

struct ToolCommand {
    std::string_view name;
    std::string_view arguments;  // shown in the usage text
    std::string_view summary;
    std::string_view help;       // shown by "automenu-tool COMMAND --help"
    int (*run)(CommandArguments args);
};

// Exit code for a command line the tool does not understand.
inline constexpr int kUsageError = 2;

int RunGet(CommandArguments args);
int RunCheck(CommandArguments args);
int RunRender(CommandArguments args);
int RunKeys(CommandArguments args);
int RunTemplate(CommandArguments args);
int RunPack(CommandArguments args);

}  // namespace automenu::tool
