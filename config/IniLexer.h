// The one reading of AUTORUN.INF's lines, by the rules documented at the top
// of config/ProfileReader.h. The menu's lookups are answered from the index it
// builds; `automenu-tool check` also sees every line it reads, with its number
// and what became of it, to point authors at the line they have to edit.
//
// Line numbers count LF, CR LF and a lone CR as one line end each, as editors
// do (the profile API itself only sees runs of them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "config/IniIndex.h"

namespace automenu {

struct IniLine {
    enum class Kind {
        Blank,            // nothing but blanks
        Section,          // a header: `name` is the section's
        Key,              // a key line with "="
        KeyWithoutValue,  // a key line without "=": it reads as missing
    };
    enum class Fate {
        Read,      // a lookup finds it
        Ignored,   // a blank line, or a key under a repeated header: no lookup finds it
        Shadowed,  // an earlier section, or key of its section, has the same name
    };
    Kind kind = Kind::Blank;
    Fate fate = Fate::Ignored;
    bool cutAtNul = false;    // a NUL cut its name or value
    bool cutAtLimit = false;  // its value was longer than a lookup gives
    std::uint32_t number = 0;       // 1-based
    std::uint32_t firstNumber = 0;  // Shadowed: the line that wins (0: the unnamed section)
    std::string_view section;       // the header the line stands under ("" before any)
    std::string_view name;
    std::string_view value;  // as a lookup gives it: unquoted, cut
};

class IniLexer {
public:
    // Larger files are read only up to this size.
    static constexpr std::size_t kMaxFileBytes = 16u * 1024u * 1024u;
    // The longest value that comes back, in bytes (the API's 2048-byte buffer).
    static constexpr std::size_t kMaxValueBytes = 2047;

    enum class Encoding { Bytes, Utf8, Utf16Le, Utf16Be };
    // The encoding a file's byte-order mark selects.
    static Encoding EncodingOf(std::string_view bytes);
    using Visitor = std::function<void(const IniLine&)>;

    // Decodes the bytes of a file as its byte-order mark says, reads every
    // line, hands each to `visit` in order and indexes the first section of
    // each name and the first line of each key in it.
    explicit IniLexer(std::string bytes, const Visitor& visit = {});
    // The index holds views into the text: a lexer stays where it was made.
    IniLexer(const IniLexer&) = delete;
    IniLexer& operator=(const IniLexer&) = delete;

    Encoding FileEncoding() const { return m_encoding; }
    const IniIndex& Index() const { return m_index; }
    // Whether any line held more than blanks.
    bool HasRecords() const { return m_hasRecords; }
    // Bytes held: the text and the index.
    std::size_t StorageBytes() const { return m_text.capacity() + m_index.StorageBytes(); }

private:
    void Decode(std::string bytes);
    void Lex(const Visitor& visit);
    // Fills `line` from the line's text, trimmed and not empty.
    void LexRecord(char* begin, char* end, IniLine& line) const;
    std::string_view Value(char* begin, char* end, IniLine& line) const;

    std::string m_text;  // decoded: bytes, or UTF-8
    std::size_t m_begin = 0;
    Encoding m_encoding = Encoding::Bytes;
    IniIndex m_index;
    bool m_hasRecords = false;
};

}  // namespace automenu
