#include "platform/win32/Win32CodePage.h"

#include <memory>

#include "platform/CodePageCache.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

namespace {

std::unique_ptr<CodePage> Build(unsigned number) {
    if (!::IsValidCodePage(number)) return nullptr;
    return std::make_unique<CodePage>(number, [number](std::string_view bytes) -> std::optional<char16_t> {
        wchar_t unit[2] = {};
        const int n =
            ::MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), unit, 2);
        if (n != 1) return std::nullopt;
        return static_cast<char16_t>(unit[0]);
    });
}

}  // namespace

const CodePage& SystemCodePage() { return NumberedCodePage(::GetACP()); }

const CodePage& NumberedCodePage(unsigned number) { return CachedCodePage(number, Build); }

}  // namespace automenu::platform
