// The profile reader on any bytes, read in an ANSI code page the last byte
// chooses (a double-byte one half of the time): every key line the lexer
// reports as read is what a lookup of its names gives, line numbers run on
// one by one, a shadowed line names an earlier one, values keep within the
// limit and are valid UTF-8 in every encoding, and nothing may crash or read
// out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/TextDecoding.h"
#include "platform/ProfileReader.h"
#include "platform/posix/IconvCodePage.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool EndsInBlank(std::string_view name) {
    const char c = name.empty() ? 'x' : name.back();
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using automenu::IniLine;
    using automenu::IsValidUtf8;
    using automenu::ProfileReader;
    using automenu::TextEncoding;
    static constexpr unsigned kCodePages[] = {932,  936,  949,  950,  1250, 1251, 1252,
                                              1253, 1254, 1255, 1256, 1257, 1258, 874};
    const unsigned code_page = size == 0 ? 1252 : kCodePages[data[size - 1] % std::size(kCodePages)];
    const automenu::CodePage& ansi = automenu::platform::CodePageFromIconv(code_page);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<IniLine> read;
    std::uint32_t last_number = 0;
    const auto reader = ProfileReader::FromBytes(bytes, ansi, [&](const IniLine& line) {
        Require(line.number == last_number + 1);
        last_number = line.number;
        Require(line.fate != IniLine::Fate::Shadowed || line.first_number < line.number);
        Require(automenu::Utf16Length(line.value) <= ProfileReader::kMaxValueUnits);
        Require(IsValidUtf8(line.value));
        if (line.fate == IniLine::Fate::Read && line.kind != IniLine::Kind::Section) read.push_back(line);
    });
    const bool utf16 = automenu::IsUtf16(reader.FileEncoding());
    for (const IniLine& line : read) {
        // A name holding an unpaired UTF-16 surrogate matches no name asked for.
        if (utf16 && !(IsValidUtf8(line.section) && IsValidUtf8(line.name))) continue;
        // A NUL cut after the trimming can leave a blank at the end: no lookup asks for that.
        if (EndsInBlank(line.section) || EndsInBlank(line.name)) continue;
        const auto value = reader.Find(line.section, line.name);
        Require(line.kind == IniLine::Kind::Key ? value == line.value : !value);
    }
    // Ask for names taken from the input itself, so that some of them exist.
    const std::string names[] = {"", "a", "Logo Setup", "Logo Use", bytes.substr(0, 8), bytes.substr(size / 2, 6)};
    for (const std::string& section : names)
        for (const std::string& key : names) {
            const auto value = reader.Find(section, key);
            Require(!value || IsValidUtf8(*value));
        }
    return 0;
}
