// Caption bytes to Unicode text. Configuration files may be written on
// Windows in its ANSI code page or in UTF-8; a text that is valid UTF-8 is
// taken as UTF-8, anything else as Windows-1252, so accented letters written
// on Windows show as they did there.
#pragma once

#include <string>
#include <string_view>

namespace automenu::platform {

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

bool IsValidUtf8(std::string_view bytes);

// Always returns valid UTF-8.
std::string DecodeCaptionBytes(std::string_view bytes);

// The UTF-8 text of one Windows-1252 string.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace automenu::platform
