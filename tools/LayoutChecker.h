// Check's view of the file's lines as the lexer reads them: sections and keys
// the menu never reads, repeats, keys without "=". It sees each line once, as
// it is read, and keeps nothing of the file.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "FindingList.h"
#include "formats/IniLexer.h"

namespace automenu::tool {

class LayoutChecker {
public:
    // `utf16`: the file is UTF-16, whose names may hold unpaired surrogates.
    LayoutChecker(FindingList& findings, bool utf16) : m_findings(findings), m_utf16(utf16) {}

    void See(const IniLine& line);
    // Adds the notes that count what was not listed.
    void Finish();

private:
    // A file may repeat one mistake on a million lines: each kind of finding
    // is listed for its first kMaxListed lines, and a note at the first line
    // left out counts the rest.
    enum class Kind { EmptySection, RepeatedSection, UnknownSection, KeyBeforeSection, UnknownKey, RepeatedKey,
                      KeyWithoutValue, Count };
    static constexpr int kMaxListed = 200;
    struct Unlisted {
        int count = 0;
        int first_line = 0;
    };
    // Which keys of the lines under the current header are looked at.
    enum class Under { LeadingLines, KnownSection, Autorun, Other };

    // Whether a finding of this kind at this line is still listed.
    bool Listing(Kind kind, int line);
    void SeeSection(const IniLine& line, int number);
    void SeeKey(const IniLine& line, int number);
    void SeeAutorunKey(const IniLine& line, int number, const std::string& name);
    // A name as findings show it: an unpaired surrogate of a UTF-16 name
    // (kept by the reader so that the name matches nothing) shows as "?", as
    // values show it.
    std::string Shown(std::string_view name) const;

    FindingList& m_findings;
    bool m_utf16 = false;
    Under m_under = Under::LeadingLines;
    std::array<Unlisted, static_cast<std::size_t>(Kind::Count)> m_unlisted{};
    std::array<int, static_cast<std::size_t>(Kind::Count)> m_listed{};
};

}  // namespace automenu::tool
