#include "platform/metafile/MetafileText.h"

#include <algorithm>
#include <string_view>

#include "formats/TextDecoding.h"

namespace automenu::platform {

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars) {
    // The text ends at the first NUL unit, or after chars units.
    const std::size_t units = std::min(chars, bytes.size() / 2);
    std::size_t n = 0;
    while (n < units && (bytes[2 * n] | bytes[2 * n + 1]) != 0) ++n;
    return automenu::Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), 2 * n), false);
}

std::string AnsiToUtf8(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Windows1252ToUtf8(text.substr(0, text.find('\0')));
}

}  // namespace automenu::platform
