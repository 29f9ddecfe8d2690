// `automenu-tool template`: a complete AUTORUN.INF for a menu with three
// entries, and the files it names.
#pragma once

#include <string>
#include <vector>

namespace automenu::tool {

std::string TemplateText();

// The files of the template besides AUTORUN.INF: name and bytes.
struct TemplateFile {
    std::string name;
    std::string bytes;
};
std::vector<TemplateFile> TemplateFiles();

}  // namespace automenu::tool
