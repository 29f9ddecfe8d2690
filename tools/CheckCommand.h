// `automenu-tool check`: what the menu would make of a directory's
// AUTORUN.INF, as compiler-style findings.
#pragma once

#include <string>

#include "AutorunChecker.h"
#include "CheckReport.h"
#include "NameSuggestion.h"

namespace automenu::tool {

// Reads DIR's AUTORUN.INF with the menu's lookup rules, runs the start-up pass
// and the mouse-move passes on the headless back end, and reports. The
// process's current directory is DIR while the passes run, and restored.
// `file_name` names the file when DIR holds more than one spelling of it
// (pack checks the one it puts on the medium); empty: found as the menu finds it.
// `windows_menu`: whether pack adds the Windows menu the file's [autorun] names.
CheckReport CheckDirectory(const std::string& directory, const std::string& file_name = "",
                           WindowsMenuComing windows_menu = WindowsMenuComing::ByPack);

}  // namespace automenu::tool
