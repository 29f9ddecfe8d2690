// Every section and key of AUTORUN.INF that the menu reads, with the kind of
// its value, the key that gates it and what a missing key yields. Keys that
// are not here are never looked at.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace automenu {

enum class ValueKind { Switch, Directory, FileName, Integer, Text, ColourName, FontName, Size, LaunchTarget };

enum class GateKind {
    None,    // always read
    Switch,  // read only when the gate's "... Use" switch is "YES"
    Count,   // read for label N only when N <= the gate's count
};

// One row of the schema. In numbered rows "#" stands for the number 1 to 8,
// in the section name and the key name alike.
struct KeyPattern {
    std::string_view section;
    std::string_view key;
    ValueKind kind;
    GateKind gate;
    std::string_view gateSection;
    std::string_view gateKey;
};

// One key of the schema, with the number filled in.
struct SchemaKey {
    std::string section;
    std::string key;
    ValueKind kind;
    GateKind gate;
    std::string gateSection;
    std::string gateKey;
    int number;  // 1..8 in the numbered families, else 0
    const KeyPattern* pattern;
};

enum class NameMatch { Exact, IgnoreCase };

inline constexpr int kNumberedLabels = 8;

std::span<const KeyPattern> KeyPatterns();      // 65 rows, in file order
const std::vector<std::string>& SchemaSections();  // 23 sections, in file order
const std::vector<SchemaKey>& SchemaKeys();        // 240 keys, in file order

const SchemaKey* FindSchemaKey(std::string_view section, std::string_view key, NameMatch match = NameMatch::Exact);
bool IsKnownSection(std::string_view section, NameMatch match = NameMatch::Exact);
bool IsKnownKey(std::string_view section, std::string_view key, NameMatch match = NameMatch::Exact);

std::string_view ValueKindName(ValueKind kind);
// What a missing key of that kind yields (it reads as "0").
std::string_view MissingKeyYields(ValueKind kind);

}  // namespace automenu
