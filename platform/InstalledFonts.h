// The fonts of the system the tool runs on, as the menu there would draw
// labels with them: platform/cairo/InstalledFonts (fontconfig, as pango asks
// it) and platform/win32/Win32InstalledFonts (GDI's font mapper).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace automenu::platform {

// The family the system draws for `family`: the family itself when it is
// installed, else the one put in its place; "" when the system cannot tell.
std::string FaceDrawnFor(const std::string& family);

// The scripts of the characters of UTF-8 `text` that no installed font has,
// in the order they first come, as an author names them ("Arabic"), or the
// ISO 15924 code for a rarer one; nothing when every character can be drawn.
std::vector<std::string> ScriptsWithoutFont(std::string_view text);

}  // namespace automenu::platform
