// Text as metafile records hold it, made UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace automenu::platform {

// UTF-16LE text of at most `chars` units, ending at the first NUL unit.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars);
// Windows-1252 text, ending at the first NUL.
std::string AnsiToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace automenu::platform
