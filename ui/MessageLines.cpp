#include "ui/MessageLines.h"

#include <algorithm>

namespace automenu {

namespace {

constexpr std::string_view kEllipsis = "...";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes of the character starting at s[i] (a stray byte counts as one).
std::size_t CharacterLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t length = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    return std::min(length, s.size() - i);
}

std::string_view WithoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The longest start of s, in whole characters and at least `least` bytes
// (taken whether it fits or not), for which fits(length) holds. The search
// gallops out from `guess`, then halves: a few measurements of starts at
// most about twice as long as the answer, however long s is.
std::size_t LongestStart(std::string_view s, std::size_t least, std::size_t guess,
                         const std::function<bool(std::size_t)>& fits) {
    const auto snap = [&](std::size_t n) {  // back to the start of a character
        n = std::min(n, s.size());
        while (n > least && n < s.size() && IsContinuation(s[n])) --n;
        return std::max(n, least);
    };
    const auto after = [&](std::size_t n) { return n + CharacterLength(s, n); };
    std::size_t lo = least;          // fits
    std::size_t hi = s.size() + 1;   // does not fit (beyond the end: not known yet)
    if (const std::size_t n = snap(guess); n > lo) (fits(n) ? lo : hi) = n;
    for (std::size_t step = 1; hi > s.size() && lo < s.size(); step *= 2) {
        const std::size_t n = std::max(snap(lo + step), after(lo));
        (fits(n) ? lo : hi) = n;
    }
    if (hi > s.size()) return lo;  // all of it fits
    for (std::size_t step = 1;; step *= 2) {
        const std::size_t n = hi > step ? snap(hi - step) : lo;
        if (n <= lo) break;
        if (fits(n)) {
            lo = n;
            break;
        }
        hi = n;
    }
    for (;;) {
        std::size_t n = snap(lo + (hi - lo) / 2);
        if (n <= lo) n = after(lo);
        if (n >= hi) return lo;
        (fits(n) ? lo : hi) = n;
    }
}

class LineBreaker {
public:
    LineBreaker(int width, std::size_t max_lines, const TextWidth& measure)
        : m_width(width), m_max_bytes(2 * static_cast<std::size_t>(std::max(width, 64))), m_max_lines(max_lines),
          m_measure(measure) {}

    // One line of the text (no line breaks in it). False once the lines are
    // all taken with text left over.
    bool Paragraph(std::string_view p);
    BrokenLines Take() { return std::move(m_out); }

private:
    bool Emit(std::string_view line) {
        if (m_out.lines.size() >= m_max_lines) {
            m_out.complete = false;
            return false;
        }
        m_out.lines.emplace_back(line);
        return true;
    }
    // The start of a word (blanks that begin its paragraph included) wider
    // than a line that goes on one line.
    std::size_t FittingStart(std::string_view word);

    int m_width;
    // Bytes a line holds at most, however narrow its characters (zero-width
    // marks): no measurement is ever longer, and no line drawn.
    std::size_t m_max_bytes;
    std::size_t m_max_lines;
    const TextWidth& m_measure;
    std::size_t m_last_fit = 0;  // a long word's pieces are alike: the next guess
    BrokenLines m_out;
};

std::size_t LineBreaker::FittingStart(std::string_view word) {
    const std::size_t first = CharacterLength(word, 0);
    if (word.size() > m_max_bytes) {
        std::size_t n = m_max_bytes;
        while (n > first && IsContinuation(word[n])) --n;
        word = word.substr(0, std::max(n, first));
    }
    const auto fits = [&](std::size_t n) { return m_measure(word.substr(0, n)) <= m_width; };
    if (!fits(first)) return first;
    return m_last_fit = LongestStart(word, first, m_last_fit, fits);
}

bool LineBreaker::Paragraph(std::string_view p) {
    p = WithoutTrailingBlanks(p);
    std::size_t start = 0;  // of the line being filled
    std::size_t end = 0;    // of what it holds so far
    int width = 0;          // of p[start, end), at least
    bool tabs = false;      // in it: a tab's width depends on where it starts
    while (end < p.size()) {
        // The next piece: blanks, then a word (looked at no further than a
        // line can hold).
        std::size_t word = end;
        while (word < p.size() && IsBlank(p[word])) ++word;
        const std::size_t limit = std::min(p.size(), std::max(word, start + m_max_bytes + 1));
        std::size_t next = word;
        while (next < limit && !IsBlank(p[next])) ++next;
        const std::string_view piece = p.substr(end, next - end);
        const std::string_view line = p.substr(start, next - start);
        const bool too_long = line.size() > m_max_bytes;
        tabs = tabs || piece.find('\t') != std::string_view::npos;
        // Pieces measured alone add up to at least the line's width (each is
        // rounded up to whole pixels): the line is measured whole only near
        // the limit.
        int widened = tabs || too_long ? m_width + 1 : width + m_measure(piece);
        if (widened > m_width && !too_long) widened = m_measure(line);
        if (widened <= m_width) {
            width = widened;
            end = next;
            continue;
        }
        if (end > start) {
            // Broken before the piece, whose blanks go.
            if (!Emit(p.substr(start, end - start))) return false;
            start = end = word;
        } else {
            const std::size_t n = FittingStart(line);
            if (!Emit(line.substr(0, n))) return false;
            // Blanks where it breaks go, as above.
            start += n;
            while (start < p.size() && IsBlank(p[start])) ++start;
            end = start;
        }
        width = 0;
        tabs = false;
    }
    // What remains, or an empty line of the text.
    return end > start || start == 0 ? Emit(p.substr(start, end - start)) : true;
}

}  // namespace

BrokenLines BreakIntoLines(std::string_view text, int width, std::size_t max_lines, const TextWidth& measure) {
    LineBreaker breaker(width, max_lines, measure);
    for (std::size_t i = 0;;) {
        std::size_t e = i;
        while (e < text.size() && !IsLineBreak(text[e])) ++e;
        if (!breaker.Paragraph(text.substr(i, e - i)) || e == text.size()) break;
        i = e + (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n' ? 2 : 1);
    }
    return breaker.Take();
}

std::string WithEllipsis(std::string_view line, int width, const TextWidth& measure) {
    const auto with_dots = [&](std::size_t n) {
        std::string s(WithoutTrailingBlanks(line.substr(0, n)));
        s += kEllipsis;
        return s;
    };
    const std::size_t n =
        LongestStart(line, 0, line.size(), [&](std::size_t n) { return measure(with_dots(n)) <= width; });
    return with_dots(n);
}

}  // namespace automenu
