#include "platform/win32/Win32CodePage.h"

#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

const CodePage& SystemCodePage() {
    const unsigned number = ::GetACP();
    if (number == 1252 || !CodePage::IsKnown(number)) return CodePage::Windows1252();
    static const CodePage page(number, [number](std::string_view bytes) -> std::optional<char16_t> {
        wchar_t unit[2] = {};
        const int n =
            ::MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), unit, 2);
        if (n != 1) return std::nullopt;
        return static_cast<char16_t>(unit[0]);
    });
    return page;
}

}  // namespace automenu::platform
