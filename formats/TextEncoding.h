// The one rule for the encoding of AUTORUN.INF, the same on every system:
//  - a UTF-16 LE or BE byte-order mark: UTF-16;
//  - a UTF-8 byte-order mark, or no mark and bytes that are valid UTF-8 with
//    at least one byte above 0x7F: UTF-8 (a mark is not part of line 1);
//  - anything else: the ANSI code page (formats/CodePage.h), on Windows the
//    system's, elsewhere the one Windows gives the user's locale.
// Windows' own profile API knows only the UTF-16 marks: it reads a UTF-8 file
// in the ANSI code page, with a mark as part of line 1. The menu reads UTF-8
// on purpose, on every system: it is what Notepad saves, and no author means
// those bytes as text in a code page.
#pragma once

#include <cstddef>
#include <string_view>

namespace automenu {

enum class TextEncoding { Ansi, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

TextEncoding DetectTextEncoding(std::string_view bytes);

// The bytes of the byte-order mark that selects the encoding (0 for none).
std::size_t ByteOrderMarkLength(TextEncoding encoding);

constexpr bool IsUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

// "ANSI code page", "UTF-8", "UTF-8 with byte-order mark", "UTF-16 LE",
// "UTF-16 BE".
std::string_view TextEncodingName(TextEncoding encoding);

}  // namespace automenu
