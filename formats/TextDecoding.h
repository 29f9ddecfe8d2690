// Caption bytes to Unicode text. Configuration files may be written on
// Windows in its ANSI code page or in UTF-8; a text that is valid UTF-8 is
// taken as UTF-8, anything else as Windows-1252, so accented letters written
// on Windows show as they did there.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace automenu {

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Decodes the UTF-8 sequence that starts at bytes[pos] (pos < size) into
// `c`. Returns its length, or 0 when no valid sequence starts there: a
// continuation byte, an overlong form, a surrogate, a code point past
// U+10FFFF or a sequence cut short.
std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& c);

bool IsValidUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);
// The length of `bytes` without a sequence cut short at their end: the start
// of a valid UTF-8 sequence that lacks its last bytes.
std::size_t CompleteUtf8Length(std::string_view bytes);

// How many UTF-16 code units valid UTF-8 text takes: one for each character,
// two for one beyond U+FFFF. Windows counts the lengths of text in these.
std::size_t Utf16Length(std::string_view utf8);
// The length in bytes of the longest start of valid UTF-8 text that takes at
// most `max_units` UTF-16 code units; it never splits a character.
std::size_t Utf8PrefixOfUtf16Length(std::string_view utf8, std::size_t max_units);

// UTF-8 text in UTF-16; a byte that starts no valid sequence becomes
// `replacement` (U+FFFD, as Windows' own conversion gives).
std::u16string Utf8ToUtf16(std::string_view utf8, char16_t replacement = 0xFFFD);
// UTF-16 text in UTF-8; an unpaired surrogate becomes `replacement`.
std::string Utf16ToUtf8(std::u16string_view text, char32_t replacement = 0xFFFD);

// Makes `text` valid UTF-8 in place and returns its new length (never more
// than before). Each maximal ill-formed subsequence becomes one `replacement`:
// the longest start of a valid sequence ("\xE2\x82" before a space), or else
// one byte ("\xC0", "\x80", and "\xED" before "\xA0": a surrogate). This is
// the practice Unicode recommends, and the one of the WHATWG decoder.
std::size_t ReplaceInvalidUtf8(std::span<char> text, char replacement);

// UTF-16 code units (little- or big-endian; an odd last byte is ignored) in
// UTF-8. A surrogate pair makes one code point; an unpaired surrogate becomes
// `replacement`. The text ends before a code point that would take it past
// max_bytes.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, std::size_t max_bytes = std::string::npos,
                        char32_t replacement = 0xFFFD);

// Always returns valid UTF-8.
std::string DecodeCaptionBytes(std::string_view bytes);

// The UTF-8 text of one Windows-1252 string.
std::string Windows1252ToUtf8(std::string_view bytes);
// The character of one Windows-1252 byte. Its five unassigned bytes are the
// C1 controls of the same value, as Windows' conversion gives them.
char16_t Windows1252Unit(unsigned char byte);

}  // namespace automenu
