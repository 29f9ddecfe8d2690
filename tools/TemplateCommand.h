// `automenu-tool template`: a complete AUTORUN.INF for a menu with three
// entries, and the files it names.
#pragma once

#include <string>
#include <vector>

namespace automenu::tool {

// The encodings the template can be written in: ANSI is plain ASCII, which
// every code page reads the same; UTF-8 is written without byte-order mark,
// as Notepad saves it; UTF-16 little-endian with its mark.
enum class TemplateEncoding { Ansi, Utf8, Utf16 };

// The file's bytes in that encoding.
std::string TemplateText(TemplateEncoding encoding = TemplateEncoding::Ansi);

// The files of the template besides AUTORUN.INF: name and bytes.
struct TemplateFile {
    std::string name;
    std::string bytes;
};
std::vector<TemplateFile> TemplateFiles();

}  // namespace automenu::tool
