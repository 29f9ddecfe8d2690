#include "LayoutChecker.h"

#include <vector>

#include "AutorunChecker.h"
#include "NameSuggestion.h"
#include "base/AsciiCase.h"
#include "config/KeySchema.h"

namespace automenu::tool {

namespace {

bool IsCommentLike(std::string_view name) { return !name.empty() && (name.front() == ';' || name.front() == '#'); }

const SchemaKey* FindAnySection(std::string_view key) {
    for (const SchemaKey& k : SchemaKeys())
        if (EqualsIgnoringCase(k.key, key)) return &k;
    return nullptr;
}

std::vector<std::string> KeysOfSection(std::string_view section) {
    std::vector<std::string> keys;
    for (const SchemaKey& k : SchemaKeys())
        if (EqualsIgnoringCase(k.section, section)) keys.push_back(k.key);
    return keys;
}

}  // namespace

bool LayoutChecker::Listing(Kind kind, int line) {
    const auto k = static_cast<std::size_t>(kind);
    if (m_listed[k] < kMaxListed) return ++m_listed[k], true;
    if (m_unlisted[k].count++ == 0) m_unlisted[k].first_line = line;
    return false;
}

void LayoutChecker::See(const IniLine& line) {
    const int number = static_cast<int>(line.number);
    switch (line.kind) {
    case IniLine::Kind::Blank: break;
    case IniLine::Kind::Section: SeeSection(line, number); break;
    case IniLine::Kind::Key:
    case IniLine::Kind::KeyWithoutValue: SeeKey(line, number); break;
    }
}

std::string LayoutChecker::Shown(std::string_view name) const {
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        // Only a surrogate's three-byte form starts 0xED 0xA0..0xBF.
        if (m_utf16 && static_cast<unsigned char>(name[i]) == 0xED && i + 2 < name.size() &&
            static_cast<unsigned char>(name[i + 1]) >= 0xA0) {
            shown += '?';
            i += 2;
        } else {
            shown += name[i];
        }
    }
    return shown;
}

void LayoutChecker::SeeSection(const IniLine& line, int number) {
    m_under = Under::Other;
    const std::string name = Shown(line.name);
    if (name.empty()) {
        if (Listing(Kind::EmptySection, number))
            m_findings.Add(Severity::Warning, number,
                           "section [] has an empty name, which names the lines before the first header: "
                           "the menu never reads its keys");
    } else if (line.fate == IniLine::Fate::Shadowed) {
        if (Listing(Kind::RepeatedSection, number))
            m_findings.Add(Severity::Warning, number,
                           "section [" + name + "] appears again: only the first one, at line " +
                               std::to_string(line.first_number) + ", is read");
    } else if (EqualsIgnoringCase(name, kAutorunSection)) {
        m_under = Under::Autorun;
    } else if (!IsKnownSection(name, NameMatch::IgnoreCase)) {
        if (!Listing(Kind::UnknownSection, number)) return;
        std::string message = "unknown section [" + name + "]: the menu never reads it";
        std::vector<std::string> sections = SchemaSections();
        sections.emplace_back(kAutorunSection);
        if (auto near = Nearest(name, sections)) message += "; did you mean [" + *near + "]?";
        m_findings.Add(Severity::Warning, number, message);
    } else {
        m_under = Under::KnownSection;
    }
}

void LayoutChecker::SeeKey(const IniLine& line, int number) {
    if (m_under == Under::Other || IsCommentLike(line.name)) return;  // harmless: no key of the menu starts so
    const std::string name = Shown(line.name);
    if (m_under == Under::LeadingLines) {
        if (!Listing(Kind::KeyBeforeSection, number)) return;
        std::string message = "key " + Quote(name) + " stands before any section: the menu never reads it";
        if (const SchemaKey* k = FindAnySection(name)) message += "; it belongs in [" + k->section + "]";
        m_findings.Add(Severity::Warning, number, message);
        return;
    }
    if (m_under == Under::Autorun) {
        SeeAutorunKey(line, number, name);
        return;
    }
    if (!FindSchemaKey(line.section, name, NameMatch::IgnoreCase)) {
        if (!Listing(Kind::UnknownKey, number)) return;
        std::string message = "unknown key " + Quote(name) + " in [" + Shown(line.section) +
                              "]: the menu never reads it";
        if (const SchemaKey* other = FindAnySection(name)) {
            message += "; it belongs in [" + other->section + "]";
        } else if (auto near = Nearest(name, KeysOfSection(line.section))) {
            message += "; did you mean " + Quote(*near) + "?";
        }
        m_findings.Add(Severity::Warning, number, message);
        return;
    }
    if (line.fate == IniLine::Fate::Shadowed) {
        if (Listing(Kind::RepeatedKey, number))
            m_findings.Add(Severity::Warning, number,
                           "key " + Quote(name) + " appears again: only line " + std::to_string(line.first_number) +
                               " is read");
        return;
    }
    if (line.kind == IniLine::Kind::KeyWithoutValue && Listing(Kind::KeyWithoutValue, number))
        m_findings.Add(Severity::Warning, number,
                       "key " + Quote(name) + " has no \"=\": the menu reads it as missing (\"0\")");
}

// Windows reads [autorun] as the menu reads its own sections: names ignoring
// case, the first of repeated keys.
void LayoutChecker::SeeAutorunKey(const IniLine& line, int number, const std::string& name) {
    if (!IsAutorunKey(name)) {
        if (!Listing(Kind::UnknownKey, number)) return;
        std::string message = "unknown key " + Quote(name) + " in [" + Shown(line.section) + "]: Windows ignores it";
        if (const SchemaKey* other = FindAnySection(name)) {
            message += "; it belongs in [" + other->section + "]";
        } else if (auto near = Nearest(name, AutorunKeys())) {
            message += "; did you mean " + Quote(*near) + "?";
        }
        m_findings.Add(Severity::Warning, number, message);
    } else if (line.fate == IniLine::Fate::Shadowed) {
        if (Listing(Kind::RepeatedKey, number))
            m_findings.Add(Severity::Warning, number,
                           "key " + Quote(name) + " appears again: only line " + std::to_string(line.first_number) +
                               " is read");
    } else if (line.kind == IniLine::Kind::KeyWithoutValue && Listing(Kind::KeyWithoutValue, number)) {
        m_findings.Add(Severity::Warning, number, "key " + Quote(name) + " has no \"=\": Windows ignores it");
    }
}

void LayoutChecker::Finish() {
    static constexpr const char* kUnlistedWhat[] = {
        "sections with an empty name", "repeated sections", "unknown sections", "keys before any section",
        "unknown keys",                "repeated keys",     "keys without \"=\""};
    for (std::size_t k = 0; k < m_unlisted.size(); ++k)
        if (m_unlisted[k].count > 0)
            m_findings.Add(Severity::Note, m_unlisted[k].first_line,
                           "and " + std::to_string(m_unlisted[k].count) + " more " + kUnlistedWhat[k] +
                               " from here on, not listed one by one");
}

}  // namespace automenu::tool
