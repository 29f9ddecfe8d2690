#include "formats/CodePage.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "formats/ByteReader.h"
#include "formats/TextDecoding.h"

namespace automenu {

namespace {

// Bytes to which Windows gives a character that a converter may lack: the
// private-use characters of bytes without a letter, and one Hebrew point.
struct Assignment {
    unsigned code_page;
    unsigned char first;
    unsigned char last;
    char16_t unit;  // of `first`; the next bytes take the next units
};
constexpr Assignment kAssignments[] = {
    {874, 0xDB, 0xDE, 0xF8C1},  {874, 0xFC, 0xFF, 0xF8C5},  {932, 0xA0, 0xA0, 0xF8F0},  {932, 0xFD, 0xFF, 0xF8F1},
    {936, 0xFF, 0xFF, 0xF8F5},  {949, 0xFF, 0xFF, 0xF8F7},  {950, 0xFF, 0xFF, 0xF8F8},  {1253, 0xAA, 0xAA, 0xF8F9},
    {1253, 0xD2, 0xD2, 0xF8FA}, {1253, 0xFF, 0xFF, 0xF8FB}, {1255, 0xCA, 0xCA, 0x05BA}, {1255, 0xD9, 0xDF, 0xF88D},
    {1255, 0xFB, 0xFC, 0xF894}, {1255, 0xFF, 0xFF, 0xF896}, {1257, 0xA1, 0xA1, 0xF8FC}, {1257, 0xA5, 0xA5, 0xF8FD},
};

std::optional<char16_t> AssignedUnit(unsigned code_page, unsigned char byte) {
    for (const Assignment& a : kAssignments)
        if (a.code_page == code_page && byte >= a.first && byte <= a.last)
            return static_cast<char16_t>(a.unit + (byte - a.first));
    return std::nullopt;
}

// A converter's answer that can stand in UTF-8 text on its own.
std::optional<char16_t> Usable(std::optional<char16_t> unit) {
    if (unit && *unit >= 0xD800 && *unit <= 0xDFFF) return std::nullopt;
    return unit;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Whether `word` is one of the blank-separated words of `list`.
bool InList(std::string_view list, std::string_view word) {
    while (!list.empty()) {
        const std::size_t space = list.find(' ');
        if (EqualsIgnoringCase(list.substr(0, space), word)) return true;
        if (space == std::string_view::npos) break;
        list.remove_prefix(space + 1);
    }
    return false;
}

// Languages by the ANSI code page Windows gives their locales; the languages
// Windows has only as Unicode (Hindi, Georgian, Armenian ...) get 1252.
struct LanguageRow {
    std::string_view languages;
    unsigned code_page;
};
constexpr LanguageRow kLanguages[] = {
    {"cs hu pl ro sk sl hr bs sq tk", 1250},
    {"ru uk be bg mk sr kk ky tt ba mn tg cv os sah", 1251},
    {"el", 1253},
    {"tr az uz", 1254},
    {"he iw yi", 1255},
    {"ar fa ur ps ug sd ckb", 1256},
    {"lt lv et", 1257},
    {"vi", 1258},
    {"th", 874},
    {"ja", 932},
    {"ko", 949},
};

std::optional<unsigned> CodePageNumber(std::string_view text) {
    for (std::string_view prefix : {"cp", "windows-"})
        if (text.size() > prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix))
            text.remove_prefix(prefix.size());
    unsigned number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !CodePage::IsKnown(number)) return std::nullopt;
    return number;
}

}  // namespace

bool CodePage::IsKnown(unsigned number) {
    return number == 874 || IsDoubleByte(number) || (number >= 1250 && number <= 1258);
}

bool CodePage::IsDoubleByte(unsigned number) {
    return number == 932 || number == 936 || number == 949 || number == 950;
}

bool CodePage::IsLeadByte(unsigned number, unsigned char byte) {
    if (number == 932) return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return IsDoubleByte(number) && byte >= 0x81 && byte <= 0xFE;
}

CodePage::CodePage(unsigned number, const Converter& convert)
    : m_number(number), m_default(number == 932 ? u'\u30FB' : u'?') {
    std::uint8_t rows = 0;
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (IsLeadByte(number, byte)) {
            m_lead_row[b] = ++rows;
            m_bytes[b] = m_default;  // a lead byte alone
        } else if (b < 0x80) {
            m_bytes[b] = static_cast<char16_t>(b);
        } else {
            const char text = static_cast<char>(byte);
            const std::optional<char16_t> unit = Usable(convert(std::string_view(&text, 1)));
            m_bytes[b] = unit ? *unit : AssignedUnit(number, byte).value_or(b < 0xA0 ? char16_t(b) : m_default);
        }
    }
    m_pairs.assign(std::size_t{rows} * 256, m_default);
    m_mapped.assign(m_pairs.size(), false);
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (m_lead_row[lead] == 0) continue;
        // No code page has a trail byte outside 0x40-0xFE.
        for (unsigned trail = 0x40; trail < 0xFF; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            if (const std::optional<char16_t> unit = Usable(convert(std::string_view(pair, 2)))) {
                const std::size_t at = (m_lead_row[lead] - 1u) * 256u + trail;
                m_pairs[at] = *unit;
                m_mapped[at] = true;
            }
        }
    }
}

const CodePage& CodePage::Windows1252() {
    static const CodePage instance(1252, [](std::string_view bytes) -> std::optional<char16_t> {
        return Windows1252Unit(static_cast<unsigned char>(bytes[0]));
    });
    return instance;
}

char16_t CodePage::PairUnit(unsigned char lead, unsigned char trail) const {
    return m_pairs[(m_lead_row[lead] - 1u) * 256u + trail];
}

std::string CodePage::Decode(std::string_view bytes) const {
    if (IsAscii(bytes)) return std::string(bytes);
    const auto high = static_cast<std::size_t>(
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    std::string out;
    out.reserve(bytes.size() + 2 * high);
    ByteReader reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    while (reader.Remaining() > 0) {
        const std::uint8_t byte = reader.U8();
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (m_lead_row[byte] == 0) {
            AppendUtf8(out, m_bytes[byte]);
        } else {
            // The lead byte takes the next byte with it, whatever it is.
            AppendUtf8(out, reader.Remaining() > 0 ? PairUnit(byte, reader.U8()) : m_default);
        }
    }
    return out;
}

std::optional<std::string> CodePage::Encode(std::string_view utf8) const {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8, i, c);
        if (length == 0) return std::nullopt;
        i += length;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // A single byte first, then the first pair in byte order that has it.
        unsigned byte = 0x80;
        while (byte < 256 && !(m_bytes[byte] == c && m_lead_row[byte] == 0)) ++byte;
        if (byte < 256) {
            out += static_cast<char>(byte);
            continue;
        }
        std::size_t at = 0;
        while (at < m_pairs.size() && !(m_mapped[at] && m_pairs[at] == c)) ++at;
        if (at == m_pairs.size()) return std::nullopt;
        const auto lead = std::find(m_lead_row.begin(), m_lead_row.end(), at / 256 + 1) - m_lead_row.begin();
        out += static_cast<char>(lead);
        out += static_cast<char>(at % 256);
    }
    return out;
}

unsigned AnsiCodePageOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::size_t language_end = std::min(locale.find_first_of("_.@"), locale.size());
    const std::string_view language = locale.substr(0, language_end);
    std::string_view territory;
    if (language_end < locale.size() && locale[language_end] == '_') {
        territory = locale.substr(language_end + 1);
        territory = territory.substr(0, std::min(territory.find_first_of(".@"), territory.size()));
    }
    const std::size_t at = locale.find('@');
    const std::string_view modifier = at == std::string_view::npos ? std::string_view() : locale.substr(at + 1);

    if (EqualsIgnoringCase(language, "zh")) return InList("TW HK MO", territory) ? 950 : 936;
    // Serbian is written in Cyrillic unless the locale says Latin; Uzbek in
    // Latin unless it says Cyrillic.
    if (EqualsIgnoringCase(modifier, "latin") && InList("sr be", language)) return 1250;
    if (EqualsIgnoringCase(modifier, "cyrillic") && InList("uz az bs", language)) return 1251;
    for (const LanguageRow& row : kLanguages)
        if (InList(row.languages, language)) return row.code_page;
    return 1252;
}

unsigned ChooseAnsiCodePage(const LocaleSettings& settings) {
    const auto set = [](const char* value) { return value && *value; };
    if (set(settings.override_code_page))
        if (const auto number = CodePageNumber(settings.override_code_page)) return *number;
    for (const char* locale : {settings.lc_all, settings.lc_ctype, settings.lang})
        if (set(locale)) return AnsiCodePageOfLocale(locale);
    return 1252;
}

}  // namespace automenu
