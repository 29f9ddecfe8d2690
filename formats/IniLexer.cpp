#include "formats/IniLexer.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "formats/TextDecoding.h"

namespace automenu {

namespace {

constexpr bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }
constexpr bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

void Trim(char*& begin, char*& end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

// A NUL ends a name or value: what follows it is dropped.
char* CutAtNul(char* begin, char* end, bool& cut) {
    char* nul = static_cast<char*>(std::memchr(begin, 0, static_cast<std::size_t>(end - begin)));
    if (!nul) return end;
    cut = true;
    return nul;
}

// Calls put(code point) for each character of UTF-16 text; an unpaired
// surrogate comes as itself.
template <typename Put>
void ForEachUtf16CodePoint(std::string_view bytes, bool big_endian, const Put& put) {
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return big_endian ? (char32_t{a} << 8 | b) : (char32_t{b} << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
            put(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            put(u);
        }
    }
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

// UTF-16 text in UTF-8, except that an unpaired surrogate keeps its own
// three-byte form: a name holding one then matches no name asked for (those
// are valid UTF-8), as no UTF-16 name asked for holds one. Values turn it
// into "?" (see ReplaceSurrogates).
std::string Utf16Text(std::string_view bytes, bool big_endian) {
    std::size_t size = 0;
    ForEachUtf16CodePoint(bytes, big_endian, [&](char32_t c) { size += Utf8Length(c); });
    std::string out;
    out.reserve(size);  // at most 3 bytes for 2 of the capped file
    ForEachUtf16CodePoint(bytes, big_endian, [&](char32_t c) {
        const std::size_t n = Utf8Length(c);
        if (n == 1) {
            out.push_back(static_cast<char>(c));
            return;
        }
        static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        out.push_back(static_cast<char>(kLead[n] | (c >> (6 * (n - 1)))));
        for (std::size_t k = n - 1; k-- > 0;) out.push_back(static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F)));
    });
    return out;
}

// Makes the unpaired surrogates of a value "?", as the platform's conversion
// does, in place; returns the new end.
char* ReplaceSurrogates(char* begin, char* end) {
    char* w = begin;
    for (char* r = begin; r < end;) {
        // In text from Utf16Text only a surrogate has 0xED then 0xA0..0xBF.
        if (static_cast<unsigned char>(*r) == 0xED && end - r >= 3 && static_cast<unsigned char>(r[1]) >= 0xA0) {
            *w++ = '?';
            r += 3;
        } else {
            *w++ = *r++;
        }
    }
    return w;
}

}  // namespace

IniLexer::IniLexer(std::string bytes, const CodePage& ansi, const Visitor& visit) : m_code_page(ansi.Number()) {
    Decode(std::move(bytes), ansi);
    Lex(visit);
}

void IniLexer::Decode(std::string bytes, const CodePage& ansi) {
    std::string_view view(bytes);
    if (view.size() > kMaxFileBytes) {
        // A UTF-8 character that the limit cuts in two is left out, so that
        // the text before it still reads as UTF-8.
        view = view.substr(0, kMaxFileBytes);
        const std::string_view whole = view.substr(0, CompleteUtf8Length(view));
        if (DetectTextEncoding(whole) == TextEncoding::Utf8) view = whole;
    }
    m_encoding = DetectTextEncoding(view);
    switch (m_encoding) {
        case TextEncoding::Utf8:
            bytes.resize(view.size());
            m_text = std::move(bytes);
            break;
        case TextEncoding::Utf8WithMark:
            // As the platform's conversion: what is not UTF-8 becomes "?".
            bytes.resize(view.size());
            bytes.erase(0, 3);
            bytes.resize(ReplaceInvalidUtf8(std::span<char>(bytes), '?'));
            m_text = std::move(bytes);
            break;
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            m_text = Utf16Text(view.substr(2), m_encoding == TextEncoding::Utf16Be);
            break;
        case TextEncoding::Ansi:
            m_text = ansi.Decode(view);
            break;
    }
}

std::string_view IniLexer::Value(char* begin, char* end, IniLine& line) const {
    while (begin < end && IsBlank(*begin)) ++begin;
    // The platform cuts at the NUL first: a quote after it does not count.
    end = CutAtNul(begin, end, line.cut_at_nul);
    if (end - begin >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin) {
        ++begin;
        --end;
    }
    if (IsUtf16(m_encoding)) end = ReplaceSurrogates(begin, end);
    std::string_view value(begin, static_cast<std::size_t>(end - begin));
    // No more code units than bytes: only a longer value can be cut.
    if (value.size() > kMaxValueUnits) {
        const std::size_t size = Utf8PrefixOfUtf16Length(value, kMaxValueUnits);
        line.cut_at_limit = size < value.size();
        value = value.substr(0, size);
    }
    return value;
}

void IniLexer::LexRecord(char* begin, char* end, IniLine& line) const {
    if (*begin == '[') {
        char* close = end;
        while (close > begin + 1 && close[-1] != ']') --close;
        if (close > begin + 1) {
            char* name_begin = begin + 1;
            char* name_end = close - 1;
            Trim(name_begin, name_end);
            line.kind = IniLine::Kind::Section;
            line.name = {name_begin, CutAtNul(name_begin, name_end, line.cut_at_nul)};
            return;
        }
        // No "]": an ordinary key line.
    }
    char* eq = static_cast<char*>(std::memchr(begin, '=', static_cast<std::size_t>(end - begin)));
    if (!eq) {
        line.kind = IniLine::Kind::KeyWithoutValue;
        line.name = {begin, CutAtNul(begin, end, line.cut_at_nul)};
        return;
    }
    char* name_end = eq;
    while (name_end > begin && IsBlank(name_end[-1])) --name_end;
    line.kind = IniLine::Kind::Key;
    line.name = {begin, CutAtNul(begin, name_end, line.cut_at_nul)};
    line.value = Value(eq + 1, end, line);
}

void IniLexer::Lex(const Visitor& visit) {
    // The unnamed section exists even without lines: a header named "" only
    // repeats it.
    IniIndex::Section* section = m_index.AddSection("", 0).first;
    std::string_view section_name;
    // Room for every line up front spares the map its growing while a usual
    // file is read; beyond a usual file's size the map grows as its keys come.
    const std::string_view text = m_text;
    const auto line_ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    m_index.Reserve(std::min<std::size_t>(line_ends + 1, 512));
    char* p = m_text.data();
    char* const text_end = m_text.data() + m_text.size();
    std::uint32_t number = 0;
    while (p < text_end) {
        char* begin = p;
        char* end = std::find_if(p, text_end, IsLineEnd);
        p = end;
        if (p < text_end) p += (*p == '\r' && p + 1 < text_end && p[1] == '\n') ? 2 : 1;
        Trim(begin, end);

        IniLine line;
        line.number = ++number;
        if (begin == end) {
            if (visit) visit(line);
            continue;
        }
        m_has_records = true;
        LexRecord(begin, end, line);
        if (line.kind == IniLine::Kind::Section) {
            const auto [found, added] = m_index.AddSection(line.name, number);
            section_name = line.name;
            section = added ? found : nullptr;
            line.fate = added ? IniLine::Fate::Read : IniLine::Fate::Shadowed;
            line.first_number = found->line;
        } else if (section) {
            ++section->key_lines;
            const bool has_value = line.kind == IniLine::Kind::Key;
            const auto [found, added] = m_index.AddKey(*section, line.name, {number, has_value, line.value});
            line.fate = added ? IniLine::Fate::Read : IniLine::Fate::Shadowed;
            line.first_number = found->line;
        }
        line.section = section_name;
        if (visit) visit(line);
    }
}

}  // namespace automenu
