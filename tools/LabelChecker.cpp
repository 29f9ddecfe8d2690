#include "LabelChecker.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <vector>

#include "base/AsciiCase.h"

namespace automenu::tool {

namespace {

// What fontconfig gives for a family name, as pango asks for it.
std::string MatchedFamily(const std::string& family) {
    struct PatternDeleter {
        void operator()(FcPattern* p) const { FcPatternDestroy(p); }
    };
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    if (!pattern) return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* name = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch || !name) return {};
    return reinterpret_cast<const char*>(name);
}

}  // namespace

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
                it->second.drawn_with = MatchedFamily(name);
                order.push_back(name);
            } else {
                ++it->second.more;
            }
        }
    }
    for (const std::string& name : order) {
        const Use& use = uses[name];
        if (use.drawn_with.empty() || EqualsIgnoringCase(use.drawn_with, name)) continue;
        std::string message =
            "font " + Quote(name) + " is not installed here: it is drawn with " + Quote(use.drawn_with);
        if (use.more > 0) message += " (here and in " + std::to_string(use.more) + " more keys)";
        m_findings.Add(Severity::Note, use.line, message);
    }
}

}  // namespace automenu::tool
