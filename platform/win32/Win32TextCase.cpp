#include "platform/TextCase.h"

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

std::string LowerCase(std::string_view utf8) {
    std::wstring text = Wide(utf8);
    ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return Utf8(text);
}

std::string UpperCase(std::string_view utf8) {
    std::wstring text = Wide(utf8);
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return Utf8(text);
}

}  // namespace automenu::platform
