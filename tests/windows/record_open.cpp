// Stands in for a program on the medium: started by the menu's click, it
// appends its own path, its command line and its current directory to
// opened.txt beside itself, then ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH] = {};
    char directory[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    std::string log(self);
    log.erase(log.find_last_of('\\') + 1);
    log += "opened.txt";
    if (FILE* f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "program=%s\ncommand=%s\ndirectory=%s\n", self, ::GetCommandLineA(), directory);
        std::fclose(f);
    }
    return 0;
}
