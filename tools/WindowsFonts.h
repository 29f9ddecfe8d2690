// The font faces every Windows PC has, from Windows 7 on. A face outside the
// list may still be on many PCs (Office brings some), so a menu that names
// one looks different where it is missing: Windows then draws another face.
#pragma once

#include <string_view>

namespace automenu::tool {

// Whether every Windows since 7 has the face `name` (compared ignoring case).
bool IsWindowsFontFace(std::string_view name);

}  // namespace automenu::tool
