// Stands in for a program on the medium: started by the menu's click, it
// appends its own path, its command line, its current directory and the
// show command it was started with (STARTUPINFO's wShowWindow, or "none"
// without STARTF_USESHOWWINDOW) to opened.txt beside itself, in UTF-8, then
// ends.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

}  // namespace

int main() {
    wchar_t self[32768] = {};
    wchar_t directory[32768] = {};
    ::GetModuleFileNameW(nullptr, self, 32768);
    ::GetCurrentDirectoryW(32768, directory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    std::string show = "none";
    if (startup.dwFlags & STARTF_USESHOWWINDOW) show = std::to_string(startup.wShowWindow);
    std::wstring log(self);
    log.erase(log.find_last_of(L'\\') + 1);
    log += L"opened.txt";
    if (FILE* f = ::_wfopen(log.c_str(), L"ab")) {
        std::fprintf(f, "program=%s\ncommand=%s\ndirectory=%s\nshow=%s\n", Utf8(self).c_str(),
                     Utf8(::GetCommandLineW()).c_str(), Utf8(directory).c_str(), show.c_str());
        std::fclose(f);
    }
    return 0;
}
