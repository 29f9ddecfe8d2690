// Breaking a message into a box's lines, measured in a simple font of the
// test's own: every character one unit wide, "W" two, tab stops every four.
#include "ui/MessageLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace automenu {
namespace {

using Lines = std::vector<std::string>;

// Counts what it is asked to measure, to show the work is bounded.
struct TestFont {
    std::size_t calls = 0;
    std::size_t bytes = 0;
    int Width(std::string_view s) {
        ++calls;
        bytes += s.size();
        int w = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const auto b = static_cast<unsigned char>(s[i]);
            if ((b & 0xC0) == 0x80) continue;  // inside a character
            w = s[i] == '\t' ? (w / 4 + 1) * 4 : w + (s[i] == 'W' ? 2 : 1);
        }
        return w;
    }
    TextWidth Measure() {
        return [this](std::string_view s) { return Width(s); };
    }
};

TEST(BreakIntoLines, BreaksAsAMessageBoxBreaksItsText) {
    const std::string e = "\xC3\xA9";  // one character, two bytes
    const struct {
        const char* what;
        std::string text;
        int width;
        Lines lines;
    } cases[] = {
        {"a line that fits", "short", 10, {"short"}},
        {"between words, as many as fit", "one two three four", 10, {"one two", "three four"}},
        {"every kind of line break", "a\nb\r\nc\rd", 10, {"a", "b", "c", "d"}},
        {"a break at the end starts an empty line", "a\n", 10, {"a", ""}},
        {"empty lines stay", "a\n\nb", 10, {"a", "", "b"}},
        {"an empty text is one empty line", "", 10, {""}},
        {"blanks where it breaks go", "aaaa  \t   bbbbbbbb", 10, {"aaaa", "bbbbbbbb"}},
        {"blanks that start a line of the text stay", "  ab", 10, {"  ab"}},
        {"blanks that end it go", "ab   \ncd", 10, {"ab", "cd"}},
        {"a word wider than a line is broken where it must be", "abcdefghijklmnopqrstuvwxy", 10,
         {"abcdefghij", "klmnopqrst", "uvwxy"}},
        {"such a word starts a line of its own", "ab abcdefghijklmnop", 10, {"ab", "abcdefghij", "klmnop"}},
        {"and what follows it joins its last piece", "abcdefghijkl mn op", 10, {"abcdefghij", "kl mn op"}},
        {"characters are never split", e + e + e + e + e + e + e + e + e + e + e + e, 10,
         {e + e + e + e + e + e + e + e + e + e, e + e}},
        {"wide characters take more room", "WWWWWWW", 10, {"WWWWW", "WW"}},
        {"a character wider than the line still takes one", "WWW", 1, {"W", "W", "W"}},
        {"tabs count where they stand", "ab\tcd\tef gh", 10, {"ab\tcd\tef", "gh"}},
        {"a run of blanks wider than a line", "   " + std::string(12, ' ') + "ab", 10, {std::string(10, ' '), "ab"}},
        {"a line exactly as wide as the box", "abcde abcd", 10, {"abcde abcd"}},
    };
    for (const auto& c : cases) {
        TestFont font;
        const BrokenLines broken = BreakIntoLines(c.text, c.width, 100, font.Measure());
        EXPECT_EQ(broken.lines, c.lines) << c.what;
        EXPECT_TRUE(broken.complete) << c.what;
        for (const std::string& line : broken.lines) {
            if (line.size() > 1) {
                EXPECT_LE(font.Width(line), c.width) << c.what << ": " << line;
            }
        }
    }
}

TEST(BreakIntoLines, StopsAtTheLinesAskedForAndSaysWhetherTextRemains) {
    const struct {
        const char* what;
        std::string text;
        std::size_t max_lines;
        Lines lines;
        bool complete;
    } cases[] = {
        {"exactly as many lines", "a\nb", 2, {"a", "b"}, true},
        {"one line more", "a\nb\nc", 2, {"a", "b"}, false},
        {"an empty line more", "a\nb\n", 2, {"a", "b"}, false},
        {"a broken line more", "abc def ghi jklm nopqr", 2, {"abc def", "ghi jklm"}, false},
        {"a word's piece more", "abcdefghijklmnopqrstuvwxy", 2, {"abcdefghij", "klmnopqrst"}, false},
        {"blanks after the last line are nothing more", "a\nb   ", 2, {"a", "b"}, true},
    };
    for (const auto& c : cases) {
        TestFont font;
        const BrokenLines broken = BreakIntoLines(c.text, 10, c.max_lines, font.Measure());
        EXPECT_EQ(broken.lines, c.lines) << c.what;
        EXPECT_EQ(broken.complete, c.complete) << c.what;
    }
}

TEST(BreakIntoLines, TheWorkIsBoundedByTheLinesShownNotByTheText) {
    std::string many_lines;
    for (int i = 0; i < 10000; ++i) many_lines += "line " + std::to_string(i) + "\n";
    std::string long_sentence;
    for (int i = 0; i < 100000; ++i) long_sentence += "word ";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"ten thousand lines", many_lines},
        {"a word of a megabyte", std::string(1 << 20, 'x')},
        {"half a megabyte of words", long_sentence},
        {"a word of a megabyte after blanks", "  " + std::string(1 << 20, 'x')},
        {"words between long runs of blanks", [] {
             std::string text;
             for (int i = 0; i < 1000; ++i) text += "x" + std::string(1000, ' ');
             return text;
         }()},
    };
    for (const auto& c : cases) {
        TestFont font;
        const BrokenLines broken = BreakIntoLines(c.text, 80, 50, font.Measure());
        EXPECT_FALSE(broken.complete) << c.what;
        EXPECT_EQ(broken.lines.size(), 50u) << c.what;
        // Every character shown is measured a few times at most.
        EXPECT_LT(font.bytes, 50u * 80 * 8) << c.what;
        EXPECT_LT(font.calls, 50u * 40) << c.what;
    }
}

TEST(WithEllipsis, EndsTheLineInThreeDotsWithinTheWidth) {
    const std::string e = "\xC3\xA9";
    const struct {
        const char* what;
        std::string line;
        std::string shown;
    } cases[] = {
        {"room for the dots", "ab", "ab..."},
        {"a full line loses what the dots need", "abcdefghij", "abcdefg..."},
        {"blanks before the dots go", "abcdefg hij", "abcdefg..."},
        {"a line of blanks", "     ", "..."},
        {"characters are never split", e + e + e + e + e + e + e + e + e + e, e + e + e + e + e + e + e + "..."},
        {"wide characters", "WWWWW", "WWW..."},
        {"nothing but the dots", "", "..."},
    };
    for (const auto& c : cases) {
        TestFont font;
        const std::string shown = WithEllipsis(c.line, 10, font.Measure());
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_LE(font.Width(shown), 10) << c.what;
    }
}

}  // namespace
}  // namespace automenu
