#include "AutorunSection.h"


#include "AutorunChecker.h"
#include "base/AsciiCase.h"
#include "config/ValueRules.h"
#include "formats/IniLexer.h"
#include "formats/TextDecoding.h"
#include "menu/SettingsPass.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

namespace {

// The code units of a file's text after its byte-order mark.
class CodeUnits {
public:
    CodeUnits(std::string_view bytes, TextEncoding encoding)
        : m_bytes(bytes), m_encoding(encoding), m_begin(ByteOrderMarkLength(encoding)),
          m_width(IsUtf16(encoding) ? 2 : 1) {}
    bool Whole() const { return (m_bytes.size() - m_begin) % m_width == 0; }
    std::size_t Size() const { return (m_bytes.size() - m_begin) / m_width; }
    unsigned At(std::size_t i) const {
        const std::size_t at = m_begin + i * m_width;
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(m_bytes[at + k]); };
        if (m_width == 1) return byte(0);
        return m_encoding == TextEncoding::Utf16Le ? byte(0) | byte(1) << 8 : byte(0) << 8 | byte(1);
    }

private:
    std::string_view m_bytes;
    TextEncoding m_encoding;
    std::size_t m_begin = 0;
    std::size_t m_width = 1;
};

std::string LineEndOf(const CodeUnits& units) {
    for (std::size_t i = 0; i < units.Size(); ++i) {
        if (units.At(i) == '\n') return "\n";
        if (units.At(i) == '\r') return i + 1 < units.Size() && units.At(i + 1) == '\n' ? "\r\n" : "\r";
    }
    return "\r\n";
}

void AppendUtf16Unit(std::string& out, unsigned unit, bool little_endian) {
    const char high = static_cast<char>(unit >> 8 & 0xFF);
    const char low = static_cast<char>(unit & 0xFF);
    out += little_endian ? low : high;
    out += little_endian ? high : low;
}

// UTF-8 (what a decoded file's lookups give, always valid) as UTF-16.
std::string Utf16Of(std::string_view utf8, bool little_endian) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(utf8, i, code);
        if (length == 0) code = U'?';
        i += length == 0 ? 1 : length;
        if (code >= 0x10000) {
            code -= 0x10000;
            AppendUtf16Unit(out, 0xD800 | code >> 10, little_endian);
            AppendUtf16Unit(out, 0xDC00 | (code & 0x3FF), little_endian);
        } else {
            AppendUtf16Unit(out, code, little_endian);
        }
    }
    return out;
}

// A value as the file holds it: in its code page for an ANSI file, where a
// text the code page has no bytes for is left out (empty); else UTF-8.
std::string InFileEncoding(const CheckedFile& file, const std::string& text) {
    if (file.Reader().FileEncoding() != TextEncoding::Ansi) return text;
    return platform::host::CodePageNumbered(file.Reader().AnsiCodePage()).Encode(text).value_or("");
}

}  // namespace

bool HasAutorunSection(const CheckedFile& file) { return file.Section(kAutorunSection) != nullptr; }

bool HasAutorunSection(std::string_view bytes) {
    return HasAutorunSection(CheckedFile(
        "",
        ProfileReader::FromBytes(std::string(bytes.substr(0, IniLexer::kMaxFileBytes)), platform::host::LocaleCodePage())));
}

AutorunValues AutorunValuesFor(const CheckedFile& file) {
    AutorunValues values;
    values.open = std::string(kWindowsMenuName);
    const SchemaKey& logo_use = KeyOf(KeyId::LogoUse);
    const SchemaKey& logo_path = KeyOf(KeyId::LogoPath);
    const SchemaKey& logo_name = KeyOf(KeyId::LogoName);
    // An icon from elsewhere ("D:\art") is not on the medium for Windows to show.
    if (IsYes(file.Value(logo_use.section, logo_use.key)) && file.Value(logo_path.section, logo_path.key) == "NOW") {
        const std::string name = file.Value(logo_name.section, logo_name.key);
        if (!name.empty() &&
            platform::host::KindOf(MediaPath(file.Directory() + "/" + name)) == platform::host::EntryKind::File)
            values.icon = InFileEncoding(file, name);
    }
    const SchemaKey& title_use = KeyOf(KeyId::TitleUse);
    const SchemaKey& title = KeyOf(KeyId::TitleCaption);
    if (IsYes(file.Value(title_use.section, title_use.key)) && file.Present(title.section, title.key)) {
        const std::string caption = file.Value(title.section, title.key);
        if (Utf16Length(caption) <= kMaxAutorunLabel) values.label = InFileEncoding(file, caption);
    }
    return values;
}

std::optional<std::string> WithAutorunSection(std::string_view bytes, const AutorunValues& values) {
    const TextEncoding encoding = DetectTextEncoding(bytes.substr(0, IniLexer::kMaxFileBytes));
    const CodeUnits units(bytes, encoding);
    if (!units.Whole()) return std::nullopt;
    const std::string eol = LineEndOf(units);
    std::string text;
    const bool ends_line =
        units.Size() == 0 || units.At(units.Size() - 1) == '\n' || units.At(units.Size() - 1) == '\r';
    if (!ends_line) text += eol;
    if (units.Size() > 0) text += eol;
    text += "[autorun]" + eol + "open=" + values.open + eol;
    if (!values.icon.empty()) text += "icon=" + values.icon + eol;
    if (!values.label.empty()) text += "label=" + values.label + eol;

    std::string out(bytes);
    if (IsUtf16(encoding))
        out += Utf16Of(text, encoding == TextEncoding::Utf16Le);
    else
        out += text;
    return out;
}

}  // namespace automenu::tool
