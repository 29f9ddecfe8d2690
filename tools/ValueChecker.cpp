#include "ValueChecker.h"

#include <algorithm>
#include <set>
#include <vector>

#include "NameSuggestion.h"
#include "base/AsciiCase.h"
#include "config/ValueRules.h"

namespace automenu::tool {

namespace {


std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void ValueChecker::Run() {
    CheckValues();
    CheckGates();
}

void ValueChecker::CheckValues() {
    for (const SchemaKey& key : SchemaKeys()) {
        const IniKeyEntry* entry = m_file.Key(key.section, key.key);
        if (!entry || !entry->has_value) continue;
        const int line = static_cast<int>(entry->line);
        const std::string value = m_file.Value(key.section, key.key);
        switch (key.kind) {
        case ValueKind::Switch: CheckSwitch(key, line, value); break;
        case ValueKind::Directory:
            if (!IsNow(value) && EqualsIgnoringCase(TrimBlanks(value), "NOW"))
                m_findings.Add(Severity::Warning, line,
                               Quote(key.key) + " is " + Quote(value) +
                                   ", not \"NOW\": it is taken as a directory of that name; only \"NOW\" in "
                                   "capitals stands for the menu's own directory");
            break;
        case ValueKind::ColourName: CheckColour(key, line, value); break;
        case ValueKind::Integer:
        case ValueKind::Size: CheckInteger(key, line, value); break;
        default: break;
        }
    }
}

void ValueChecker::CheckSwitch(const SchemaKey& key, int line, const std::string& value) {
    if (IsYes(value)) return;
    static const std::set<std::string> kMeantYes = {"yes", "y", "on", "true", "1"};
    if (!kMeantYes.contains(FoldCase(TrimBlanks(value)))) return;
    m_findings.Add(Severity::Warning, line,
                   Quote(key.key) + " is " + Quote(value) +
                       ", which is off: only \"YES\" in capitals, with nothing around it, switches on");
}

void ValueChecker::CheckColour(const SchemaKey& key, int line, const std::string& value) {
    if (ColourFromName(value)) return;
    std::optional<std::string> suggestion;
    const std::string trimmed(TrimBlanks(value));
    for (const ColourName& c : kColourNames) {
        if (EqualsIgnoringCase(trimmed, c.name) || EqualsIgnoringCase("cl" + trimmed, c.name)) {
            suggestion = std::string(c.name);
            break;
        }
    }
    if (!suggestion) {
        std::vector<std::string_view> names;
        for (const ColourName& c : kColourNames) names.push_back(c.name);
        if (auto near = Nearest(trimmed, names); near && EditDistanceIgnoringCase(trimmed, *near) <= 2)
            suggestion = near;
    }
    std::string message =
        Quote(key.key) + " is " + Quote(value) + ", which names no colour: the colour stays as it was";
    message += suggestion ? "; did you mean " + Quote(*suggestion) + "?"
                          : " (names are case-sensitive: clAqua, clBlack, clBlue, clDkGray, clFuchsia, clGray, "
                            "clGreen, clLime, clLtGray, clMaroon, clNavy, clOlive, clPurple, clRed, clSilver, "
                            "clTeal, clWhite, clYellow)";
    m_findings.Add(Severity::Warning, line, message);
}

void ValueChecker::CheckInteger(const SchemaKey& key, int line, const std::string& value) {
    if (ToInteger(value) || !m_file.GateOpen(key)) return;
    const std::string box = Quote(ConvertMessage(value));
    // The sizes of the hover look are read at mouse moves only: they fail
    // there even when something else stops the menu first.
    for (const LabelSpec& label : LabelSpecs()) {
        if (label.hover && label.hover->size == key.key) {
            m_findings.Add(Severity::Error, line, "every mouse move over " + label.what + " fails with " + box);
            return;
        }
    }
    m_findings.Add(Severity::Error, line, "the menu stops at start-up with " + box);
}

// One note per section: where the first gated key is, how many there are.
void ValueChecker::CheckGates() {
    struct Closed {
        std::string section;
        int line = 0;
        int count = 0;
        std::string reason;
    };
    std::vector<Closed> closed;  // a few sections, in the schema's order
    for (const SchemaKey& key : SchemaKeys()) {
        if (key.gate == GateKind::None) continue;
        const IniKeyEntry* entry = m_file.Key(key.section, key.key);
        if (!entry || m_file.GateOpen(key)) continue;
        const int line = static_cast<int>(entry->line);
        auto it = std::find_if(closed.begin(), closed.end(), [&](const Closed& c) { return c.section == key.section; });
        if (it == closed.end()) it = closed.insert(closed.end(), {key.section, line, 0, m_file.GateReason(key)});
        it->line = std::min(it->line, line);
        ++it->count;
    }
    for (const Closed& c : closed)
        m_findings.Add(Severity::Note, c.line,
                       std::to_string(c.count) + (c.count == 1 ? " key" : " keys") + " of [" + c.section +
                           "] not read: " + c.reason);
}

}  // namespace automenu::tool
