#include "EncodingChecker.h"

#include <string>

#include "AutorunChecker.h"
#include "formats/CodePage.h"
#include "formats/TextDecoding.h"

namespace automenu::tool {

namespace {

// The line of byte `pos`, counting LF, CR LF and a lone CR as one line end
// each, as the reader does.
int LineAt(std::string_view bytes, std::size_t pos) {
    int line = 1;
    for (std::size_t i = 0; i < pos && i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++line;
    }
    return line;
}

}  // namespace

EncodingChecker::EncodingChecker(const CheckedFile& file, std::string_view bytes, FindingList& findings)
    : m_file(file), m_bytes(bytes), m_encoding(DetectTextEncoding(bytes)), m_findings(findings) {}

void EncodingChecker::Run() {
    switch (m_encoding) {
        case TextEncoding::Ansi:
            CheckAnsi();
            break;
        case TextEncoding::Utf8:
        case TextEncoding::Utf8WithMark:
            CheckUtf8();
            break;
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            m_findings.Add(
                Severity::Note, 0,
                "encoding: " + std::string(TextEncodingName(m_encoding)) + ", which every PC reads the same");
            break;
    }
}

void EncodingChecker::CheckAnsi() {
    std::size_t high = 0;
    while (high < m_bytes.size() && static_cast<unsigned char>(m_bytes[high]) < 0x80) ++high;
    if (high == m_bytes.size()) {
        m_findings.Add(Severity::Note, 0, "encoding: ASCII, which every PC reads the same");
        return;
    }
    const std::string page = std::to_string(m_file.Reader().AnsiCodePage());
    m_findings.Add(Severity::Note, 0,
                   "encoding: an ANSI code page, read here as " + page + " (the code page of this system's locale; " +
                       kCodePageVariable + " names another)");
    m_findings.Add(Severity::Warning, LineAt(m_bytes, high),
                   "characters outside ASCII in an ANSI file show as written only on PCs whose code page is " + page +
                       ": save the file as UTF-16 LE or UTF-8 to show them the same on every PC");
}

void EncodingChecker::CheckUtf8() {
    if (m_encoding == TextEncoding::Utf8) {
        m_findings.Add(Severity::Note, 0,
                       "encoding: UTF-8, which this menu reads as UTF-8 on every system (Windows' own profile API "
                       "reads it in the PC's ANSI code page)");
    } else {
        m_findings.Add(Severity::Note, 0,
                       "encoding: UTF-8 with byte-order mark, which this menu reads on every system (Windows' own "
                       "profile API does not know the mark and takes it for part of line 1)");
        // Windows reads [autorun] itself: with the mark before it, it finds no such section.
        if (const IniIndex::Section* autorun = m_file.Section(kAutorunSection); autorun && autorun->line == 1)
            m_findings.Add(Severity::Warning, 1,
                           "the UTF-8 byte-order mark stands before [autorun] on line 1, so Windows, which reads that "
                           "section itself, does not find it: put another line first or save the file as UTF-16 LE");
    }
    CheckAutorunLabel();
}

// Windows reads [autorun] with its own profile API, in the PC's code page.
void EncodingChecker::CheckAutorunLabel() {
    for (const std::string& key : AutorunKeys()) {
        const IniKeyEntry* entry = m_file.Key(kAutorunSection, key);
        if (!entry || !entry->has_value || IsAscii(m_file.Value(kAutorunSection, key))) continue;
        m_findings.Add(Severity::Warning, static_cast<int>(entry->line),
                       "Windows reads [autorun] itself, in the PC's ANSI code page: " + Quote(key) +
                           " shows garbled there unless the file is saved as UTF-16 LE");
    }
}

}  // namespace automenu::tool
