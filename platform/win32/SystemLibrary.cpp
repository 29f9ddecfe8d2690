#include "platform/win32/SystemLibrary.h"

#include <string>

namespace automenu::platform {

HMODULE LoadSystemLibrary(const char* name) {
    const std::wstring wide(name, name + std::char_traits<char>::length(name));  // the names are ASCII
    if (HMODULE module = ::LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // Windows Vista, and 7 without update KB2533623, know no search flags and
    // refuse them: the DLL by its full path in the system folder, its own
    // imports searched from there.
    if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + wide;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto* set_default = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction*>(reinterpret_cast<void*>(
                                     ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                               : nullptr;
    if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Where that is missing, at least the current folder (the medium) is
    // taken out of the search.
    ::SetDllDirectoryW(L"");
}

}  // namespace automenu::platform
