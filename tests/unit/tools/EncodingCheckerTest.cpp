// What check tells an author about a file's encoding: which one it is read
// in, and where the file will not show the same on every PC.
#include "EncodingChecker.h"

#include <gtest/gtest.h>

#include <string_view>

#include "formats/TextDecoding.h"
#include "platform/posix/IconvCodePage.h"

namespace automenu::tool {
namespace {

std::string Utf16Le(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (const char16_t unit : Utf8ToUtf16(utf8)) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

// The findings of the checker alone, for a file read on a PC of code page 1251.
std::vector<Finding> EncodingFindings(std::string bytes) {
    const CheckedFile file("/nowhere", ProfileReader::FromBytes(bytes, platform::CodePageFromIconv(1251)));
    FindingList findings;
    EncodingChecker(file, bytes, findings).Run();
    return findings.TakeSorted();
}

TEST(EncodingChecker, NamesTheEncodingAndWarnsWhereTheFileWillNotShowTheSameEverywhere) {
    const std::string russian_utf8 = "[autorun]\r\nopen=automenu.exe\r\nlabel=Установка\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        const char* note;
        int warning_line;  // 0: no warning
        const char* warning;
    } cases[] = {
        {"ASCII", "[s]\nk=v\n", "encoding: ASCII", 0, ""},
        {"an ANSI file: the first line outside ASCII", "[s]\nk=v\n\n[t]\nk=\xD3\xF1\xF2\n",
         "an ANSI code page, read here as 1251", 5, "only on PCs whose code page is 1251"},
        {"UTF-8 without a mark", "[s]\nk=Установка\n", "encoding: UTF-8, which this menu reads", 0, ""},
        {"UTF-8 with an [autorun] label Windows reads in its code page", russian_utf8, "encoding: UTF-8,", 3,
         "\"label\" shows garbled"},
        {"a UTF-8 mark before [autorun] on line 1", "\xEF\xBB\xBF[autorun]\nopen=automenu.exe\n",
         "UTF-8 with byte-order mark", 1, "stands before [autorun]"},
        {"a UTF-8 mark before another section", "\xEF\xBB\xBF[s]\n[autorun]\nopen=automenu.exe\n",
         "UTF-8 with byte-order mark", 0, ""},
        {"UTF-16, which Windows reads as it is", Utf16Le(russian_utf8), "encoding: UTF-16 LE, which every PC", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Finding> findings = EncodingFindings(c.bytes);
        ASSERT_FALSE(findings.empty());
        EXPECT_EQ(findings[0].line, 0);
        EXPECT_EQ(findings[0].severity, Severity::Note);
        EXPECT_NE(findings[0].message.find(c.note), std::string::npos) << findings[0].message;
        ASSERT_EQ(findings.size(), c.warning_line ? 2u : 1u);
        if (c.warning_line) {
            EXPECT_EQ(findings[1].line, c.warning_line);
            EXPECT_EQ(findings[1].severity, Severity::Warning);
            EXPECT_NE(findings[1].message.find(c.warning), std::string::npos) << findings[1].message;
        }
    }
}

}  // namespace
}  // namespace automenu::tool
