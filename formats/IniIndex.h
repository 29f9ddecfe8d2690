// The first section of each name in AUTORUN.INF and the first line of each
// key in it: the lines lookups are answered from. Names match regardless of
// ASCII case, as the profile API matches them.
//
// The keys are views into the file's text, which must outlive the index.
// Every name of a file within the cap is indexed, so a file could pile its
// names into one bucket if it could predict the hash: the hash starts from a
// seed chosen at random once per process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace automenu {

// The first line of a key in its section.
struct IniKeyEntry {
    std::uint32_t line = 0;  // 1-based
    bool has_value = false;   // false: the line has no "=" and reads as missing
    std::string_view value;  // as a lookup gives it
};

class IniIndex {
public:
    struct FoldedHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    struct Section {
        std::uint32_t line = 0;      // 0: the unnamed section before any header
        std::uint32_t key_lines = 0;  // key lines under its header, repeats included
        std::uint32_t id = 0;
    };

    // The section of that name, added when new (`second` true) with the line
    // of its header.
    std::pair<Section*, bool> AddSection(std::string_view name, std::uint32_t line);
    // The entry of that key, added when new (`second` true).
    std::pair<const IniKeyEntry*, bool> AddKey(const Section& section, std::string_view name, const IniKeyEntry& entry);

    const Section* FindSection(std::string_view name) const;
    const IniKeyEntry* FindKey(std::string_view section, std::string_view key) const;
    const IniKeyEntry* FindKey(const Section& section, std::string_view key) const;

    // Room for about that many lines without growing the maps as they fill.
    void Reserve(std::size_t lines);

    // Bytes held by the maps, an estimate from their nodes and buckets.
    std::size_t StorageBytes() const;

private:
    // One map for the keys of all sections: a map for each section would
    // cost its buckets in a file of many small sections.
    struct KeyName {
        std::uint32_t section;
        std::string_view name;
    };
    struct KeyHash {
        std::size_t operator()(const KeyName& k) const;
    };
    struct KeyEqual {
        bool operator()(const KeyName& a, const KeyName& b) const;
    };

    std::unordered_map<std::string_view, Section, FoldedHash, FoldedEqual> m_sections;
    std::unordered_map<KeyName, IniKeyEntry, KeyHash, KeyEqual> m_keys;
};

}  // namespace automenu
