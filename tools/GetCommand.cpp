#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "config/TIniFile.h"

namespace automenu::tool {

// Prints what the menu's lookup gives for a key of a file, byte for byte.
int RunGet(CommandArguments args) {
    if (args.size() != 3) {
        std::fputs("usage: automenu-tool get FILE SECTION KEY\n", stderr);
        return kUsageError;
    }
    TIniFile reader{std::string(args[0])};
    std::string value = reader.LookUpSetting(args[1], args[2]);
    value.push_back('\n');
    std::fwrite(value.data(), 1, value.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace automenu::tool
