#include "CheckedFile.h"

#include "FindingList.h"
#include "base/Exceptions.h"
#include "config/ValueRules.h"
#include "ui/TApplication.h"

namespace automenu::tool {

std::optional<std::int32_t> ToInteger(std::string_view text) {
    try {
        return SettingToInteger(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::string ConvertMessage(std::string_view text) {
    try {
        SettingToInteger(text);
    } catch (const EConvertError& e) {
        return TApplication::ErrorText(e.Message());
    }
    return {};
}

std::string CheckedFile::Value(std::string_view section, std::string_view key) const {
    return m_reader.ReadString(section, key, "0");
}

bool CheckedFile::Present(std::string_view section, std::string_view key) const {
    return m_reader.Find(section, key).has_value();
}

const IniKeyEntry* CheckedFile::Key(std::string_view section, std::string_view key) const {
    return m_reader.Index().FindKey(section, key);
}

const IniIndex::Section* CheckedFile::Section(std::string_view section) const {
    return m_reader.Index().FindSection(section);
}

int CheckedFile::SectionLine(std::string_view section) const {
    const IniIndex::Section* s = Section(section);
    return s ? static_cast<int>(s->line) : 0;
}

int CheckedFile::LineOf(std::string_view section, std::string_view key) const {
    if (const IniKeyEntry* e = Key(section, key)) return static_cast<int>(e->line);
    return SectionLine(section);
}

bool CheckedFile::GateOpen(const SchemaKey& key) const {
    switch (key.gate) {
    case GateKind::None: return true;
    case GateKind::Switch: return IsYes(Value(key.gate_section, key.gate_key));
    case GateKind::Count: {
        const auto count = ToInteger(Value(key.gate_section, key.gate_key));
        return count && key.number <= *count;
    }
    }
    return false;
}

std::string CheckedFile::GateReason(const SchemaKey& key) const {
    const std::string value = Value(key.gate_section, key.gate_key);
    const bool present = Present(key.gate_section, key.gate_key);
    if (key.gate == GateKind::Switch)
        return present ? Quote(key.gate_key) + " is " + Quote(value) + ", not \"YES\""
                       : Quote(key.gate_key) + " is missing (off)";
    const auto count = ToInteger(value);
    if (!count) return Quote(key.gate_key) + " is not a number";
    return "the label is hidden while " + Quote(key.gate_key) + " is " + std::to_string(*count) +
           (present ? "" : " (missing)");
}

}  // namespace automenu::tool
