// Letter case as the system changes it for the program's title: each
// character by Unicode's simple case mapping, as Windows' CharLowerBuffW
// (which the Windows program calls) and GLib (on other systems) change it.
// One implementation per system: platform/win32/Win32TextCase.cpp,
// platform/cairo/GLibTextCase.cpp.
#pragma once

#include <string>
#include <string_view>

namespace automenu::platform {

// UTF-8 in and out; a byte that is not UTF-8 stays as it is.
std::string LowerCase(std::string_view utf8);
std::string UpperCase(std::string_view utf8);

}  // namespace automenu::platform
