// Stands in for a program on the medium: started by the menu's click, it
// appends its own path, its command line, its current directory and the
// show command it was started with (STARTUPINFO's wShowWindow, or "none"
// without STARTF_USESHOWWINDOW) to opened.txt beside itself, then ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH] = {};
    char directory[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    std::string show = "none";
    if (startup.dwFlags & STARTF_USESHOWWINDOW) show = std::to_string(startup.wShowWindow);
    std::string log(self);
    log.erase(log.find_last_of('\\') + 1);
    log += "opened.txt";
    if (FILE* f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "program=%s\ncommand=%s\ndirectory=%s\nshow=%s\n", self, ::GetCommandLineA(), directory,
                     show.c_str());
        std::fclose(f);
    }
    return 0;
}
