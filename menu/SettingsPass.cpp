#include "menu/SettingsPass.h"

#include <sys/stat.h>

#include "platform/PathResolver.h"

namespace automenu {

namespace {
std::string Join(std::string_view a, std::string_view b) {
    std::string s;
    s.reserve(a.size() + 1 + b.size());
    s.append(a);
    s.push_back(' ');
    s.append(b);
    return s;
}
}  // namespace

void ConfigureLabel(SettingsPass& pass, TLabel& label, const LabelKeys& keys, StyleSwitchForm form) {
    const std::string_view section = keys.section;
    label.SetVisible(true);
    label.SetCaption(pass.LookUp(section, keys.caption));
    label.SetTop(pass.LookUpInteger(section, keys.top));
    label.SetLeft(pass.LookUpInteger(section, keys.left));

    TFont& font = label.Font();
    font.SetName(pass.LookUp(section, Join(keys.appearance, "Name")));
    if (auto colour = ColourFromName(pass.LookUp(section, Join(keys.appearance, "Color")))) font.SetColor(*colour);
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsBold, pass.LookUp(section, Join(keys.appearance, "Style Bold Use")),
                                   form));
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsItalic,
                                   pass.LookUp(section, Join(keys.appearance, "Style Italic Use")), form));
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsUnderline,
                                   pass.LookUp(section, Join(keys.appearance, "Style Underline Use")), form));
    font.SetSize(pass.LookUpInteger(section, Join(keys.appearance, "Size")));
}

std::string EntrySection(int n) { return "Installation Message Label " + std::to_string(n) + " Font Setup"; }

LabelKeys EntryKeys(int n, std::string_view state) {
    const std::string label = "Installation Message Label " + std::to_string(n);
    return {EntrySection(n), label + " Caption", label + " Font Top", label + " Font Left",
            Join(label, state) + " Font"};
}

LabelKeys ExitKeys(std::string_view state) {
    return {std::string(kExitSection), "Exit Label Caption", "Exit Label Top", "Exit Label Left",
            Join("Exit Label", state) + " Font"};
}

LabelKeys TextLineKeys(int n) {
    const std::string label = "Normal Message Label " + std::to_string(n);
    return {label + " Font Setup", label + " Caption", label + " Font Top", label + " Font Left", label + " Font"};
}

LabelKeys TitleKeys() {
    return {"Title Message Label Setup", "Title Message Label Caption", "Title Message Label Top",
            "Title Message Label Left", "Title Message Label Font"};
}

std::string MediaPath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) == 0) return path;
    if (auto resolved = platform::ResolvePathIgnoringCase(path, platform::PathSeparators::SlashOrBackslash))
        return *resolved;
    return path;
#endif
}

}  // namespace automenu
