// What the authoring tool asks of the system it runs on beyond what the menu
// asks (FileSystem.h): what a path names, the author's folder listed ignoring
// case, whole files read, code pages by number, and its own command line.
// Paths are UTF-8 with either separator; platform/posix/PosixHostSystem and
// platform/win32/Win32HostSystem (UTF-16 names, drive letters) answer them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "formats/CodePage.h"
#include "platform/FileSystem.h"

namespace automenu::platform::host {

enum class EntryKind { Missing, File, Directory, Other };

// What `path` names, links followed.
EntryKind KindOf(const std::string& path);

// The entry of `directory` named `name` ignoring ASCII case: `name` itself
// when it is there; on a system that tells case apart, the first match in
// byte order. Nothing when there is none.
std::optional<std::string> FindEntry(const std::string& directory, std::string_view name);

// Reads at most max_bytes of a regular file; a longer file gives TooLarge
// with its first max_bytes, anything else that is not a readable regular file
// CannotOpen.
FileReadStatus ReadWholeFile(const std::string& path, std::size_t max_bytes, std::string& bytes);

// The running program's own file, or "" when the system cannot tell.
std::string ProgramPath();

// The ANSI code page of the author's locale, and one by its number (the
// Windows-1252 table when the system cannot convert it).
const CodePage& LocaleCodePage();
const CodePage& CodePageNumbered(unsigned number);

// The image as a PNG file (alpha kept where it has any); empty when the
// system's encoder fails.
std::vector<std::uint8_t> EncodePng(const PixelImage& image);

// The program's arguments in UTF-8 (on Windows taken in UTF-16 from the
// system, not from the ANSI `argv`); also makes the console show UTF-8 and
// standard output take bytes as they are written ("\n" stays one byte).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A UTF-8 path as the standard library's path, and back, on every system.
inline std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace automenu::platform::host
