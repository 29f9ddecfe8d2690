#include "LabelChecker.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "WindowsFonts.h"
#include "base/AsciiCase.h"
#include "formats/TextDecoding.h"
#include "platform/InstalledFonts.h"

namespace automenu::tool {

void LabelChecker::CheckLabels() {
    for (const auto& [id, side] : {std::pair{KeyId::FormHeight, "height"}, std::pair{KeyId::FormWidth, "width"}}) {
        const SchemaKey& key = KeyOf(id);
        if (m_file.Present(key.section, key.key)) continue;
        m_findings.Add(Severity::Warning, m_file.SectionLine(key.section),
                       "no " + Quote(key.key) + ": the window's outer " + side +
                           " reads as 0, so the window gets the smallest one a captioned window can have");
    }
    for (const LabelSpec& label : LabelSpecs()) {
        if (!m_file.Shown(label)) continue;
        const IniIndex::Section* section = m_file.Section(label.Section());
        if (!section || section->key_lines == 0) {
            m_findings.Add(Severity::Warning,
                           section ? static_cast<int>(section->line)
                                   : m_file.LineOf(label.gate->gate_section, label.gate->gate_key),
                           label.what + " is shown but [" + label.Section() +
                               "] has no keys: it shows the caption \"0\" at (0,0) in the font \"0\"");
            continue;
        }
        const int line = static_cast<int>(section->line);
        if (!m_file.Present(label.Section(), label.normal->caption))
            m_findings.Add(Severity::Warning, line,
                           label.what + " is shown without " + Quote(label.normal->caption) + ": its caption is \"0\"");
        CheckAppearance(label, *label.normal, line, false);
        if (label.hover) CheckAppearance(label, *label.hover, line, true);
    }
}

void LabelChecker::CheckAppearance(const LabelSpec& label, const LabelKeys& keys, int line, bool hover) {
    const std::string_view section = label.Section();
    int present = 0;
    for (const std::string* key : {&keys.name, &keys.colour, &keys.bold, &keys.italic, &keys.underline, &keys.size})
        present += m_file.Present(section, *key);
    if (present == 0) {
        m_findings.Add(Severity::Warning, line,
                       label.what + " has no " + Quote(AppearancePrefix(keys)) + " keys: " +
                           (hover ? "hovering gives it" : "it gets") + " the font name \"0\" and the size 0");
        return;
    }
    const std::string gives = hover ? ": hovering gives it " : ": it gets ";
    if (!m_file.Present(section, keys.name))
        m_findings.Add(Severity::Warning, line,
                       label.what + " has no " + Quote(keys.name) + gives + "the font name \"0\"");
    if (!m_file.Present(section, keys.size))
        m_findings.Add(Severity::Warning, line, label.what + " has no " + Quote(keys.size) + gives + "the size 0");
}

namespace {

// Faces made to stand in for a Windows face letter for letter, which
// fontconfig draws in its place.
bool SameMetrics(std::string_view face, std::string_view drawn_with) {
    constexpr std::pair<std::string_view, std::string_view> kPairs[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Calibri", "Carlito"},
        {"Cambria", "Caladea"},
    };
    for (const auto& [windows, stand_in] : kPairs)
        if (EqualsIgnoringCase(face, windows) && EqualsIgnoringCase(drawn_with, stand_in)) return true;
    return false;
}

}  // namespace

void LabelChecker::CheckFonts() {
    struct Use {
        int line = 0;
        int more = 0;
        std::string drawn_with;
    };
    std::map<std::string, Use> uses;
    std::vector<std::string> order;
    for (const LabelSpec& label : LabelSpecs()) {
        if (!m_file.Shown(label)) continue;
        for (const LabelKeys* keys : {label.normal, label.hover}) {
            if (!keys) continue;
            const IniKeyEntry* entry = m_file.Key(label.Section(), keys->name);
            if (!entry || !entry->has_value) continue;
            const std::string name = m_file.Value(label.Section(), keys->name);
            if (name.empty() || EqualsIgnoringCase(name, "default")) continue;
            auto [it, inserted] = uses.emplace(name, Use{static_cast<int>(entry->line), 0, {}});
            if (inserted) {
                it->second.drawn_with = platform::FaceDrawnFor(name);
                order.push_back(name);
            } else {
                ++it->second.more;
            }
        }
    }
    for (const std::string& name : order) {
        const Use& use = uses[name];
        const std::string more =
            use.more > 0 ? " (here and in " + std::to_string(use.more) + " more keys)" : std::string();
        if (!IsWindowsFontFace(name))
            m_findings.Add(Severity::Warning, use.line,
                           "font " + Quote(name) +
                               " is not one every Windows PC has: where it is missing, Windows draws another "
                               "face in its place (Arial, Tahoma, Verdana, Segoe UI and Times New Roman are on "
                               "every PC)" +
                               more);
        if (use.drawn_with.empty() || EqualsIgnoringCase(use.drawn_with, name)) continue;
        m_findings.Add(Severity::Note, use.line,
                       "font " + Quote(name) + " is not installed here: it is drawn with " + Quote(use.drawn_with) +
                           (SameMetrics(name, use.drawn_with) ? ", whose letters have the same widths" : "") + more);
    }
}

void LabelChecker::CheckScripts() {
    for (const LabelSpec& label : LabelSpecs()) {
        if (!m_file.Shown(label)) continue;
        const IniKeyEntry* entry = m_file.Key(label.Section(), label.normal->caption);
        if (!entry || !entry->has_value) continue;
        const std::vector<std::string> scripts = platform::ScriptsWithoutFont(m_file.Value(label.Section(), label.normal->caption));
        if (scripts.empty()) continue;
        std::string names;
        for (const std::string& s : scripts) names += (names.empty() ? "" : ", ") + s;
        m_findings.Add(Severity::Warning, static_cast<int>(entry->line),
                       "the caption of " + label.what + " has " + names +
                           " characters that no font installed here has: they show as boxes on this system");
    }
}

}  // namespace automenu::tool
