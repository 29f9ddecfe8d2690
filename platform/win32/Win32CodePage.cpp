#include "platform/win32/Win32CodePage.h"

#include <map>
#include <memory>
#include <mutex>

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

const CodePage& NumberedCodePage(unsigned number) {
    if (number == 1252 || !CodePage::IsKnown(number)) return CodePage::Windows1252();
    static std::mutex mutex;
    static std::map<unsigned, std::unique_ptr<CodePage>> built;
    const std::lock_guard lock(mutex);
    auto [it, added] = built.try_emplace(number);
    if (added) it->second = Build(number);
    return it->second ? *it->second : CodePage::Windows1252();
}

}  // namespace automenu::platform
