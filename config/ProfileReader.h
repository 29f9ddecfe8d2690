// Reading an INI file the way the Windows profile API (GetPrivateProfileString)
// reads it, because AUTORUN.INF files are written and tested on Windows.
//
// The rules, as observed on Windows:
//  - Section and key names match regardless of ASCII case. The names asked for
//    are trimmed of blanks first; blanks inside a name count; no prefix match.
//  - Blanks are the bytes 0x09-0x0D, 0x1A and 0x20 (not 0xA0).
//  - Any run of CR and LF ends a line; blank lines are ignored.
//  - Lines before the first section header form an unnamed section (""). It
//    exists even when there are no such lines, so a header whose name is empty
//    ("[]", "[ ]", "[\0x]"), wherever it stands, repeats it: its keys are
//    never found.
//  - A header is a trimmed line starting with "[" that contains "]"; its name
//    is the text up to the last "]", trimmed, then cut at a NUL. Without "]"
//    the line is a key line.
//  - A key line splits at its first "="; name and value are trimmed. A line
//    without "=" is a key without value: it reads as missing, but it hides a
//    later line with the same key.
//  - Duplicate keys: the first wins. Duplicate sections: only the first is
//    searched. There is no comment syntax.
//  - A NUL cuts the name or value it stands in (after trimming), but does not
//    end the line.
//  - After that cut, a value of 2 or more characters enclosed in the same
//    quote character (" or ') loses that one outer pair: "ab"<NUL>cd reads as
//    ab, "ab<NUL>cd" as "ab.
//  - At most 2047 bytes of a value come back, quoted or not. (The platform
//    keeps only 2046 of a quoted value of exactly 2047 bytes; not copied.)
//  - A file without byte-order mark gives its bytes unchanged; a UTF-8,
//    UTF-16LE or UTF-16BE mark makes the file decoded and its values are given
//    in UTF-8. UTF-16 without a mark is read as bytes (and so finds nothing).
//  - Decoded files give valid UTF-8 only, as the platform's conversion gives
//    "?" for what it cannot convert: in a UTF-8 file each maximal ill-formed
//    subsequence (see ReplaceInvalidUtf8) becomes one "?", in names as in
//    values; in UTF-16 an unpaired surrogate in a value becomes "?". The 2047-byte cut
//    falls before the character that would not fit.
//
// The file is read by IniLexer (config/IniLexer.h); lookups are answered from
// its index, std::unordered_map of the first section of each name and of the
// first line of each key in it. A reader holds the decoded text (the file's
// bytes, or UTF-8) and, for each name kept, about 90 bytes (a key) or 70 (a
// section).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/IniLexer.h"

namespace automenu {

class ProfileReader {
public:
    // Larger files are read only up to this size.
    static constexpr std::size_t kMaxFileBytes = IniLexer::kMaxFileBytes;
    // The longest value that comes back, in bytes (the API's 2048-byte buffer).
    static constexpr std::size_t kMaxValueBytes = IniLexer::kMaxValueBytes;

    using Encoding = IniLexer::Encoding;

    // A reader for a file that does not exist: every lookup gives the default.
    ProfileReader() = default;

    // Parses the bytes of a file; `visit` sees each of its lines as it is read.
    static ProfileReader FromBytes(std::string bytes, const IniLexer::Visitor& visit = {});
    // Reads and parses a file. A missing, unreadable or non-regular file (a
    // directory, say) gives a reader without file.
    static ProfileReader FromFile(const std::string& path);

    // The value of a key, or nothing when the file, section or key is missing
    // (or the key line has no "=").
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // As the profile API: the value, or `default_text` when Find finds nothing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view default_text) const;

    bool HasFile() const { return m_lexer != nullptr; }
    Encoding FileEncoding() const { return m_lexer ? m_lexer->FileEncoding() : Encoding::Bytes; }
    bool IsIndexed() const { return m_lexer && m_lexer->HasRecords(); }
    // The lines lookups are answered from, with their numbers; names as
    // written in the file (not trimmed, not converted). Empty without file.
    const IniIndex& Index() const;
    // Bytes held by this reader (text and index), for tests of the bound.
    std::size_t StorageBytes() const { return m_lexer ? m_lexer->StorageBytes() : 0; }

private:
    // On the heap: the index holds views into the lexer's text.
    std::unique_ptr<const IniLexer> m_lexer;

    // A pass asks for several keys of one section in a row: the section found
    // last is remembered. This makes a reader unfit to share between threads.
    mutable std::string m_memoSection;
    mutable const IniIndex::Section* m_memoFound = nullptr;
    mutable bool m_memoValid = false;
};

}  // namespace automenu
