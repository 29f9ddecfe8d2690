#include "menu/SettingsPass.h"

#include <sys/stat.h>

#include <vector>

#include "platform/posix/PathResolver.h"

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

LabelKeys::LabelKeys(std::string section_, std::string caption_, std::string top_, std::string left_,
                     std::string_view appearance)
    : section(std::move(section_)),
      caption(std::move(caption_)),
      top(std::move(top_)),
      left(std::move(left_)),
      name(Join(appearance, "Name")),
      colour(Join(appearance, "Color")),
      bold(Join(appearance, "Style Bold Use")),
      italic(Join(appearance, "Style Italic Use")),
      underline(Join(appearance, "Style Underline Use")),
      size(Join(appearance, "Size")) {}

void ConfigureLabel(SettingsPass& pass, TLabel& label, const LabelKeys& keys, StyleSwitchForm form) {
    const std::string_view section = keys.section;
    label.SetVisible(true);
    label.SetCaption(pass.LookUp(section, keys.caption));
    label.SetTop(pass.LookUpInteger(section, keys.top));
    label.SetLeft(pass.LookUpInteger(section, keys.left));

    TFont& font = label.Font();
    font.SetName(pass.LookUp(section, keys.name));
    if (auto colour = ColourFromName(pass.LookUp(section, keys.colour))) font.SetColor(*colour);
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsBold, pass.LookUp(section, keys.bold), form));
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsItalic, pass.LookUp(section, keys.italic), form));
    font.SetStyle(ApplyStyleSwitch(font.Style(), fsUnderline, pass.LookUp(section, keys.underline), form));
    font.SetSize(pass.LookUpInteger(section, keys.size));
}

namespace {
std::string EntryName(int n) { return "Installation Message Label " + std::to_string(n); }
std::string TextLineName(int n) { return "Normal Message Label " + std::to_string(n); }

template <typename Make>
auto EightOf(Make make) {
    std::vector<decltype(make(1))> all;
    for (int n = 1; n <= 8; ++n) all.push_back(make(n));
    return all;
}
}  // namespace

const std::string& EntrySection(int n) {
    static const auto sections = EightOf([](int i) { return EntryName(i) + " Font Setup"; });
    return sections.at(n - 1);
}

const std::string& EntryFilePathKey(int n) {
    static const auto keys = EightOf([](int i) { return EntryName(i) + " File Path"; });
    return keys.at(n - 1);
}

const LabelKeys& EntryKeys(int n, Look look) {
    static const auto make = [](std::string_view state) {
        return EightOf([state](int i) {
            const std::string label = EntryName(i);
            return LabelKeys(EntrySection(i), label + " Caption", label + " Font Top", label + " Font Left",
                             Join(label, state) + " Font");
        });
    };
    static const auto normal = make("First");
    static const auto hover = make("Second");
    return (look == Look::Normal ? normal : hover).at(n - 1);
}

const LabelKeys& ExitKeys(Look look) {
    static const LabelKeys normal(std::string(kExitSection), "Exit Label Caption", "Exit Label Top",
                                  "Exit Label Left", "Exit Label First Font");
    static const LabelKeys hover(std::string(kExitSection), "Exit Label Caption", "Exit Label Top",
                                 "Exit Label Left", "Exit Label Second Font");
    return look == Look::Normal ? normal : hover;
}

const LabelKeys& TextLineKeys(int n) {
    static const auto keys = EightOf([](int i) {
        const std::string label = TextLineName(i);
        return LabelKeys(label + " Font Setup", label + " Caption", label + " Font Top", label + " Font Left",
                         label + " Font");
    });
    return keys.at(n - 1);
}

const LabelKeys& TitleKeys() {
    static const LabelKeys keys("Title Message Label Setup", "Title Message Label Caption", "Title Message Label Top",
                                "Title Message Label Left", "Title Message Label Font");
    return keys;
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
