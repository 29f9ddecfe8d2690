// Windows' ANSI code pages: the character sets of text files written on a
// Windows PC in its own language (Windows-1251 on a Russian one, 932 on a
// Japanese one ...), read the way Windows' MultiByteToWideChar reads them.
//
// The tables come from the system a back end runs on: each byte, and each
// lead byte with each trail byte, is converted once by the system's own
// converter (glibc's iconv on Linux, MultiByteToWideChar on Windows), and
// Windows' rules fill in what a converter leaves out:
//  - In the double-byte code pages (932, 936, 949, 950) a lead byte takes the
//    next byte with it, whatever that byte is: a trail byte can be "[", "\",
//    "]" or even a line end, and is never read on its own. A lead byte at the
//    end of the text, and a pair with no character, give the code page's
//    default character: U+30FB in 932, "?" elsewhere.
//  - A byte 0x80-0x9F with no character gives the C1 control of the same
//    value; the few bytes above that Windows gives private-use characters
//    give those (0xAA of 1253 is U+F8F9); any other byte with no character
//    gives the default character.
//  - 0xCA of 1255 is U+05BA, which older converters lack.
// The user-defined areas of the double-byte code pages, which Windows maps to
// private-use characters only a user's own font draws, read as the default
// character where the converter has nothing for them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace automenu {

class CodePage {
public:
    // The system's conversion of one character's bytes (one byte, or a lead
    // byte and a trail byte) into a UTF-16 code unit; nothing when the code
    // page has no character for them.
    using Converter = std::function<std::optional<char16_t>(std::string_view bytes)>;

    // The ANSI code pages of Windows' locales: 874, 932, 936, 949, 950 and
    // 1250 to 1258.
    static bool IsKnown(unsigned number);
    static bool IsDoubleByte(unsigned number);
    static bool IsLeadByte(unsigned number, unsigned char byte);

    // The tables of code page `number` (IsKnown) from `convert`.
    CodePage(unsigned number, const Converter& convert);
    // Windows-1252, which needs no converter: the code page of English and
    // Western European PCs, and the one used when nothing says otherwise.
    static const CodePage& Windows1252();

    unsigned Number() const { return m_number; }

    // The text of `bytes` in UTF-8. Any bytes decode, to at most three times
    // their size; text of ASCII bytes only is returned as it is.
    std::string Decode(std::string_view bytes) const;
    // The UTF-16 code unit of one byte that is not a lead byte.
    char16_t ByteUnit(unsigned char byte) const { return m_bytes[byte]; }
    // The bytes of UTF-8 text in this code page, or nothing when a character
    // has none (or the text is not valid UTF-8).
    std::optional<std::string> Encode(std::string_view utf8) const;

private:
    char16_t PairUnit(unsigned char lead, unsigned char trail) const;

    unsigned m_number = 0;
    char16_t m_default = u'?';
    std::array<char16_t, 256> m_bytes{};
    // Per byte: 0, or 1 + the row of `m_pairs` that holds its 256 trails.
    std::array<std::uint8_t, 256> m_lead_row{};
    std::vector<char16_t> m_pairs;
    std::vector<bool> m_mapped;  // whether the converter had the pair
};

// The ANSI code page Windows gives a locale, from a POSIX locale name such as
// "ru_RU.UTF-8" or "sr_RS@latin": 1251 for Russian, 932 for Japanese, 936 or
// 950 for Chinese by territory (TW, HK and MO have 950) ... and 1252 for the
// rest, "C" and "POSIX" among them.
unsigned AnsiCodePageOfLocale(std::string_view locale);

// The locale settings that choose the ANSI code page, as the environment
// gives them (null or empty when not set).
struct LocaleSettings {
    const char* override_code_page = nullptr;  // AUTOMENU_CODEPAGE
    const char* lc_all = nullptr;
    const char* lc_ctype = nullptr;
    const char* lang = nullptr;
};

// The environment variable that names the ANSI code page outright.
inline constexpr char kCodePageVariable[] = "AUTOMENU_CODEPAGE";

// The ANSI code page for these settings: the override when it names a known
// code page ("1251" or "cp1251"), else that of the locale the C library takes
// for characters (LC_ALL, then LC_CTYPE, then LANG), else 1252.
unsigned ChooseAnsiCodePage(const LocaleSettings& settings);

}  // namespace automenu
