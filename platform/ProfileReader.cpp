#include "platform/ProfileReader.h"

#include "formats/TextDecoding.h"

namespace automenu {

namespace {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

// A query name as the API receives it: a C string, trimmed of blanks.
std::string_view TrimQuery(std::string_view q) {
    const std::size_t nul = q.find('\0');
    if (nul != std::string_view::npos) q = q.substr(0, nul);
    while (!q.empty() && IsBlank(static_cast<unsigned char>(q.front()))) q.remove_prefix(1);
    while (!q.empty() && IsBlank(static_cast<unsigned char>(q.back()))) q.remove_suffix(1);
    return q;
}

// A name asked for is converted to Unicode by the platform: each byte that
// starts no valid UTF-8 sequence becomes U+FFFD.
std::string AsUnicodeQuery(std::string_view q) {
    std::string out;
    out.reserve(q.size());
    for (std::size_t i = 0; i < q.size();) {
        char32_t c = 0;
        const std::size_t length = static_cast<unsigned char>(q[i]) < 0x80 ? 1 : DecodeUtf8(q, i, c);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(q.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace

ProfileReader ProfileReader::FromBytes(std::string bytes, const CodePage& ansi, const IniLexer::Visitor& visit) {
    ProfileReader reader;
    reader.m_lexer = std::make_unique<const IniLexer>(std::move(bytes), ansi, visit);
    return reader;
}

const IniIndex& ProfileReader::Index() const {
    static const IniIndex kEmpty;
    return m_lexer ? m_lexer->Index() : kEmpty;
}

std::optional<std::string> ProfileReader::Find(std::string_view section, std::string_view key) const {
    if (!m_lexer) return std::nullopt;
    section = TrimQuery(section);
    key = TrimQuery(key);
    const IniKeyEntry* entry = nullptr;
    if (!(IsValidUtf8(section) && IsValidUtf8(key))) {
        entry = m_lexer->Index().FindKey(AsUnicodeQuery(section), AsUnicodeQuery(key));
    } else {
        if (!m_memo_valid || m_memo_section != section) {
            m_memo_section = section;
            m_memo_found = m_lexer->Index().FindSection(section);
            m_memo_valid = true;
        }
        entry = m_memo_found ? m_lexer->Index().FindKey(*m_memo_found, key) : nullptr;
    }
    if (!entry || !entry->has_value) return std::nullopt;
    return std::string(entry->value);
}

std::string ProfileReader::ReadString(std::string_view section, std::string_view key,
                                      std::string_view default_text) const {
    std::optional<std::string> value = Find(section, key);
    if (value) return std::move(*value);
    return std::string(default_text);
}

}  // namespace automenu
