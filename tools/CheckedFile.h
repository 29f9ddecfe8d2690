// The AUTORUN.INF a check looks at: what the menu's lookups give, and the
// lines they are answered from, which findings point at.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "LabelSpec.h"
#include "config/KeySchema.h"
#include "platform/ProfileReader.h"

namespace automenu::tool {

class CheckedFile {
public:
    CheckedFile(std::string directory, ProfileReader reader)
        : m_directory(std::move(directory)), m_reader(std::move(reader)) {}

    const std::string& Directory() const { return m_directory; }
    const ProfileReader& Reader() const { return m_reader; }

    // What the menu's lookup gives, "0" when missing.
    std::string Value(std::string_view section, std::string_view key) const;
    bool Present(std::string_view section, std::string_view key) const;

    // The line a lookup is answered from (with or without "="), or null.
    const IniKeyEntry* Key(std::string_view section, std::string_view key) const;
    // The first section of the name, or null.
    const IniIndex::Section* Section(std::string_view section) const;
    // The section's header line, else 0.
    int SectionLine(std::string_view section) const;
    // The key's line, else its section's, else 0.
    int LineOf(std::string_view section, std::string_view key) const;
    int LineOf(KeyId id) const { return LineOf(KeyOf(id).section, KeyOf(id).key); }

    // Whether a key of the schema is looked up by some pass, given the gates.
    bool GateOpen(const SchemaKey& key) const;
    // Why it is not, for a note.
    std::string GateReason(const SchemaKey& key) const;
    bool Shown(const LabelSpec& label) const { return GateOpen(*label.gate); }

private:
    std::string m_directory;
    ProfileReader m_reader;
};

// A value as the menu converts it to an integer, or nothing where the menu
// fails; and the text of its error box then.
std::optional<std::int32_t> ToInteger(std::string_view text);
std::string ConvertMessage(std::string_view text);

}  // namespace automenu::tool
