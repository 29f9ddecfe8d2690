#include "IniScanner.h"

#include "formats/TextDecoding.h"

namespace automenu::tool {

namespace {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string CutAtNul(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

}  // namespace

IniScan ScanIniText(std::string_view bytes) {
    IniScan scan;
    std::string decoded;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        // "?" for what is not UTF-8, as the reader; the markup is ASCII and
        // stays where it was.
        decoded.assign(bytes.substr(3));
        decoded.resize(ReplaceInvalidUtf8(decoded, '?'));
        bytes = decoded;
    } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        // The reader gives UTF-16 values in UTF-8; names and line ends survive
        // the conversion byte for byte, so the byte rules below apply unchanged.
        decoded = Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE', std::string::npos, U'?');
        bytes = decoded;
    }

    int line = 1;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t begin = i;
        while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') ++i;
        const std::string_view text = Trim(bytes.substr(begin, i - begin));
        const int this_line = line;
        if (i < bytes.size()) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            ++i;
            ++line;
        }
        if (text.empty()) continue;

        IniRecord r;
        r.line = this_line;
        if (text.front() == '[') {
            const std::size_t close = text.rfind(']');
            if (close != std::string_view::npos && close >= 1) {
                r.kind = IniRecord::Kind::Section;
                r.name = CutAtNul(Trim(text.substr(1, close - 1)));
                scan.records.push_back(std::move(r));
                continue;
            }
        }
        const std::size_t eq = text.find('=');
        if (eq == std::string_view::npos) {
            r.kind = IniRecord::Kind::KeyWithoutValue;
            r.name = CutAtNul(text);
            scan.records.push_back(std::move(r));
            continue;
        }
        r.kind = IniRecord::Kind::Key;
        r.name = CutAtNul(Trim(text.substr(0, eq)));
        // Cut at a NUL before the quotes are looked at, as the reader.
        std::string_view value = Trim(text.substr(eq + 1));
        value = value.substr(0, value.find('\0'));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        r.value = std::string(value);
        scan.records.push_back(std::move(r));
    }
    return scan;
}

}  // namespace automenu::tool
