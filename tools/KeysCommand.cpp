#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "config/KeySchema.h"

namespace automenu::tool {

// The schema as a listing: each section with its keys, their kind, when they
// are read and what a missing key reads as.
std::string KeysListing() {
    std::string out;
    std::string section;
    for (const SchemaKey& k : SchemaKeys()) {
        if (k.section != section) {
            section = k.section;
            if (!out.empty()) out += '\n';
            out += '[';
            out += section;
            out += "]\n";
        }
        out += "  ";
        out += k.key;
        out += "\n      ";
        out += ValueKindName(k.kind);
        out += "; missing: ";
        out += MissingKeyYields(k.kind);
        if (k.gate == GateKind::Switch) out += "; read only when \"" + k.gate_key + "\" is \"YES\"";
        if (k.gate == GateKind::Count)
            out += "; read only when \"" + k.gate_key + "\" is " + std::to_string(k.number) + " or more";
        if (k.kind == ValueKind::LinuxTarget) out += "; read by the Linux menu only, after every other key";
        out += "\n";
    }
    out += '\n';
    out += std::to_string(SchemaSections().size());
    out += " sections, ";
    out += std::to_string(SchemaKeys().size());
    out += " keys. Names match regardless of case; values are compared exactly.\n";
    return out;
}

int RunKeys(CommandArguments args) {
    if (!args.empty()) {
        std::fputs("usage: automenu-tool keys\n", stderr);
        return kUsageError;
    }
    const std::string out = KeysListing();
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace automenu::tool
