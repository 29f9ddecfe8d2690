// The Windows program keeps its text in UTF-8, as the Linux one does, and
// hands it to Windows in UTF-16 (the W functions), so that text in any script
// reaches the screen, the shell and the file system unchanged.
#pragma once

#include <string>
#include <string_view>

#include "formats/TextDecoding.h"

namespace automenu::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");

// A byte that is not UTF-8 becomes U+FFFD.
inline std::wstring Wide(std::string_view utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

// An unpaired surrogate becomes "?", as Windows' conversion to a code page
// gives it.
inline std::string Utf8(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()), U'?');
}

}  // namespace automenu::platform
