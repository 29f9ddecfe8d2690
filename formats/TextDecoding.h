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

}  // namespace automenu
