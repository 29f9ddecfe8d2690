#include "platform/InstalledFonts.h"

#include "platform/win32/GdiHandles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

std::string FaceDrawnFor(const std::string& family) {
    // The face GDI's mapper selects for the name, as the menu's font gets it.
    const std::wstring name = Wide(family);
    if (name.size() >= LF_FACESIZE) return {};
    LOGFONTW description{};
    description.lfHeight = -16;
    description.lfCharSet = DEFAULT_CHARSET;
    name.copy(description.lfFaceName, name.size());
    const FontHandle font(::CreateFontIndirectW(&description));
    const MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!font || !dc) return {};
    const HGDIOBJ previous = ::SelectObject(dc.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    const int copied = ::GetTextFaceW(dc.get(), LF_FACESIZE, face);
    ::SelectObject(dc.get(), previous);
    face[LF_FACESIZE - 1] = L'\0';
    return copied > 0 ? Utf8(face) : std::string();
}

std::vector<std::string> ScriptsWithoutFont(std::string_view) {
    // Windows links fonts for every script it ships one for, and tells no
    // program which characters none of them has.
    return {};
}

}  // namespace automenu::platform
