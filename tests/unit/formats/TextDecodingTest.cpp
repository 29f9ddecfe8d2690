#include "formats/TextDecoding.h"

#include <gtest/gtest.h>

#include <string_view>

namespace automenu {
namespace {

using namespace std::string_view_literals;

TEST(TextDecoding, CompleteUtf8Length) {
    struct Case {
        std::string_view bytes;
        std::size_t expected;
    } cases[] = {
        {"abc"sv, 3},
        {"a\xC3"sv, 1},             // two bytes, one there
        {"a\xE2\x82"sv, 1},         // three bytes, two there
        {"a\xF0\x9F\x98"sv, 1},     // four bytes, three there
        {"a\xE2\x82\xAC"sv, 4},     // whole
        {"a\xC0"sv, 2},             // no valid sequence starts with it
        {"a\xE0\x80"sv, 3},         // an overlong start is no cut sequence
        {"a\xED\xA0"sv, 3},         // nor is a surrogate's
        {"\x80\x80\x80\x80"sv, 4},  // continuation bytes alone
        {""sv, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CompleteUtf8Length(c.bytes), c.expected) << testing::PrintToString(c.bytes);
}

TEST(TextDecoding, Utf16LengthsAndCuts) {
    // "a", "é", "€", "😀": 1, 2, 3 and 4 bytes; 1, 1, 1 and 2 code units.
    const std::string_view text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"sv;
    EXPECT_EQ(Utf16Length(text), 5u);
    const std::size_t cuts[] = {0, 1, 3, 6, 6, 10, 10};  // bytes kept for 0 ... 6 units
    for (std::size_t units = 0; units < std::size(cuts); ++units)
        EXPECT_EQ(Utf8PrefixOfUtf16Length(text, units), cuts[units]) << units << " units";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          "b",
                          U'?'),
              "a?b");
}

}  // namespace
}  // namespace automenu
