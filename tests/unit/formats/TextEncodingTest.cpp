#include "formats/TextEncoding.h"

#include <gtest/gtest.h>

#include <string_view>

namespace automenu {
namespace {

using namespace std::string_view_literals;

TEST(TextEncoding, OneRuleForEveryFile) {
    struct Case {
        const char* what;
        std::string_view bytes;
        TextEncoding expected;
    } cases[] = {
        {"an empty file", ""sv, TextEncoding::Ansi},
        {"ASCII only", "[s]\r\nk=v\r\n"sv, TextEncoding::Ansi},
        {"a UTF-16 LE mark", "\xFF\xFE[\0s\0]\0"sv, TextEncoding::Utf16Le},
        {"a UTF-16 BE mark", "\xFE\xFF\0[\0s\0]"sv, TextEncoding::Utf16Be},
        {"a UTF-8 mark", "\xEF\xBB\xBF[s]"sv, TextEncoding::Utf8WithMark},
        {"a UTF-8 mark before bytes that are not UTF-8", "\xEF\xBB\xBFk=\xE9"sv, TextEncoding::Utf8WithMark},
        {"a UTF-8 mark alone", "\xEF\xBB\xBF"sv, TextEncoding::Utf8WithMark},
        {"half a UTF-8 mark", "\xEF\xBBk=v"sv, TextEncoding::Ansi},
        {"valid UTF-8 with a letter", "k=Men\xC3\xBC"sv, TextEncoding::Utf8},
        {"valid UTF-8 beyond U+FFFF", "k=\xF0\x9F\x98\x80"sv, TextEncoding::Utf8},
        {"Windows-1252", "k=Men\xFC"sv, TextEncoding::Ansi},
        {"Shift-JIS", "k=\x83\x5C\x83\x74\x83\x67"sv, TextEncoding::Ansi},
        {"one stray byte among UTF-8", "a=\xC3\xA9\nb=\xE9"sv, TextEncoding::Ansi},
        {"an overlong form", "k=\xC0\xAF"sv, TextEncoding::Ansi},
        {"a surrogate", "k=\xED\xA0\x80"sv, TextEncoding::Ansi},
        {"past U+10FFFF", "k=\xF4\x90\x80\x80"sv, TextEncoding::Ansi},
        {"a sequence cut short at the end", "k=\xE2\x82"sv, TextEncoding::Ansi},
        {"UTF-16 without a mark", "[\0s\0]\0"sv, TextEncoding::Ansi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected);
    }
}

TEST(TextEncoding, MarkLengthsAndNames) {
    EXPECT_EQ(ByteOrderMarkLength(TextEncoding::Ansi), 0u);
    EXPECT_EQ(ByteOrderMarkLength(TextEncoding::Utf8), 0u);
    EXPECT_EQ(ByteOrderMarkLength(TextEncoding::Utf8WithMark), 3u);
    EXPECT_EQ(ByteOrderMarkLength(TextEncoding::Utf16Be), 2u);
    EXPECT_EQ(TextEncodingName(TextEncoding::Utf16Le), "UTF-16 LE");
}

}  // namespace
}  // namespace automenu
