// pack on Windows, until the medium writer runs there: it says so.
#include <cstdio>

#include "ToolCommand.h"

namespace automenu::tool {

int RunPack(CommandArguments) {
    std::fputs("automenu-tool: pack is not available in this Windows build yet; pack the folder on Linux\n", stderr);
    return 1;
}

}  // namespace automenu::tool
