#include "platform/ProfileReader.h"
#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/AsciiCase.h"
#include "formats/TextDecoding.h"
#include "formats/TextEncoding.h"
#include "platform/posix/IconvCodePage.h"
#include "support/LanguageCorpus.h"
#include "support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

namespace automenu::platform {
namespace {

using namespace std::string_view_literals;
using namespace std::string_literals;

// A name as a lookup asks for it: trimmed of the blanks 0x09-0x0D, 0x1A and 0x20.
std::string_view Trimmed(std::string_view s) {
    constexpr std::string_view kBlanks = "\t\n\v\f\r\x1A ";
    const std::size_t begin = s.find_first_not_of(kBlanks);
    return begin == std::string_view::npos ? std::string_view()
                                           : s.substr(begin, s.find_last_not_of(kBlanks) - begin + 1);
}

struct LexicalCase {
    const char* rule;
    std::string_view text;
    std::string_view section;
    std::string_view key;
    std::optional<std::string_view> expected;  // nothing: the default comes back
};

const std::string kLongValue(3000, 'x');
const std::string kExactValue(2047, 'y');
const std::string kLongFile = "[s]\nk=" + kLongValue + "\nexact=" + kExactValue + "\nquoted=\"" + kLongValue +
                              "\"\nquoted_exact=\"" + kExactValue + "\"\n";
// 2046 bytes and a two-byte letter: 2047 characters, which fit.
const std::string kUtf8Value = std::string(2046, 'x') + "\xC3\xA9";
const std::string kUtf8LongFile = "\xEF\xBB\xBFk=" + kUtf8Value + "\n";

// One row per rule observed on Windows.
const LexicalCase kLexicalCases[] = {
    {"section name ignores ASCII case", "[Setup]\nKey=v\n", "sETUP", "kEY", "v"},
    {"names asked for are trimmed", "[Setup]\nKey=v\n", " \tSetup\x0B", "\x1A Key \x0C", "v"},
    {"blanks inside a section name count", "[My Setup]\nKey=v\n", "MySetup", "Key", std::nullopt},
    {"blanks inside a key name count", "[s]\nMy Key=v\n", "s", "My  Key", std::nullopt},
    {"a section prefix never matches", "[Setup Two]\nKey=v\n", "Setup", "Key", std::nullopt},
    {"a key prefix never matches", "[s]\nKeyName=v\n", "s", "Key", std::nullopt},
    {"a longer key never matches", "[s]\nKey=v\n", "s", "KeyName", std::nullopt},
    {"non-ASCII letters keep their case", "[\xC4]\nk=v\n", "\xC3\xA4", "k", std::nullopt},
    {"names are read in the code page", "[\xC4]\nk=v\n", "\xC3\x84", "k", "v"},
    {"missing section", "[s]\nk=v\n", "t", "k", std::nullopt},
    {"missing key", "[s]\nk=v\n", "s", "j", std::nullopt},
    {"empty file", "", "s", "k", std::nullopt},
    {"empty value is the empty text", "[s]\nk=\n", "s", "k", ""},
    {"first of duplicate keys wins", "[s]\nk=first\nk=second\n", "s", "k", "first"},
    {"first of duplicate keys wins even when empty", "[s]\nk=\nK=second\n", "s", "k", ""},
    {"only the first of duplicate sections is searched", "[s]\na=1\n[ S ]\nb=2\n", "s", "b", std::nullopt},
    {"keys of the first duplicate section are found", "[s]\na=1\n[S]\na=2\n", "s", "a", "1"},
    {"lines before any header form an unnamed section", "k=v\n[s]\nj=w\n", "", "k", "v"},
    {"the unnamed section is reached with blanks", "k=v\n[s]\n", "  \t", "k", "v"},
    {"the unnamed section ends at the first header", "k=v\n[s]\nj=w\n", "", "j", std::nullopt},
    {"a later [] repeats the unnamed section", "k=1\n[]\nj=2\n", "", "j", std::nullopt},
    {"a later [] leaves the unnamed section's keys", "k=1\n[]\nj=2\n", "", "k", "1"},
    {"[] as the first line repeats the unnamed section", "[]\nk=v\n", "", "k", std::nullopt},
    {"[ ] after other sections repeats it", "[x]\nk=1\n[ ]\nj=3\n", "", "j", std::nullopt},
    {"[\\t] repeats it", "[\t]\nk=v\n", "", "k", std::nullopt},
    {"a name empty after the NUL cut repeats it", "[\0x]\nk=v\n"sv, "", "k", std::nullopt},
    {"sections after [] are found", "[]\nk=1\n[s]\nk=2\n", "s", "k", "2"},
    {"CRLF ends a line", "[s]\r\na=1\r\nb=2\r\n", "s", "b", "2"},
    {"CR alone ends a line", "[s]\ra=1\rb=2\r", "s", "b", "2"},
    {"mixed line ends", "[s]\n\r\r\na=1\n\rb=2", "s", "b", "2"},
    {"blank lines are ignored", "\n \t \n[s]\n\x0B\x0C\n\nk=v\n", "s", "k", "v"},
    {"no final newline", "[s]\nk=v", "s", "k", "v"},
    {"no final newline after a header", "[s]", "s", "k", std::nullopt},
    {"blanks are 0x09-0x0D, 0x1A and 0x20", "[s]\n\x1A\x0B k\x09=\x0C\x1A v \x0B\x1A", "s", "k", "v"},
    {"0xA0 is not a blank", "[s]\n\xA0k=v\xA0\n", "s", "\xC2\xA0k", "v\xC2\xA0"},
    {"0xA0 is not trimmed from the name asked for", "[s]\n\xA0k=v\n", "s", "k", std::nullopt},
    {"a NUL cuts a key name", "[s]\nke\0y=v\n"sv, "s", "ke", "v"},
    {"a NUL cuts a value", "[s]\nk=ab\0cd\n"sv, "s", "k", "ab"},
    {"a NUL does not end the line", "[s]\nk\0x=v\nj=w\n"sv, "s", "k", "v"},
    {"a NUL cuts a section name", "[se\0ct]\nk=v\n"sv, "se", "k", "v"},
    {"a NUL cuts after trimming, before unquoting", "[s]\nk= \"a\0b\" \n"sv, "s", "k", "\"a"},
    {"quotes before a NUL come off", "[s]\nk=\"ab\"\0cd\n"sv, "s", "k", "ab"},
    {"a quote after a NUL does not count", "[s]\nk=\"\0\"\n"sv, "s", "k", "\""},
    {"a NUL in the name asked for ends it", "[s]\nk=v\n", "s", "k\0zzz"sv, "v"},
    {"text after the ] is ignored", "[s] tail ; x\nk=v\n", "s", "k", "v"},
    {"the name runs to the last ]", "[a]b] tail\nk=v\n", "a]b", "k", "v"},
    {"the header name is trimmed", "[ \ts\x0B ]\nk=v\n", "s", "k", "v"},
    {"a header may be indented", "  \t[s]\nk=v\n", "s", "k", "v"},
    {"[ without ] is a key line", "[s]\n[open=1\nk=v\n", "s", "[open", "1"},
    {"[ without ] keeps the current section", "[s]\n[open=1\nk=v\n", "s", "k", "v"},
    {"a key line splits at the first =", "[s]\nk=a=b\n", "s", "k", "a=b"},
    {"blanks around = are dropped", "[s]\nk \t=\t v\n", "s", "k", "v"},
    {"blanks inside a value are kept", "[s]\nk=  a  b  \n", "s", "k", "a  b"},
    {"a line without = reads as missing", "[s]\nk\n", "s", "k", std::nullopt},
    {"a line without = hides a later one", "[s]\nk\nk=v\n", "s", "k", std::nullopt},
    {"an empty key name", "[s]\n=v\n", "s", "", "v"},
    {"; starts no comment", "[s]\n;k=x\n", "s", ";k", "x"},
    {"; is part of the key name", "[s]\n;k=x\n", "s", "k", std::nullopt},
    {"# starts no comment", "[s]\n#k=x\n", "s", "#k", "x"},
    {"; and # are kept inside a value", "[s]\nk=a ; b # c\n", "s", "k", "a ; b # c"},
    {"double quotes are removed", "[s]\nk=\"v\"\n", "s", "k", "v"},
    {"single quotes are removed", "[s]\nk='v'\n", "s", "k", "v"},
    {"quotes come off after trimming", "[s]\nk=  \" v \"  \n", "s", "k", " v "},
    {"only one pair comes off", "[s]\nk='\"v\"'\n", "s", "k", "\"v\""},
    {"an empty quoted value", "[s]\nk=\"\"\n", "s", "k", ""},
    {"a lone quote is kept", "[s]\nk=\"\n", "s", "k", "\""},
    {"unmatched quotes are kept", "[s]\nk=\"v\n", "s", "k", "\"v"},
    {"mixed quotes are kept", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
    {"inner quotes are kept", "[s]\nk=\"a\"b\"\n", "s", "k", "a\"b"},
    {"a name never spans lines", "[s]\nZ\nk=v\n", "s", "Z\nk", std::nullopt},
    {"a section never spans lines", "[s]\n[t]\nk=v\n", "s]\n[t", "k", std::nullopt},
    {"names keep their quotes", "[s]\n\"k\"=v\n", "s", "\"k\"", "v"},
    {"quoted names do not match unquoted", "[s]\n\"k\"=v\n", "s", "k", std::nullopt},
    {"at most 2047 bytes of a value", kLongFile, "s", "k", std::string_view(kLongValue).substr(0, 2047)},
    {"a value of 2047 bytes is whole", kLongFile, "s", "exact", kExactValue},
    {"a quoted value is cut at 2047 bytes", kLongFile, "s", "quoted", std::string_view(kLongValue).substr(0, 2047)},
    {"a quoted value of 2047 bytes is whole", kLongFile, "s", "quoted_exact", kExactValue},
    {"an ANSI file is read in its code page", "[s]\nk=\xE9\xFF\x80\x81\n", "s", "k",
     "\xC3\xA9\xC3\xBF\xE2\x82\xAC\xC2\x81"},
    {"UTF-8 without a mark is UTF-8", "[s]\nk=\xC3\xA9\n", "s", "k", "\xC3\xA9"},
    {"one byte that is not UTF-8 makes the file ANSI", "[s]\nk=\xC3\xA9\nj=\xE9\n", "s", "k", "\xC3\x83\xC2\xA9"},
    {"a UTF-8 mark is not part of the first name", "\xEF\xBB\xBFk=v\n", "", "k", "v"},
    {"a UTF-8 file gives UTF-8", "\xEF\xBB\xBF[s]\nk=\xC3\xA9\n", "s", "k", "\xC3\xA9"},
    {"the limit counts characters, not bytes", kUtf8LongFile, "", "k", kUtf8Value},
    // In a file with a UTF-8 mark, one "?" for each maximal ill-formed subsequence.
    {"a stray byte is one ?",
     "\xEF\xBB\xBFk=a\xFF\x80"
     "b\n",
     "", "k", "a??b"},
    {"a truncated sequence is one ?", "\xEF\xBB\xBFk=\xE2\x82 \xF0\x9F\x98", "", "k", "? ?"},
    {"an overlong form is one ? a byte", "\xEF\xBB\xBFk=\xC0\xAF\xE0\x80\n", "", "k", "????"},
    {"a surrogate is one ? a byte", "\xEF\xBB\xBFk=\xED\xA0\x80\n", "", "k", "???"},
    {"past U+10FFFF is one ? a byte", "\xEF\xBB\xBFk=\xF4\x90\x80\x80\n", "", "k", "????"},
    {"names are decoded too", "\xEF\xBB\xBF[\xFF]\nk=v\n", "?", "k", "v"},
};

TEST(ProfileReader, LexicalRules) {
    for (const LexicalCase& c : kLexicalCases) {
        SCOPED_TRACE(c.rule);
        const ProfileReader reader = ProfileReader::FromBytes(std::string(c.text));
        const std::optional<std::string> got = reader.Find(c.section, c.key);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << (got ? *got : "(default)");
        if (got) {
            EXPECT_EQ(*got, *c.expected);
        }
        EXPECT_EQ(reader.ReadString(c.section, c.key, "0"), got ? *got : "0");
    }
}

std::string Utf16(std::u16string_view text, bool big_endian, bool mark) {
    std::string out;
    auto put = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out.push_back(big_endian ? hi : lo);
        out.push_back(big_endian ? lo : hi);
    };
    if (mark) put(u'\xFEFF');
    for (char16_t u : text) put(u);
    return out;
}

TEST(ProfileReader, Utf16WithMarkIsDecodedToUtf8) {
    const std::u16string text =
        u"[S\u00EBc]\r\nCaption = \u00E9\u20AC\U0001F600\r\nQuoted=\"x\"\r\nLow=\xDC00\xD800\r\nLone=\xD800z";
    for (const bool big_endian : {false, true}) {
        SCOPED_TRACE(big_endian ? "big-endian" : "little-endian");
        const ProfileReader reader = ProfileReader::FromBytes(Utf16(text, big_endian, true));
        EXPECT_EQ(reader.FileEncoding(), big_endian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le);
        EXPECT_EQ(reader.ReadString("s\xC3\xAB" "C", "caption", "0"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
        EXPECT_EQ(reader.ReadString("S\xC3\xAB" "c", "Quoted", "0"), "x");
        // An unpaired surrogate becomes "?", as a character the platform cannot convert.
        EXPECT_EQ(reader.ReadString("S\xC3\xAB" "c", "Lone", "0"), "?z");
        EXPECT_EQ(reader.ReadString("S\xC3\xAB" "c", "Low", "0"), "??");
        // Only ASCII letters match regardless of case.
        EXPECT_EQ(reader.ReadString("S\xC3\x8B" "c", "Caption", "0"), "0");
    }
}

TEST(ProfileReader, Utf16WithoutMarkIsNotRecognised) {
    const ProfileReader reader = ProfileReader::FromBytes(Utf16(u"[s]\r\nk=v\r\n", false, false));
    EXPECT_EQ(reader.FileEncoding(), TextEncoding::Ansi);
    EXPECT_EQ(reader.ReadString("s", "k", "0"), "0");
}

TEST(ProfileReader, ValueLimitCountsUtf16CodeUnits) {
    struct Case {
        const char* what;
        std::u16string text;
        std::size_t bytes;  // of the value
    } cases[] = {
        // 2047 characters of three bytes each: 6141 bytes of UTF-8.
        {"2100 euro signs keep 2047", u"k=" + std::u16string(2100, u'\u20AC'), 2047 * 3},
        {"a pair counts two", u"k=" + std::u16string(2045, u'x') + u"\U0001F600", 2045 + 4},
        {"a pair that would not fit whole is left out", u"k=" + std::u16string(2046, u'x') + u"\U0001F600", 2046},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool utf16 : {true, false}) {
            const std::string text = utf16 ? Utf16(c.text, false, true) : "\xEF\xBB\xBF" + Utf16ToUtf8(c.text);
            EXPECT_EQ(ProfileReader::FromBytes(text).ReadString("", "k", "0").size(), c.bytes);
        }
    }
}

TEST(ProfileReader, OddLengthUtf16DropsTheLastByte) {
    std::string bytes = Utf16(u"k=v", false, true);
    bytes.push_back('w');
    EXPECT_EQ(ProfileReader::FromBytes(bytes).ReadString("", "k", "0"), "v");
}

TEST(ProfileReader, MissingFileDirectoryAndUnreadableFileReadAsMissing) {
    testing::TempDir dir;
    const std::string unreadable = dir.Write("locked.inf", "[s]\nk=v\n");
    ::chmod(unreadable.c_str(), 0);
    for (const std::string& path : {dir.Join("absent.inf"), dir.Path(), std::string("/dev/null"), unreadable}) {
        SCOPED_TRACE(path);
        const ProfileReader reader = platform::PosixFileSystem::ReadProfile(path);
        if (path == unreadable && ::geteuid() == 0) continue;  // root reads it anyway
        EXPECT_FALSE(reader.HasFile());
        EXPECT_EQ(reader.ReadString("s", "k", "0"), "0");
    }
}

TEST(ProfileReader, ReadsAFile) {
    testing::TempDir dir;
    const ProfileReader reader =
        platform::PosixFileSystem::ReadProfile(dir.Write("AUTORUN.INF", "[Logo Setup]\r\nLogo Use=YES\r\n"));
    EXPECT_TRUE(reader.HasFile());
    EXPECT_EQ(reader.ReadString("Logo Setup", "Logo Use", "0"), "YES");
}

TEST(ProfileReader, MegabyteLines) {
    const std::string big(3u << 20, 'x');
    const std::string text = "[" + big + "]\nk=1\n[s]\nk=" + big + "\nj=" + big + "=\n" + big + "\nlast=v";
    const ProfileReader reader = ProfileReader::FromBytes(text);
    EXPECT_EQ(reader.ReadString(big, "k", "0"), "1");
    EXPECT_EQ(reader.ReadString("s", "k", "0"), big.substr(0, 2047));
    EXPECT_EQ(reader.ReadString("s", "j", "0"), big.substr(0, 2047));
    EXPECT_EQ(reader.ReadString("s", big, "0"), "0");
    EXPECT_EQ(reader.ReadString("s", "last", "0"), "v");
}

TEST(ProfileReader, ReadsAtMost16MiB) {
    const std::size_t cap = ProfileReader::kMaxFileBytes;
    std::string text = "[s]\nfirst=1\n";
    text.append(cap - text.size() - 7, ';');
    text.append("\nlast=");
    ASSERT_EQ(text.size(), cap - 1);
    text.append("23\nbeyond=3\n");  // the 16 MiB end falls between "2" and "3"
    testing::TempDir dir;
    const std::string path = dir.Write("big.inf", text);
    for (const ProfileReader& reader : {ProfileReader::FromBytes(text), platform::PosixFileSystem::ReadProfile(path)}) {
        EXPECT_EQ(reader.ReadString("s", "first", "0"), "1");
        EXPECT_EQ(reader.ReadString("s", "last", "0"), "2");
        EXPECT_TRUE(reader.IsIndexed());
        EXPECT_EQ(reader.ReadString("s", "beyond", "0"), "0");
        EXPECT_LE(reader.StorageBytes(), cap + 1024);  // three records: a tiny index
    }
}

TEST(ProfileReader, StorageStaysNearTheFileSize) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t kept;  // names the index keeps: first sections and first keys in them
    };
    std::string tiny_lines;
    for (int i = 0; i < 200000; ++i) tiny_lines += static_cast<char>('a' + i % 26), tiny_lines += '\n';
    std::string sections;
    for (int i = 0; i < 100000; ++i) {
        sections += '[';
        sections += std::to_string(i);
        sections += "]\n";
    }
    std::string last_line_only = "k";
    const Case cases[] = {{"tiny key lines, 26 names", tiny_lines, 27},
                          {"many sections", sections, 100001},
                          {"one short line", last_line_only, 2}};
    // A map's node and bucket for each name kept: at most 128 bytes.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProfileReader reader = ProfileReader::FromBytes(c.text);
        EXPECT_LE(reader.StorageBytes(), std::max<std::size_t>(c.text.size(), 15) + 128 * c.kept + 8 * 1024);
    }
}

// Files far larger than a menu's are indexed too: the first line of a key
// wins wherever it stands, among many sections and many repeats.
TEST(ProfileReader, LargeFilesAreIndexed) {
    std::string text = "[s]\nfirst=1\n";
    auto line = [&](std::string_view before, int i, std::string_view between) {
        text.append(before).append(std::to_string(i)).append(between).append(std::to_string(i)).append("\n");
    };
    for (int i = 0; i < 100000; ++i) line("k", i, "=");
    for (int i = 0; i < 50000; ++i) text += "first=again\nK7=again\n";
    for (int i = 0; i < 20000; ++i) line("[t", i, "]\nk=");
    text += "[S]\nfirst=hidden\n[t19999]\nk=hidden\nlast=x";
    const ProfileReader reader = ProfileReader::FromBytes(text);
    struct Lookup {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Lookup lookups[] = {{"s", "first", "1"},        {"s", "k0", "0"},       {"s", "K99999", "99999"},
                              {"s", "k7", "7"},           {"s", "k100000", "-"},  {"T0", "k", "0"},
                              {"t19999", "k", "19999"},   {"t19999", "last", "-"}, {"t20000", "k", "-"}};
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(std::string(l.section) + " " + l.key);
        EXPECT_EQ(reader.ReadString(l.section, l.key, "-"), l.expected);
    }
}

// Random files from a small alphabet that exercises every rule: each key line
// the lexer reports as read is what a lookup of its names gives, and whatever
// a lookup finds is such a line.
TEST(ProfileReader, LookupsAgreeWithTheLinesReadOnRandomFiles) {
    std::mt19937 random(12345);
    const std::string alphabet = "[]=\"' \t\r\n\0aAbB;#\x1A\xA0"s.substr(0);
    const std::vector<std::string> names = {"", "a", "A", "b", "ab", "aB", " a", "[a", "a]", "\"a\"", ";a", "#"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 120)(random);
        for (int i = 0; i < length; ++i)
            text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        std::vector<IniLine> read;
        const ProfileReader reader = ProfileReader::FromBytes(text, [&](const IniLine& line) {
            if (line.fate == IniLine::Fate::Read && line.kind != IniLine::Kind::Section) read.push_back(line);
        });
        SCOPED_TRACE(::testing::PrintToString(text));
        for (const IniLine& line : read) {
            // A NUL cut after the trimming can leave a blank at the end: no lookup asks for that.
            if (Trimmed(line.section) != line.section || Trimmed(line.name) != line.name) continue;
            const auto value = reader.Find(line.section, line.name);
            EXPECT_EQ(value, line.kind == IniLine::Kind::Key ? std::optional<std::string>(line.value) : std::nullopt)
                << "line " << line.number;
        }
        for (const std::string& section : names)
            for (const std::string& key : names) {
                const auto value = reader.Find(section, key);
                if (!value) continue;
                const bool reported = std::any_of(read.begin(), read.end(), [&](const IniLine& line) {
                    return EqualsIgnoringCase(line.section, Trimmed(section)) &&
                           EqualsIgnoringCase(line.name, Trimmed(key)) && line.value == *value;
                });
                EXPECT_TRUE(reported) << "[" << section << "] " << key;
            }
    }
}

TEST(ProfileReader, BinaryGarbageNeverFails) {
    std::mt19937 random(99);
    for (int round = 0; round < 60; ++round) {
        std::string bytes(std::uniform_int_distribution<int>(0, 4096)(random), '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        if (round % 4 == 1) bytes = "\xFF\xFE"s + bytes;
        if (round % 4 == 2) bytes = "\xFE\xFF"s + bytes;
        if (round % 4 == 3) bytes = "\xEF\xBB\xBFk="s + bytes;
        const ProfileReader reader = ProfileReader::FromBytes(bytes);
        EXPECT_EQ(reader.ReadString("Logo Setup", "Logo Use", "0"), "0");
        if (round % 4 == 3) {
            EXPECT_TRUE(IsValidUtf8(reader.ReadString("", "k", "0")));
        }
    }
}

// The menus of ten languages (tests/data/languages), each saved the four
// ways an author saves it.
const CodePage& CodePageOfLocale(const char* locale) {
    LocaleSettings settings;
    settings.lc_all = locale;
    return CodePageFromIconv(ChooseAnsiCodePage(settings));
}

TEST(ProfileReader, EveryEncodingOfAMenuReadsTheSameOnAPcOfItsLanguage) {
    const auto languages = testing::CorpusLanguages();
    ASSERT_GE(languages.size(), 8u);
    for (const auto& language : languages) {
        const CodePage& page = CodePageOfLocale(language.locale.c_str());
        ASSERT_EQ(page.Number(), language.code_page) << language.name;
        for (const char* encoding : testing::kCorpusEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            const ProfileReader reader = ProfileReader::FromBytes(language.File(encoding), page);
            for (const auto& row : language.rows)
                EXPECT_EQ(reader.ReadString(row.section, row.key, "0"), row.value) << row.key;
        }
    }
}

TEST(ProfileReader, OnAnEnglishPcOnlyTheUnicodeFilesOfAMenuReadAsWritten) {
    const CodePage& english = CodePageOfLocale("en_US.UTF-8");
    for (const auto& language : testing::CorpusLanguages()) {
        for (const char* encoding : testing::kCorpusEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            const ProfileReader reader = ProfileReader::FromBytes(language.File(encoding), english);
            int differing = 0;
            for (const auto& row : language.rows)
                differing += reader.ReadString(row.section, row.key, "0") != row.value;
            // The ANSI file shows as written only where the code page is the author's.
            if (std::string_view(encoding) == "ansi.inf")
                EXPECT_GT(differing, 0);
            else
                EXPECT_EQ(differing, 0);
        }
    }
}

}  // namespace
}  // namespace automenu::platform
