// The one reading of AUTORUN.INF's lines. Every lexical rule of the file is
// here: the menu's lookups are answered from the index this builds (see
// platform/ProfileReader.h), and `automenu-tool check` also sees every line it
// reads, with its number and what became of it, to point authors at the line
// they have to edit.
//
// The rules are those of the Windows profile API (GetPrivateProfileString),
// because AUTORUN.INF files are written and tested on Windows. As observed
// there:
//  - Section and key names match regardless of ASCII case. The names asked for
//    are trimmed of blanks first; blanks inside a name count; no prefix match.
//  - Blanks are the bytes 0x09-0x0D, 0x1A and 0x20 (not 0xA0).
//  - Any run of CR and LF ends a line; blank lines are ignored; the last line
//    needs no line end.
//  - Lines before the first section header form an unnamed section (""). It
//    exists even when there are no such lines, so a header whose name is empty
//    ("[]", "[ ]", "[\0x]"), wherever it stands, repeats it: its keys are
//    never found.
//  - A header is a trimmed line starting with "[" that contains "]"; its name
//    is the text up to the last "]", trimmed, then cut at a NUL; the rest of
//    the line is ignored. Without "]" the line is a key line.
//  - A key line splits at its first "="; name and value are trimmed, and later
//    "=" stay in the value. A line without "=" is a key without value: it
//    reads as missing, but it hides a later line with the same key.
//  - Duplicate keys: the first wins, even with an empty value. Duplicate
//    sections (in any case or padding): only the first is searched.
//  - There is no comment syntax: ";Key=x" defines the key ";Key", and ";" or
//    "#" in a value is kept.
//  - A NUL cuts the name or value it stands in (after trimming), but does not
//    end the line.
//  - After that cut, a value of 2 or more characters enclosed in the same
//    quote character (" or ') loses that one outer pair (names keep theirs):
//    "ab"<NUL>cd reads as ab, "ab<NUL>cd" as "ab.
//  - At most 2047 characters of a value come back, quoted or not, counted as
//    GetPrivateProfileStringW counts them with its 2048-character buffer: in
//    UTF-16 code units, so a character beyond U+FFFF counts two, and in a
//    single-byte code page each byte one. A character that would not fit
//    whole is left out. (Windows keeps only 2046 of a quoted value of
//    exactly 2047; not copied.)
//  - The whole file is decoded to Unicode before any line is read, as Windows
//    converts it before it looks for "[", "]" and "=": a trail byte of a
//    double-byte code page is never taken for "[", "]", "=" or ";". The
//    encoding is the one formats/TextEncoding.h gives (a UTF-16 mark, UTF-8,
//    or the ANSI code page, formats/CodePage.h), and names and values come
//    back in UTF-8. UTF-16 without a mark is read in the code page (and so
//    finds nothing).
//  - Names and values are valid UTF-8, as Windows' conversion gives "?" for
//    what it cannot convert: in a UTF-8 file with a byte-order mark each
//    maximal ill-formed subsequence (see ReplaceInvalidUtf8) becomes one
//    "?", in names as in values; in UTF-16 an unpaired surrogate in a value
//    becomes "?".
//  - Only the first 16 MiB of a larger file are read.
//
// Line numbers count LF, CR LF and a lone CR as one line end each, as editors
// do (the profile API itself only sees runs of them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "formats/CodePage.h"
#include "formats/IniIndex.h"
#include "formats/TextEncoding.h"

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
    bool cut_at_nul = false;    // a NUL cut its name or value
    bool cut_at_limit = false;  // its value was longer than a lookup gives
    std::uint32_t number = 0;       // 1-based
    std::uint32_t first_number = 0;  // Shadowed: the line that wins (0: the unnamed section)
    std::string_view section;       // the header the line stands under ("" before any)
    std::string_view name;
    std::string_view value;  // as a lookup gives it: unquoted, cut
};

class IniLexer {
public:
    // Larger files are read only up to this size.
    static constexpr std::size_t kMaxFileBytes = 16u * 1024u * 1024u;
    // The longest value that comes back, in UTF-16 code units (the 2048
    // characters of the API's buffer, less its terminator).
    static constexpr std::size_t kMaxValueUnits = 2047;

    using Visitor = std::function<void(const IniLine&)>;

    // Decodes the bytes of a file (with `ansi` when they are in the ANSI code
    // page), reads every line, hands each to `visit` in order and indexes the
    // first section of each name and the first line of each key in it.
    IniLexer(std::string bytes, const CodePage& ansi, const Visitor& visit = {});
    // The index holds views into the text: a lexer stays where it was made.
    IniLexer(const IniLexer&) = delete;
    IniLexer& operator=(const IniLexer&) = delete;

    TextEncoding FileEncoding() const { return m_encoding; }
    // The code page of an ANSI file's bytes (whether or not it needed one).
    unsigned AnsiCodePage() const { return m_code_page; }
    const IniIndex& Index() const { return m_index; }
    // Whether any line held more than blanks.
    bool HasRecords() const { return m_has_records; }
    // Bytes held: the text and the index.
    std::size_t StorageBytes() const { return m_text.capacity() + m_index.StorageBytes(); }

private:
    void Decode(std::string bytes, const CodePage& ansi);
    void Lex(const Visitor& visit);
    // Fills `line` from the line's text, trimmed and not empty.
    void LexRecord(char* begin, char* end, IniLine& line) const;
    std::string_view Value(char* begin, char* end, IniLine& line) const;

    std::string m_text;  // decoded to UTF-8
    TextEncoding m_encoding = TextEncoding::Ansi;
    unsigned m_code_page = 0;
    IniIndex m_index;
    bool m_has_records = false;
};

}  // namespace automenu
