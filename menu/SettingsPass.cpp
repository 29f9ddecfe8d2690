#include "menu/SettingsPass.h"

#include <vector>

#include "platform/PlatformAccess.h"

namespace automenu {

LabelKeys::LabelKeys(const LabelRows& rows, int number)
    : section(KeyOf(rows.caption, number).section),
      caption(KeyOf(rows.Placing(0), number).key),
      top(KeyOf(rows.Placing(1), number).key),
      left(KeyOf(rows.Placing(2), number).key),
      name(KeyOf(rows.Font(0), number).key),
      colour(KeyOf(rows.Font(1), number).key),
      bold(KeyOf(rows.Font(2), number).key),
      italic(KeyOf(rows.Font(3), number).key),
      underline(KeyOf(rows.Font(4), number).key),
      size(KeyOf(rows.Font(5), number).key) {}

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
template <typename Make>
auto EightOf(Make make) {
    std::vector<decltype(make(1))> all;
    for (int n = 1; n <= kNumberedLabels; ++n) all.push_back(make(n));
    return all;
}
}  // namespace

const std::string& EntryFilePathKey(int n) { return KeyOf(KeyId::EntryFilePath, n).key; }

const LabelKeys& EntryKeys(int n, Look look) {
    static const auto normal = EightOf([](int i) { return LabelKeys(kEntryLabel[0], i); });
    static const auto hover = EightOf([](int i) { return LabelKeys(kEntryLabel[1], i); });
    return (look == Look::Normal ? normal : hover).at(n - 1);
}

const LabelKeys& ExitKeys(Look look) {
    static const LabelKeys normal(kExitLabel[0], 0);
    static const LabelKeys hover(kExitLabel[1], 0);
    return look == Look::Normal ? normal : hover;
}

const LabelKeys& TextLineKeys(int n) {
    static const auto keys = EightOf([](int i) { return LabelKeys(kTextLineLabel, i); });
    return keys.at(n - 1);
}

const LabelKeys& TitleKeys() {
    static const LabelKeys keys(kTitleLabel, 0);
    return keys;
}

std::string MediaPath(const std::string& path) { return Platform().Files().MediaPath(path); }

}  // namespace automenu
