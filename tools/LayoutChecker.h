// Check's view of the file's lines as the lexer reads them: sections and keys
// the menu never reads, repeats, keys without "=". It sees each line once, as
// it is read, and keeps nothing of the file.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "FindingList.h"
#include "config/IniLexer.h"

namespace automenu::tool {

class LayoutChecker {
public:
    explicit LayoutChecker(FindingList& findings) : m_findings(findings) {}

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
    enum class Under { LeadingLines, KnownSection, Other };

    // Whether a finding of this kind at this line is still listed.
    bool Listing(Kind kind, int line);
    void SeeSection(const IniLine& line, int number);
    void SeeKey(const IniLine& line, int number);

    FindingList& m_findings;
    Under m_under = Under::LeadingLines;
    std::array<Unlisted, static_cast<std::size_t>(Kind::Count)> m_unlisted{};
    std::array<int, static_cast<std::size_t>(Kind::Count)> m_listed{};
};

}  // namespace automenu::tool
