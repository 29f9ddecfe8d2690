// What the lexer reports of each line: the numbers findings point at, and
// what became of the line. The values themselves are tested through the
// reader's lookups (ProfileReaderTest).
#include "formats/IniLexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace automenu {
namespace {

using namespace std::string_literals;
using Kind = IniLine::Kind;
using Fate = IniLine::Fate;

// One line in short: "number kind fate first [section] name=value cuts".
std::string Describe(const IniLine& line) {
    static const char* const kKinds[] = {"blank", "section", "key", "bare"};
    static const char* const kFates[] = {"read", "ignored", "shadowed"};
    std::string out = std::to_string(line.number);
    out.append(" ").append(kKinds[static_cast<int>(line.kind)]).append(" ").append(kFates[static_cast<int>(line.fate)]);
    if (line.fate == Fate::Shadowed) out.append(" by ").append(std::to_string(line.first_number));
    if (line.kind == Kind::Blank) return out;
    out.append(" [").append(line.section).append("] ").append(line.name);
    if (line.kind == Kind::Key) out.append("=").append(line.value.substr(0, 8));
    if (line.cut_at_nul) out.append(" nul");
    if (line.cut_at_limit) out.append(" limit");
    return out;
}

std::vector<std::string> Lines(std::string text) {
    std::vector<std::string> lines;
    const IniLexer lexer(std::move(text), CodePage::Windows1252(),
                         [&](const IniLine& line) { lines.push_back(Describe(line)); });
    return lines;
}

struct LineCase {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
};

const std::string kLong(3000, 'x');

const LineCase kLineCases[] = {
    {"LF, CR LF and a lone CR each end one line", "[A]\r\nk1=1\r\rk2=2\n\nk3=3",
     {"1 section read [A] A", "2 key read [A] k1=1", "3 blank ignored", "4 key read [A] k2=2", "5 blank ignored",
      "6 key read [A] k3=3"}},
    {"LF CR is two line ends", "k=1\n\rj=2\n", {"1 key read [] k=1", "2 blank ignored", "3 key read [] j=2"}},
    {"no line after the last line end", "\n", {"1 blank ignored"}},
    {"the first key wins, regardless of case", "[A]\nk=1\nK=2\nk\n",
     {"1 section read [A] A", "2 key read [A] k=1", "3 key shadowed by 2 [A] K=2", "4 bare shadowed by 2 [A] k"}},
    {"a key without = shadows a later one", "[A]\nk\nk=1\n",
     {"1 section read [A] A", "2 bare read [A] k", "3 key shadowed by 2 [A] k=1"}},
    {"keys of a repeated section are ignored", "[A]\nk=1\n[a]\nj=2\n",
     {"1 section read [A] A", "2 key read [A] k=1", "3 section shadowed by 1 [a] a", "4 key ignored [a] j=2"}},
    {"[] repeats the unnamed section", "k=1\n[ ]\nk=2\n",
     {"1 key read [] k=1", "2 section shadowed by 0 [] ", "3 key ignored [] k=2"}},
    {"a key is its section's own", "[A]\nk=1\n[B]\nk=2\n",
     {"1 section read [A] A", "2 key read [A] k=1", "3 section read [B] B", "4 key read [B] k=2"}},
    {"NUL cuts are reported", "[A\0B]\nk\0j=v\nv=a\0b\n"s,
     {"1 section read [A] A nul", "2 key read [A] k=v nul", "3 key read [A] v=a nul"}},
    {"the value limit is reported", "k=" + kLong + "\nj=\"" + kLong.substr(0, 2047) + "\"\n",
     {"1 key read [] k=xxxxxxxx limit", "2 key read [] j=xxxxxxxx"}},
    {"a header without ] is a key line", "[A\n", {"1 bare read [] [A"}},
};

TEST(IniLexer, ReportsEveryLine) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Lines(c.text), c.lines);
    }
}

TEST(IniLexer, NumbersTheLinesOfDecodedFiles) {
    const std::u16string text = u"\uFEFF[A]\r\n\rk=\u00E9\n";
    std::string utf16;
    for (char16_t u : text) utf16 += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    const std::vector<std::string> expected = {"1 section read [A] A", "2 blank ignored",
                                               "3 key read [A] k=\xC3\xA9"};
    EXPECT_EQ(Lines(utf16), expected);
    EXPECT_EQ(Lines("\xEF\xBB\xBF[A]\r\n\rk=\xC3\xA9\n"), expected);
}

}  // namespace
}  // namespace automenu
