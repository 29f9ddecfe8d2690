// Our profile reader against the system's own (GetPrivateProfileStringW), in
// the system's code page: hand-written files for each lexical rule, then
// generated ones. Every lookup must give the same text. UTF-8 files, which
// the system reads in the code page, are the program's own to read.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "formats/CodePage.h"
#include "platform/ProfileReader.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/WindowsApi.h"

namespace automenu {
namespace {

using namespace std::string_literals;

class ScratchFile {
public:
    ScratchFile() {
        char directory[MAX_PATH] = {};
        char name[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, directory);
        ::GetTempFileNameA(directory, "ini", 0, name);
        m_path = name;
    }
    ~ScratchFile() { ::DeleteFileA(m_path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Each reading opens the file anew (and lets go of it afterwards), as a
    // pass of the menu does.
    void Write(const std::string& bytes) const {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

struct Lookup {
    std::string section;
    std::string key;
};

// Every name a file could be asked for: each bracketed text and each text
// before "=" on a line, as written and padded, plus a few that are absent.
// The menu asks in UTF-8: the names of a file without mark are taken in the
// system's code page.
std::vector<Lookup> LookupsFor(const std::string& file_bytes) {
    const std::string bytes = file_bytes.starts_with("\xEF\xBB\xBF") || file_bytes.starts_with("\xFF\xFE") ||
                                      file_bytes.starts_with("\xFE\xFF")
                                  ? file_bytes
                                  : platform::SystemCodePage().Decode(file_bytes);
    std::set<std::string> sections{"", "S", "s", "Missing"};
    std::set<std::string> keys{"K", "k", "Key", "Missing"};
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        if (auto open = line.find('['); open != std::string::npos) {
            const auto close = line.rfind(']');
            if (close != std::string::npos && close > open) sections.insert(line.substr(open + 1, close - open - 1));
        }
        if (auto eq = line.find('='); eq != std::string::npos) keys.insert(line.substr(0, eq));
        else keys.insert(line);
        start = end + 1;
    }
    std::vector<Lookup> out;
    for (const auto& s : sections)
        for (const auto& k : keys) {
            // The profile API takes C strings: a name with a NUL cannot be asked for.
            if (s.find('\0') != std::string::npos || k.find('\0') != std::string::npos) continue;
            out.push_back({s, k});
        }
    return out;
}

void ExpectSameAnswers(const ScratchFile& file, const std::string& bytes, const std::string& what) {
    file.Write(bytes);
    const auto ours = ProfileReader::FromBytes(bytes, platform::SystemCodePage());
    // The system's own reading, whatever the Windows program would read the file with.
    const platform::Win32Profile system(file.Path());
    for (const Lookup& l : LookupsFor(bytes)) {
        const std::string theirs = system.ReadString(l.section, l.key, "0");
        EXPECT_EQ(ours.ReadString(l.section, l.key, "0"), theirs)
            << what << ": [" << l.section << "] " << l.key << " in " << testing::PrintToString(bytes);
    }
}

// 150 files of 1 to 40 pieces each, picked at random.
void ExpectSameAnswersForGeneratedFiles(const std::vector<std::string>& pieces, unsigned seed) {
    std::mt19937 random(seed);
    ScratchFile file;
    for (int n = 0; n < 150; ++n) {
        std::string bytes;
        const int count = std::uniform_int_distribution<int>(1, 40)(random);
        for (int i = 0; i < count; ++i)
            bytes += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        ExpectSameAnswers(file, bytes, "generated " + std::to_string(n));
    }
}

// Windows keeps a profile file it has read; the next pass must see an edit.
TEST(ProfileDifferential, EachPassSeesTheFileAsItIsThen) {
    ScratchFile file;
    platform::Win32FileSystem files;
    for (const std::string value : {"first", "second"}) {
        file.Write("[S]\r\nK=" + value + "\r\n");
        EXPECT_EQ(files.OpenProfile(file.Path())->ReadString("S", "K", "0"), value);
    }
}

TEST(ProfileDifferential, HandWrittenFilesReadAsTheSystemReadsThem) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"plain", "[S]\r\nK=v\r\nKey = spaced value \r\n"},
        {"case of names", "[Setup]\r\nKEY=upper\r\n[SETUP]\r\nkey=second section\r\n"},
        {"blanks", "[ S ]\r\n\tK\t=\tv\t\r\n"},
        {"lines before any header", "K=unnamed\r\n[S]\r\nK=named\r\n"},
        {"empty header", "[]\r\nK=hidden\r\n[S]\r\nK=v\r\n"},
        {"header without ]", "[S\r\nK=v\r\n[S]\r\nK=w\r\n"},
        {"text after ]", "[S] trailing\r\nK=v\r\n"},
        {"last ]", "[S]x]\r\nK=v\r\n"},
        {"duplicate keys", "[S]\r\nK=first\r\nK=second\r\n"},
        {"key without =", "[S]\r\nK\r\nK=later\r\n"},
        {"second = stays", "[S]\r\nK=a=b\r\n"},
        {"no comments", "[S]\r\n;K=commented\r\nK=v ; not a comment\r\n"},
        {"double quotes", "[S]\r\nK=\"quoted\"\r\nKey=\"open\r\n"},
        {"single quotes", "[S]\r\nK='quoted'\r\nKey='\r\n"},
        {"mixed quotes", "[S]\r\nK=\"mixed'\r\n"},
        {"LF only", "[S]\nK=v\n"},
        {"CR only", "[S]\rK=v\r"},
        {"no final line end", "[S]\r\nK=v"},
        {"blank lines", "\r\n\r\n[S]\r\n\r\nK=v\r\n\r\n"},
        {"empty value", "[S]\r\nK=\r\n"},
        {"long value", "[S]\r\nK=" + std::string(3000, 'x') + "\r\n"},
        {"long quoted value", "[S]\r\nK=\"" + std::string(2046, 'y') + "\"\r\n"},
        {"high bytes", "[S]\r\nK=\xE9t\xE9 \xA0\r\n"},
        {"control blanks", "[S]\r\n\x1AK\x1A=\x0Bv\x0C\r\n"},
        {"empty file", ""},
    };
    ScratchFile file;
    for (const auto& [what, bytes] : files) ExpectSameAnswers(file, bytes, what);
}

TEST(ProfileDifferential, GeneratedFilesReadAsTheSystemReadsThem) {
    const std::vector<std::string> pieces = {"[", "]", "=", " ", "\t", "\r\n", "\n", "\r", "S", "s", "K",
                                             "k", "Key", "v", "\"", "'", ";", "[S]", "\x1A", "\xA0", "x"};
    ExpectSameAnswersForGeneratedFiles(pieces, 20261209);
}

std::string Utf16(std::string_view ascii, bool big_endian) {
    std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        out += big_endian ? '\0' : c;
        out += big_endian ? c : '\0';
    }
    return out;
}

TEST(ProfileDifferential, MarkedFilesAgreeOnAscii) {
    ScratchFile file;
    const std::string text = "[S]\r\nK=ascii value\r\nKey = \"quoted\" \r\n";
    ExpectSameAnswers(file, Utf16(text, false), "UTF-16LE mark, ASCII");
    ExpectSameAnswers(file, Utf16(text, true), "UTF-16BE mark, ASCII");
}

// Windows' profile API does not know a UTF-8 mark (Wine's does): the program
// reads UTF-8 files itself, so a section on line 1 is found on either.
TEST(ProfileDifferential, TheProgramReadsUtf8ItselfWithOrWithoutMark) {
    ScratchFile file;
    platform::Win32FileSystem files;
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        file.Write(mark + "[Über]\r\nK=Меню 日本\r\n");
        EXPECT_EQ(files.OpenProfile(file.Path())->ReadString("Über", "K", "0"), "Меню 日本")
            << (mark.empty() ? "without mark" : "with mark");
    }
}

// In a double-byte code page a trail byte can be "[", "\\", "]" or an ASCII
// letter; the system converts the whole file before it reads a line. These
// run when the tests run in such a code page (under Wine with LC_ALL=ja_JP.UTF-8,
// tests/windows/test_wine_languages.sh).
TEST(ProfileDifferential, ShiftJisNamesAndValuesReadAsTheSystemReadsThem) {
    if (::GetACP() != 932) GTEST_SKIP() << "the code page is " << ::GetACP() << ", not 932";
    // [ゾーン表示] ソ=表, [ア] k=a, [ヂ] k=di, [s] 表示=ソフト
    const std::string bytes =
        "[\x83\x5D\x81\x5B\x83\x93\x95\x5C\x8E\xA6]\r\n\x83\x5C=\x95\x5C\r\n"
        "[\x83\x41]\r\nk=a\r\n[\x83\x61]\r\nk=di\r\n"
        "[s]\r\n\x95\x5C\x8E\xA6=\x83\x5C\x83\x74\x83\x67\r\n";
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } lookups[] = {
        {"ゾーン表示", "ソ", "表"},
        {"ア", "k", "a"},
        {"ヂ", "k", "di"},
        {"s", "表示", "ソフト"},
    };
    ScratchFile file;
    file.Write(bytes);
    const platform::Win32Profile system(file.Path());
    const auto ours = ProfileReader::FromBytes(bytes, platform::SystemCodePage());
    for (const auto& l : lookups) {
        EXPECT_EQ(system.ReadString(l.section, l.key, "0"), l.value) << l.section;
        EXPECT_EQ(ours.ReadString(l.section, l.key, "0"), l.value) << l.section;
    }
    ExpectSameAnswers(file, bytes, "Shift-JIS");
}

TEST(ProfileDifferential, GeneratedDoubleByteFilesReadAsTheSystemReadsThem) {
    if (!CodePage::IsDoubleByte(::GetACP())) GTEST_SKIP() << "the code page is " << ::GetACP();
    // Lead bytes with trail bytes that are "[", "\\", "]", letters, and a
    // lead byte alone before a line end.
    const std::vector<std::string> pieces = {"[",        "]",        "=",        " ",        "\r\n",     "\n",
                                             "S",        "K",        "v",        "\"",       "\x83\x5B", "\x83\x5C",
                                             "\x83\x5D", "\x83\x41", "\x83\x61", "\x95\x5C", "\x81",     "\xB1"};
    ExpectSameAnswersForGeneratedFiles(pieces, 20261210);
}

// A file over 16 MiB is read as on Linux: its first 16 MiB, whatever the
// profile API would make of the rest; one of 16 MiB exactly still goes to the API.
TEST(ProfileDifferential, OnlyTheFirst16MiBOfALargerFileAreRead) {
    constexpr std::size_t kLimit = ProfileReader::kMaxFileBytes;
    const std::string head = "[S]\r\nK=first\r\n";
    const std::string tail = "[T]\r\nK=last\r\n";
    struct Row {
        const char* why;
        std::size_t size;  // of the file, the last section at its end
        const char* last;  // what the last section's key reads as
    };
    const Row rows[] = {
        {"16 MiB exactly: all of it", kLimit, "last"},
        {"the last section just past 16 MiB", kLimit + tail.size(), "0"},
        {"64 MiB", 4 * kLimit, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScratchFile file;
        std::string bytes = head;
        bytes.append(row.size - head.size() - tail.size(), '\n');
        bytes += tail;
        file.Write(bytes);
        const auto profile = platform::Win32FileSystem().OpenProfile(file.Path());
        EXPECT_EQ(profile->ReadString("S", "K", "0"), "first");
        EXPECT_EQ(profile->ReadString("T", "K", "0"), row.last);
    }
}

}  // namespace
}  // namespace automenu
