// A system DLL loaded at its first use rather than at start-up: Windows (and
// Wine far more) pays for every DLL a program imports before its first
// window, and the menu needs the shell and the imaging component only when
// an entry is clicked or a PNG icon is shown.
//
// Only the system folder is searched: the menu runs from a medium or a
// downloads folder, where a DLL of the same name beside it (or in the current
// folder) must never be loaded in place of the system's.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/win32/WindowsApi.h"

namespace automenu::platform {

// Loads a DLL of the system folder by its bare name; null when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// For the whole process, from its start: DLLs loaded by name, also by the
// system's own DLLs, come from the system folder only where Windows can say
// so (SetDefaultDllDirectories), and never from the current folder.
void RestrictDllSearch();

class SystemLibrary {
public:
    explicit SystemLibrary(const char* name) : m_module(LoadSystemLibrary(name)) {}

    // The function of that name and type, or null when the DLL or the
    // function is missing.
    template <typename Function>
    Function* Get(const char* name) const {
        if (!m_module) return nullptr;
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(m_module.get(), name)));
    }

private:
    struct Deleter {
        void operator()(HMODULE module) const { ::FreeLibrary(module); }
    };
    std::unique_ptr<std::remove_pointer_t<HMODULE>, Deleter> m_module;
};

}  // namespace automenu::platform
