// The framework's own profile reader: lookups answered the way the Windows
// profile API (GetPrivateProfileString) answers them, from the index IniLexer
// builds of a file's bytes (formats/IniLexer.h has every rule). Back ends on
// systems without that API read AUTORUN.INF with it; the authoring tool reads
// with it everywhere.
//
// The index is std::unordered_map of the first section of each name and of
// the first line of each key in it. A reader holds the text decoded to UTF-8
// (the file's size for ASCII, at most three times it) and, for each name
// kept, about 90 bytes (a key) or 70 (a section).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "formats/IniLexer.h"
#include "platform/FileSystem.h"

namespace automenu {

class ProfileReader final : public platform::IProfile {
public:
    // Larger files are read only up to this size.
    static constexpr std::size_t kMaxFileBytes = IniLexer::kMaxFileBytes;
    // The longest value that comes back, in UTF-16 code units.
    static constexpr std::size_t kMaxValueUnits = IniLexer::kMaxValueUnits;

    // A reader for a file that does not exist: every lookup gives the default.
    ProfileReader() = default;

    // Parses the bytes of a file, with `ansi` as its code page when it is in
    // one; `visit` sees each of its lines as it is read.
    static ProfileReader FromBytes(std::string bytes, const CodePage& ansi, const IniLexer::Visitor& visit = {});
    // The same as read on a PC whose code page is Windows-1252.
    static ProfileReader FromBytes(std::string bytes, const IniLexer::Visitor& visit = {}) {
        return FromBytes(std::move(bytes), CodePage::Windows1252(), visit);
    }

    // The value of a key, or nothing when the file, section or key is missing
    // (or the key line has no "=").
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // As the profile API: the value, or `default_text` when Find finds nothing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_text) const override;

    bool HasFile() const { return m_lexer != nullptr; }
    TextEncoding FileEncoding() const { return m_lexer ? m_lexer->FileEncoding() : TextEncoding::Ansi; }
    // The code page an ANSI file is read in (0 without file).
    unsigned AnsiCodePage() const { return m_lexer ? m_lexer->AnsiCodePage() : 0; }
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
    mutable std::string m_memo_section;
    mutable const IniIndex::Section* m_memo_found = nullptr;
    mutable bool m_memo_valid = false;
};

}  // namespace automenu
