// Our profile reader against the system's own (GetPrivateProfileStringA):
// hand-written files for each lexical rule, then generated ones. Every lookup
// must give the same text, except where our reader decodes a file with a
// UTF-8 byte-order mark into UTF-8 on purpose.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/ProfileReader.h"
#include "platform/win32/Win32FileSystem.h"
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
std::vector<Lookup> LookupsFor(const std::string& bytes) {
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

bool HasUtf8Mark(const std::string& bytes) { return bytes.rfind("\xEF\xBB\xBF", 0) == 0; }

void ExpectSameAnswers(const ScratchFile& file, const std::string& bytes, const std::string& what) {
    file.Write(bytes);
    const auto ours = ProfileReader::FromBytes(bytes);
    // The system's reading, as the Windows program opens it.
    const auto system = platform::Win32FileSystem().OpenProfile(file.Path());
    for (const Lookup& l : LookupsFor(bytes)) {
        const std::string theirs = system->ReadString(l.section, l.key, "0");
        EXPECT_EQ(ours.ReadString(l.section, l.key, "0"), theirs)
            << what << ": [" << l.section << "] " << l.key << " in " << testing::PrintToString(bytes);
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
    std::mt19937 random(20261209);
    ScratchFile file;
    for (int n = 0; n < 150; ++n) {
        std::string bytes;
        const int count = std::uniform_int_distribution<int>(1, 40)(random);
        for (int i = 0; i < count; ++i)
            bytes += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        ExpectSameAnswers(file, bytes, "generated " + std::to_string(n));
    }
}

// Deliberate: our reader gives the values of a file with a UTF-8 mark as
// UTF-8 with "?" for what is not UTF-8; the system's ANSI call converts them
// to the ANSI code page. Plain ASCII reads the same either way.
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
    const std::string utf8 = "\xEF\xBB\xBF" + text;
    ASSERT_TRUE(HasUtf8Mark(utf8));
    ExpectSameAnswers(file, utf8, "UTF-8 mark, ASCII");
    ExpectSameAnswers(file, Utf16(text, false), "UTF-16LE mark, ASCII");
    ExpectSameAnswers(file, Utf16(text, true), "UTF-16BE mark, ASCII");
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
