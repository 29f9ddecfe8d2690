// A text record's string and advances, by character, and the places the
// advances give each character.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/metafile/MetafileText.h"

namespace automenu::test {
namespace {

using platform::DecodeTextString;
using platform::MfMatrix;
using platform::PlaceCharacters;

std::vector<std::uint8_t> Units(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// Signed little-endian values `size` bytes wide.
std::vector<std::uint8_t> Advances(std::vector<int> values, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    for (int v : values)
        for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return bytes;
}

struct RecordString {
    std::vector<std::uint8_t> str;
    bool wide;
    std::uint32_t options;
    std::vector<std::uint8_t> advances;
    std::size_t advance_size;
};

// UTF-16 units with 32-bit advances, as an enhanced metafile holds them.
RecordString Wide(std::u16string units, std::vector<int> advances, std::uint32_t options = 0) {
    return {Units(units), true, options, Advances(std::move(advances), 4), 4};
}

TEST(MetafileText, StringsAndTheirAdvancesByCharacter) {
    using platform::ETO_GLYPH_INDEX;
    using platform::ETO_PDY;
    struct Expected {
        std::string utf8;
        std::vector<std::uint16_t> glyphs;
        std::vector<double> dx, dy;
        std::size_t count;  // characters or glyphs
    };
    struct Row {
        const char* why;
        RecordString in;
        Expected out;
    } rows[] = {
        {"one advance a character", Wide(u"Ab", {10, -3}), {"Ab", {}, {10, -3}, {}, 2}},
        {"a surrogate pair is one character with the pair's advance",
         Wide(u"a\U0001F600b", {5, 3, 4, 6}),
         {"a\U0001F600b", {}, {5, 7, 6}, {}, 3}},
        {"a lone surrogate is a character of its own", Wide(u"\xD800x", {5, 6}), {"\uFFFDx", {}, {5, 6}, {}, 2}},
        {"ETO_PDY gives pairs", Wide(u"ab", {7, 1, 8, -2}, ETO_PDY), {"ab", {}, {7, 8}, {1, -2}, 2}},
        {"an array shorter than the string is not used", Wide(u"abc", {7, 8}), {"abc", {}, {}, {}, 3}},
        {"pairs cut short are not used", Wide(u"ab", {7, 1, 8}, ETO_PDY), {"ab", {}, {}, {}, 2}},
        {"the string ends at its first NUL, the advances with it",
         Wide(std::u16string(u"ab\0cd", 5), {1, 2, 3, 4, 5}),
         {"ab", {}, {1, 2}, {}, 2}},
        {"16-bit advances of a Windows metafile",
         {{'H', 0xE9}, false, 0, Advances({9, -40}, 2), 2},
         {"H\u00E9", {}, {9, -40}, {}, 2}},
        {"glyph indices, NUL and surrogate values included",
         Wide(std::u16string(u"\x2C\0\xD800", 3), {4, 5, 6}, ETO_GLYPH_INDEX),
         {"", {0x2C, 0, 0xD800}, {4, 5, 6}, {}, 3}},
        {"no advances", Wide(u"ab", {}), {"ab", {}, {}, {}, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const auto s = DecodeTextString(row.in.str, row.in.wide, row.in.options, row.in.advances, row.in.advance_size);
        EXPECT_EQ(s.utf8, row.out.utf8);
        EXPECT_EQ(s.glyphs, row.out.glyphs);
        EXPECT_EQ(s.dx, row.out.dx);
        EXPECT_EQ(s.dy, row.out.dy);
        EXPECT_EQ(s.Count(), row.out.count);
    }
}

TEST(MetafileText, AdvancesPlaceEachCharacter) {
    struct Row {
        const char* why;
        std::vector<double> dx, dy;
        MfMatrix m;
        std::vector<std::pair<double, double>> places;  // each start, then the end
    } rows[] = {
        {"one pixel a unit", {10, 12, 5}, {}, {}, {{0, 0}, {10, 0}, {22, 0}, {27, 0}}},
        {"scaled, the origin not counted", {10, 10}, {}, MfMatrix::Scale(1.5, 2, 40, 40), {{0, 0}, {15, 0}, {30, 0}}},
        {"negative advances go back", {10, -4}, {}, {}, {{0, 0}, {10, 0}, {6, 0}}},
        {"ETO_PDY: up along the font's vertical", {10, 10}, {3, -1}, {}, {{0, 0}, {10, -3}, {20, -2}}},
        {"logical y up: up in the picture too", {10}, {4}, MfMatrix::Scale(1, -1), {{0, 0}, {10, 4}}},
        {"summed before they are scaled",
         {1, 1, 1},
         {},
         MfMatrix::Scale(1.0 / 3, 1),
         {{0, 0}, {1.0 / 3, 0}, {2.0 / 3, 0}, {1, 0}}},
        {"no characters: the start only", {}, {}, {}, {{0, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const auto places = PlaceCharacters(row.dx, row.dy, row.m);
        ASSERT_EQ(places.size(), row.places.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_DOUBLE_EQ(places[i].x, row.places[i].first) << i;
            EXPECT_DOUBLE_EQ(places[i].y, row.places[i].second) << i;
        }
    }
}

}  // namespace
}  // namespace automenu::test
