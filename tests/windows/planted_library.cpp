// A DLL that carries a system DLL's name and leaves a mark when it is
// loaded: the menu must never load it from beside itself. The mark is the
// file named by the environment variable AUTOMENU_PLANTED_MARK.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH];
        const DWORD n = ::GetEnvironmentVariableA("AUTOMENU_PLANTED_MARK", path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        }
    }
    return TRUE;
}
