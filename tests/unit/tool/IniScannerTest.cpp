// The scanner that gives findings their line numbers must see the same keys
// and values as the menu's reader.
#include <gtest/gtest.h>

#include "IniScanner.h"
#include "config/ProfileReader.h"

namespace automenu::tool {
namespace {

using namespace std::string_literals;

struct ScanCase {
    const char* name;
    std::string bytes;
};

class ScannerAgreesWithReader : public ::testing::TestWithParam<ScanCase> {};

// Every key line the scanner sees, as the first of its name in the first
// section of its name, gives the reader's value.
TEST_P(ScannerAgreesWithReader, OnEveryKeyItFinds) {
    const std::string& bytes = GetParam().bytes;
    const IniScan scan = ScanIniText(bytes);
    const auto reader = ProfileReader::FromBytes(bytes);
    std::string section;
    std::vector<std::string> sections_seen = {""};  // the unnamed section always comes first
    std::vector<std::string> keys_seen;
    bool first_section = true;
    int checked = 0;
    for (const IniRecord& r : scan.records) {
        if (r.kind == IniRecord::Kind::Section) {
            section = r.name;
            first_section = std::find(sections_seen.begin(), sections_seen.end(), FoldCase(r.name)) == sections_seen.end();
            sections_seen.push_back(FoldCase(r.name));
            continue;
        }
        const std::string id = FoldCase(section) + "\n" + FoldCase(r.name);
        const bool first_key = std::find(keys_seen.begin(), keys_seen.end(), id) == keys_seen.end();
        keys_seen.push_back(id);
        if (!first_section || !first_key || r.name.empty()) continue;
        const auto value = reader.Find(section, r.name);
        if (r.kind == IniRecord::Kind::KeyWithoutValue) {
            EXPECT_FALSE(value) << r.name;
        } else {
            ASSERT_TRUE(value) << "[" << section << "] " << r.name;
            EXPECT_EQ(*value, r.value) << "[" << section << "] " << r.name;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

const ScanCase kScanCases[] = {
    {"crlf_and_blanks", "[ Logo Setup ]\r\n  Logo Use =  YES \r\n\tLogo Name\t=\tlogo.ico\r\n"},
    {"lone_cr_and_blank_lines", "[A]\r\rk1=v1\r\n\r\n\nk2=v2\n"},
    {"quotes", "[A]\nq1=\"quoted\"\nq2='single'\nq3=\"unbalanced\nq4=\"\"\nq5=\"a\" b\"\n"},
    {"header_rules", "[A]]x\nk=1\n[B\nk2=2\n  [C]  \nk3=3\n"},
    {"nul_cuts", "[A]\nk=ab\0cd\nn\0m=v\n"s},
    {"nul_cuts_before_quotes", "[A]\na=\"ab\0cd\"\nb=\"ab\"\0cd\nc=\"\0\"\n"s},
    {"empty_headers", "[]\nk=1\n[A]\nj=2\n[ ]\nm=3\n[\0x]\nn=4\n"s},
    {"leading_keys", "before=1\nalone\n[A]\nk=2\n"},
    {"repeats", "[A]\nk=1\nK=2\n[a]\nk=3\n"},
    {"utf8_mark", "\xEF\xBB\xBF[A]\nk=\xC3\xA9t\xC3\xA9\n"},
    {"utf16le_mark", "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0v\0\xE9\0"s},
    {"utf8_mark_not_utf8", "\xEF\xBB\xBF[A\xFF]\nk=\xE2\x82 x\xC0\x80\nj=\xED\xA0\x80\xF0\x9F\x98"},
    {"utf16le_lone_surrogate", "\xFF\xFE[\0A\0]\0\n\0k\0=\0\x00\xD8z\0\n\0j\0=\0\x00\xDC"s},
    {"comment_like", "[A]\n; note = here\n#k=1\nk=2\n"},
};

INSTANTIATE_TEST_SUITE_P(Files, ScannerAgreesWithReader, ::testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniScanner, CountsLinesAsEditorsDo) {
    const IniScan scan = ScanIniText("[A]\r\nk1=1\r\rk2=2\n\nk3=3");
    ASSERT_EQ(scan.records.size(), 4u);
    EXPECT_EQ(scan.records[0].line, 1);
    EXPECT_EQ(scan.records[1].line, 2);
    EXPECT_EQ(scan.records[2].line, 4);
    EXPECT_EQ(scan.records[3].line, 6);
}

}  // namespace
}  // namespace automenu::tool
