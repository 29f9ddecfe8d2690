// Breaking a message into the lines of a message box, as Windows' own box
// breaks its text: at blanks where a line grows too wide, a word wider than
// the whole line where it must, and at every line break in the text. The
// work is bounded by the lines asked for, never by the length of the text:
// a text of ten thousand lines or one word of a megabyte costs what the
// lines that are shown cost.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace automenu {

// The width of one line of UTF-8 text, as it is drawn.
using TextWidth = std::function<int(std::string_view)>;

struct BrokenLines {
    std::vector<std::string> lines;
    bool complete = true;  // false: text remains after the last line
};

// Breaks UTF-8 text into at most `max_lines` lines no wider than `width`
// (a line holds at least one character, however wide). CR, LF and CR LF each
// end a line; blanks (space, tab) where a line is broken are dropped, and so
// are blanks that end a line of the text.
BrokenLines BreakIntoLines(std::string_view text, int width, std::size_t max_lines, const TextWidth& measure);

// The longest start of `line` that, followed by "...", is at most `width`
// wide, with that ellipsis; blanks before the ellipsis are dropped.
std::string WithEllipsis(std::string_view line, int width, const TextWidth& measure);

}  // namespace automenu
