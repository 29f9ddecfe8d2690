// automenu-tool: helps authors of AUTORUN.INF files.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ToolCommand.h"

namespace automenu::tool {
namespace {

const ToolCommand kCommands[] = {
    {"get", "FILE SECTION KEY", "print the value the menu reads for a key (\"0\" when missing)", RunGet},
};

void PrintHelp(std::FILE* to) {
    std::fputs("usage: automenu-tool COMMAND [ARGUMENTS]\n\ncommands:\n", to);
    for (const ToolCommand& c : kCommands) {
        const std::string line = "  " + std::string(c.name) + " " + std::string(c.arguments) + "\n      " +
                                 std::string(c.summary) + "\n";
        std::fputs(line.c_str(), to);
    }
    std::fputs("\nautomenu-tool --help shows this text.\n", to);
}

int Main(int argc, char** argv) {
    std::vector<std::string_view> words(argv + 1, argv + argc);
    if (words.empty()) {
        PrintHelp(stderr);
        return kUsageError;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        PrintHelp(stdout);
        return 0;
    }
    for (const ToolCommand& c : kCommands) {
        if (words[0] != c.name) continue;
        return c.run(CommandArguments(words).subspan(1));
    }
    const std::string message = "automenu-tool: unknown command '" + std::string(words[0]) + "'\n";
    std::fputs(message.c_str(), stderr);
    PrintHelp(stderr);
    return kUsageError;
}

}  // namespace
}  // namespace automenu::tool

int main(int argc, char** argv) { return automenu::tool::Main(argc, argv); }
