#include "CheckCommand.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "IniScanner.h"
#include "MenuSimulation.h"
#include "ToolCommand.h"
#include "base/Exceptions.h"
#include "config/ConfigurationPaths.h"
#include "config/KeySchema.h"
#include "config/ProfileReader.h"
#include "config/TCustomIniFile.h"
#include "config/ValueRules.h"
#include "menu/SettingsPass.h"
#include "platform/posix/PathResolver.h"
#include "platform/posix/PosixFiles.h"
#include "ui/TIcon.h"
#include "ui/TPicture.h"

namespace automenu::tool {

namespace {

// ---------------------------------------------------------------------------
// The file as written: sections and keys with their lines.

struct FileSection {
    std::string name;
    int line = 0;
    bool first = true;  // only the first section of a name is searched
    std::vector<const IniRecord*> keys;
};

class IniModel {
public:
    explicit IniModel(const IniScan& scan) {
        // The lines before any header: this section exists even without
        // lines, so a header named "" is always a repeat.
        m_sections.push_back(FileSection{"", 0, true, {}});
        m_first.emplace("", 0);
        for (const IniRecord& r : scan.records) {
            if (r.kind == IniRecord::Kind::Section) {
                FileSection s{r.name, r.line, true, {}};
                s.first = !m_first.contains(FoldCase(r.name));
                if (s.first) m_first.emplace(FoldCase(r.name), m_sections.size());
                m_sections.push_back(std::move(s));
            } else {
                m_sections.back().keys.push_back(&r);
            }
        }
    }

    const std::vector<FileSection>& Sections() const { return m_sections; }

    const FileSection* Section(std::string_view name) const {
        auto it = m_first.find(FoldCase(name));
        return it == m_first.end() ? nullptr : &m_sections[it->second];
    }

    // The line the reader answers a lookup from (with or without "=").
    const IniRecord* Key(std::string_view section, std::string_view key) const {
        const FileSection* s = Section(section);
        if (!s) return nullptr;
        const KeyIndex& index = IndexOf(*s);
        const auto it = index.find(key);
        return it == index.end() ? nullptr : it->second;
    }

    int SectionLine(std::string_view section) const {
        const FileSection* s = Section(section);
        return s ? s->line : 0;
    }

    // The key's line, else its section's, else 0.
    int LineOf(std::string_view section, std::string_view key) const {
        if (const IniRecord* r = Key(section, key)) return r->line;
        return SectionLine(section);
    }

private:
    struct FoldedHash {
        std::size_t operator()(std::string_view name) const {
            std::size_t h = 14695981039346656037ull;
            for (const char c : name) h = (h ^ static_cast<unsigned char>(FoldAsciiCase(c))) * 1099511628211ull;
            return h;
        }
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoringCase(a, b); }
    };
    // The first line of each key of a section, built when the section is
    // first asked for: the checks ask only for the menu's own sections, and a
    // section may hold a million lines.
    using KeyIndex = std::unordered_map<std::string_view, const IniRecord*, FoldedHash, FoldedEqual>;

    const KeyIndex& IndexOf(const FileSection& s) const {
        auto [it, inserted] = m_keyIndex.try_emplace(&s);
        if (inserted)
            for (const IniRecord* r : s.keys) it->second.try_emplace(r->name, r);
        return it->second;
    }

    std::vector<FileSection> m_sections;
    std::map<std::string, std::size_t> m_first;
    mutable std::unordered_map<const FileSection*, KeyIndex> m_keyIndex;
};

// ---------------------------------------------------------------------------
// Small helpers.

std::string Quote(std::string_view s) { return "\"" + std::string(s) + "\""; }

bool IsCommentLike(std::string_view name) { return !name.empty() && (name.front() == ';' || name.front() == '#'); }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<std::int32_t> ToInteger(std::string_view text) {
    try {
        return SettingToInteger(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::string ConvertMessage(std::string_view text) {
    try {
        SettingToInteger(text);
    } catch (const EConvertError& e) {
        return TApplication::ErrorText(e.Message());
    }
    return {};
}

template <typename Names>
std::optional<std::string> Nearest(std::string_view wrong, const Names& candidates) {
    std::optional<std::string> best;
    std::size_t best_distance = std::max<std::size_t>(3, wrong.size() / 3) + 1;
    for (const auto& c : candidates) {
        // The distance is at least the difference in length: a name of a
        // megabyte is not compared character by character.
        const std::size_t length = std::string_view(c).size();
        if ((wrong.size() > length ? wrong.size() - length : length - wrong.size()) >= best_distance) continue;
        const std::size_t d = EditDistanceIgnoringCase(wrong, c);
        if (d < best_distance) {
            best_distance = d;
            best = std::string(c);
        }
    }
    return best;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

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

// ---------------------------------------------------------------------------
// The labels of the window and the keys that configure them.

struct LabelSpec {
    std::string what;  // "entry 3", "the exit entry", ...
    const LabelKeys* normal;
    const LabelKeys* hover;  // null: no hover appearance
    const SchemaKey* gate;   // the caption's key: shown when its gate is open
    bool clickable = false;
    int number = 0;  // 1..8 for numbered labels

    const std::string& Section() const { return normal->section; }
};

const std::vector<LabelSpec>& LabelSpecs() {
    static const std::vector<LabelSpec> labels = [] {
        std::vector<LabelSpec> all;
        auto add = [&](std::string what, const LabelKeys& normal, const LabelKeys* hover, int number) {
            const SchemaKey* gate = FindSchemaKey(normal.section, normal.caption);
            all.push_back({std::move(what), &normal, hover, gate, hover != nullptr, number});
        };
        add("the title", TitleKeys(), nullptr, 0);
        add("the exit entry", ExitKeys(Look::Normal), &ExitKeys(Look::Hover), 0);
        for (int n = 1; n <= kNumberedLabels; ++n) add("text line " + std::to_string(n), TextLineKeys(n), nullptr, n);
        for (int n = 1; n <= kNumberedLabels; ++n)
            add("entry " + std::to_string(n), EntryKeys(n, Look::Normal), &EntryKeys(n, Look::Hover), n);
        return all;
    }();
    return labels;
}

// The keys' common prefix, "... First Font" and the like.
std::string_view AppearancePrefix(const LabelKeys& keys) {
    return std::string_view(keys.name).substr(0, keys.name.size() - std::string_view(" Name").size());
}

TControl* ControlOf(const TInstallationForm& form, const LabelSpec& label) {
    if (label.number == 0) return label.clickable ? form.ExitLabel : form.TitleMessageLabel;
    return label.clickable ? form.InstallationMessageLabel(label.number) : form.NormalMessageLabel(label.number);
}

std::string RectText(const TRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// ---------------------------------------------------------------------------

class Checker {
public:
    Checker(std::string directory, const IniScan& scan, ProfileReader reader)
        : m_directory(std::move(directory)), m_model(scan), m_reader(std::move(reader)) {}

    std::vector<Finding> Run() {
        CheckLayout();
        CheckValues();
        CheckGates();
        CheckLabels();
        CheckLaunchTargets();
        CheckFonts();
        Simulate();
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(m_findings);
    }

private:
    void Add(Severity severity, int line, std::string message) {
        std::string seen = std::to_string(static_cast<int>(severity)) + ':' + std::to_string(line) + ':' + message;
        if (!m_added.insert(std::move(seen)).second) return;
        m_findings.push_back({severity, line, std::move(message)});
    }

    // What the menu's lookup gives, "0" when missing.
    std::string Value(std::string_view section, std::string_view key) const {
        return m_reader.GetString(section, key, "0");
    }
    bool Present(std::string_view section, std::string_view key) const { return m_reader.Find(section, key).has_value(); }

    // Whether a key of the schema is looked up by some pass, given the gates.
    bool GateOpen(const SchemaKey& key) const {
        switch (key.gate) {
        case GateKind::None: return true;
        case GateKind::Switch: return IsYes(Value(key.gateSection, key.gateKey));
        case GateKind::Count: {
            const auto count = ToInteger(Value(key.gateSection, key.gateKey));
            return count && key.number <= *count;
        }
        }
        return false;
    }

    std::string GateReason(const SchemaKey& key) const {
        const std::string value = Value(key.gateSection, key.gateKey);
        const bool present = Present(key.gateSection, key.gateKey);
        if (key.gate == GateKind::Switch)
            return present ? Quote(key.gateKey) + " is " + Quote(value) + ", not \"YES\""
                           : Quote(key.gateKey) + " is missing (off)";
        const auto count = ToInteger(value);
        if (!count) return Quote(key.gateKey) + " is not a number";
        return "the label is hidden while " + Quote(key.gateKey) + " is " + std::to_string(*count) +
               (present ? "" : " (missing)");
    }

    // --- sections and keys the menu never reads -----------------------------
    // A file may repeat one mistake on a million lines: each kind of finding
    // below is listed for its first kMaxListed lines, and a note at the first
    // line left out counts the rest.
    enum class LayoutKind { EmptySection, RepeatedSection, UnknownSection, KeyBeforeSection, UnknownKey, RepeatedKey,
                            KeyWithoutValue, Count };
    static constexpr int kMaxListed = 200;
    struct Unlisted {
        int count = 0;
        int first_line = 0;
    };

    void CheckLayout() {
        std::array<Unlisted, static_cast<std::size_t>(LayoutKind::Count)> unlisted{};
        std::array<int, static_cast<std::size_t>(LayoutKind::Count)> listed{};
        // Whether a finding of this kind at this line is still listed.
        auto listing = [&](LayoutKind kind, int line) {
            const auto k = static_cast<std::size_t>(kind);
            if (listed[k] < kMaxListed) return ++listed[k], true;
            if (unlisted[k].count++ == 0) unlisted[k].first_line = line;
            return false;
        };
        std::vector<std::string_view> section_names(SchemaSections().begin(), SchemaSections().end());
        for (const FileSection& s : m_model.Sections()) {
            const bool leading = s.line == 0;
            const bool known = !leading && IsKnownSection(s.name, NameMatch::IgnoreCase);
            if (!leading && s.name.empty()) {
                if (listing(LayoutKind::EmptySection, s.line))
                    Add(Severity::Warning, s.line,
                        "section [] has an empty name, which names the lines before the first header: "
                        "the menu never reads its keys");
                continue;
            }
            if (!leading && !s.first) {
                if (listing(LayoutKind::RepeatedSection, s.line))
                    Add(Severity::Warning, s.line,
                        "section [" + s.name + "] appears again: only the first one, at line " +
                            std::to_string(m_model.SectionLine(s.name)) + ", is read");
                continue;
            }
            if (!leading && !known) {
                if (!listing(LayoutKind::UnknownSection, s.line)) continue;
                std::string message = "unknown section [" + s.name + "]: the menu never reads it";
                if (auto near = Nearest(s.name, section_names)) message += "; did you mean [" + *near + "]?";
                Add(Severity::Warning, s.line, message);
                continue;
            }
            std::unordered_map<std::string, int> seen;
            for (const IniRecord* r : s.keys) {
                if (IsCommentLike(r->name)) continue;  // harmless: no key of the menu starts so
                if (leading) {
                    if (!listing(LayoutKind::KeyBeforeSection, r->line)) continue;
                    std::string message = "key " + Quote(r->name) + " stands before any section: the menu never reads it";
                    if (const SchemaKey* k = FindAnySection(r->name)) message += "; it belongs in [" + k->section + "]";
                    Add(Severity::Warning, r->line, message);
                    continue;
                }
                const SchemaKey* key = FindSchemaKey(s.name, r->name, NameMatch::IgnoreCase);
                if (!key) {
                    if (!listing(LayoutKind::UnknownKey, r->line)) continue;
                    std::string message = "unknown key " + Quote(r->name) + " in [" + s.name + "]: the menu never reads it";
                    if (const SchemaKey* other = FindAnySection(r->name)) {
                        message += "; it belongs in [" + other->section + "]";
                    } else if (auto near = Nearest(r->name, KeysOfSection(s.name))) {
                        message += "; did you mean " + Quote(*near) + "?";
                    }
                    Add(Severity::Warning, r->line, message);
                    continue;
                }
                auto [it, inserted] = seen.emplace(FoldCase(r->name), r->line);
                if (!inserted) {
                    if (listing(LayoutKind::RepeatedKey, r->line))
                        Add(Severity::Warning, r->line,
                            "key " + Quote(r->name) + " appears again: only line " + std::to_string(it->second) +
                                " is read");
                    continue;
                }
                if (r->kind == IniRecord::Kind::KeyWithoutValue && listing(LayoutKind::KeyWithoutValue, r->line))
                    Add(Severity::Warning, r->line,
                        "key " + Quote(r->name) + " has no \"=\": the menu reads it as missing (\"0\")");
            }
        }
        static constexpr const char* kUnlistedWhat[] = {
            "sections with an empty name", "repeated sections", "unknown sections", "keys before any section",
            "unknown keys",                "repeated keys",     "keys without \"=\""};
        for (std::size_t k = 0; k < unlisted.size(); ++k)
            if (unlisted[k].count > 0)
                Add(Severity::Note, unlisted[k].first_line,
                    "and " + std::to_string(unlisted[k].count) + " more " + kUnlistedWhat[k] +
                        " from here on, not listed one by one");
    }

    static const SchemaKey* FindAnySection(std::string_view key) {
        for (const SchemaKey& k : SchemaKeys())
            if (EqualsIgnoringCase(k.key, key)) return &k;
        return nullptr;
    }
    static std::vector<std::string> KeysOfSection(std::string_view section) {
        std::vector<std::string> keys;
        for (const SchemaKey& k : SchemaKeys())
            if (EqualsIgnoringCase(k.section, section)) keys.push_back(k.key);
        return keys;
    }

    // --- values ---------------------------------------------------------------
    void CheckValues() {
        for (const SchemaKey& key : SchemaKeys()) {
            const IniRecord* r = m_model.Key(key.section, key.key);
            if (!r || r->kind != IniRecord::Kind::Key) continue;
            const std::string value = Value(key.section, key.key);
            switch (key.kind) {
            case ValueKind::Switch: CheckSwitch(key, *r, value); break;
            case ValueKind::Directory:
                if (!IsNow(value) && EqualsIgnoringCase(TrimBlanks(value), "NOW"))
                    Add(Severity::Warning, r->line,
                        Quote(key.key) + " is " + Quote(value) +
                            ", not \"NOW\": it is taken as a directory of that name; only \"NOW\" in capitals "
                            "stands for the menu's own directory");
                break;
            case ValueKind::ColourName: CheckColour(key, *r, value); break;
            case ValueKind::Integer:
            case ValueKind::Size: CheckInteger(key, *r, value); break;
            default: break;
            }
        }
    }

    void CheckSwitch(const SchemaKey& key, const IniRecord& r, const std::string& value) {
        if (IsYes(value)) return;
        static const std::set<std::string> kMeantYes = {"yes", "y", "on", "true", "1"};
        if (!kMeantYes.contains(FoldCase(TrimBlanks(value)))) return;
        Add(Severity::Warning, r.line,
            Quote(key.key) + " is " + Quote(value) + ", which is off: only \"YES\" in capitals, with nothing "
            "around it, switches on");
    }

    void CheckColour(const SchemaKey& key, const IniRecord& r, const std::string& value) {
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
        std::string message = Quote(key.key) + " is " + Quote(value) + ", which names no colour: the colour stays as it was";
        message += suggestion ? "; did you mean " + Quote(*suggestion) + "?"
                              : " (names are case-sensitive: clAqua, clBlack, clBlue, clDkGray, clFuchsia, clGray, "
                                "clGreen, clLime, clLtGray, clMaroon, clNavy, clOlive, clPurple, clRed, clSilver, "
                                "clTeal, clWhite, clYellow)";
        Add(Severity::Warning, r.line, message);
    }

    void CheckInteger(const SchemaKey& key, const IniRecord& r, const std::string& value) {
        if (ToInteger(value) || !GateOpen(key)) return;
        const std::string box = Quote(ConvertMessage(value));
        // The sizes of the hover look are read at mouse moves only: they fail
        // there even when something else stops the menu first.
        for (const LabelSpec& label : LabelSpecs()) {
            if (label.hover && label.hover->size == key.key) {
                Add(Severity::Error, r.line, "every mouse move over " + label.what + " fails with " + box);
                return;
            }
        }
        Add(Severity::Error, r.line, "the menu stops at start-up with " + box);
    }

    // --- keys behind a closed gate --------------------------------------------
    void CheckGates() {
        // One note per section: where the first gated key is, how many there are.
        struct Closed {
            int line = 0;
            int count = 0;
            std::string reason;
        };
        std::map<std::string, Closed> closed;
        std::vector<std::string> order;
        for (const SchemaKey& key : SchemaKeys()) {
            if (key.gate == GateKind::None) continue;
            const IniRecord* r = m_model.Key(key.section, key.key);
            if (!r || GateOpen(key)) continue;
            auto [it, inserted] = closed.emplace(key.section, Closed{r->line, 0, GateReason(key)});
            if (inserted) order.push_back(key.section);
            it->second.line = std::min(it->second.line, r->line);
            ++it->second.count;
        }
        for (const std::string& section : order) {
            const Closed& c = closed[section];
            Add(Severity::Note, c.line,
                std::to_string(c.count) + (c.count == 1 ? " key" : " keys") + " of [" + section +
                    "] not read: " + c.reason);
        }
    }

    // --- labels that are shown ------------------------------------------------
    bool Shown(const LabelSpec& label) const { return GateOpen(*label.gate); }

    void CheckLabels() {
        for (const char* key : {"Form Height", "Form Width"}) {
            if (Present("Installation Form Size Setup", key)) continue;
            Add(Severity::Warning, m_model.SectionLine("Installation Form Size Setup"),
                "no " + Quote(key) + ": the window's outer " + (key[5] == 'H' ? "height" : "width") +
                    " reads as 0, so the window gets the smallest one a captioned window can have");
        }
        for (const LabelSpec& label : LabelSpecs()) {
            if (!Shown(label)) continue;
            const FileSection* section = m_model.Section(label.Section());
            if (!section || section->keys.empty()) {
                Add(Severity::Warning, section ? section->line : m_model.LineOf(label.gate->gateSection, label.gate->gateKey),
                    label.what + " is shown but [" + label.Section() +
                        "] has no keys: it shows the caption \"0\" at (0,0) in the font \"0\"");
                continue;
            }
            const int line = section->line;
            if (!Present(label.Section(), label.normal->caption))
                Add(Severity::Warning, line,
                    label.what + " is shown without " + Quote(label.normal->caption) + ": its caption is \"0\"");
            CheckAppearance(label, *label.normal, line, false);
            if (label.hover) CheckAppearance(label, *label.hover, line, true);
        }
    }

    void CheckAppearance(const LabelSpec& label, const LabelKeys& keys, int line, bool hover) {
        const std::string_view section = label.Section();
        int present = 0;
        for (const std::string* key : {&keys.name, &keys.colour, &keys.bold, &keys.italic, &keys.underline, &keys.size})
            present += Present(section, *key);
        if (present == 0) {
            Add(Severity::Warning, line,
                label.what + " has no " + Quote(AppearancePrefix(keys)) + " keys: " +
                    (hover ? "hovering gives it" : "it gets") + " the font name \"0\" and the size 0");
            return;
        }
        const std::string gives = hover ? ": hovering gives it " : ": it gets ";
        if (!Present(section, keys.name))
            Add(Severity::Warning, line, label.what + " has no " + Quote(keys.name) + gives + "the font name \"0\"");
        if (!Present(section, keys.size))
            Add(Severity::Warning, line, label.what + " has no " + Quote(keys.size) + gives + "the size 0");
    }

    // --- launch targets -------------------------------------------------------
    void CheckLaunchTargets() {
        for (const LabelSpec& label : LabelSpecs()) {
            if (!label.clickable || label.number == 0 || !Shown(label)) continue;
            const std::string& key = EntryFilePathKey(label.number);
            const IniRecord* r = m_model.Key(label.Section(), key);
            const int line = r ? r->line : m_model.SectionLine(label.Section());
            if (!Present(label.Section(), key)) {
                Add(Severity::Warning, line, label.what + " has no " + Quote(key) + ": a click opens \"0\"");
                continue;
            }
            const std::string value = Value(label.Section(), key);
            if (value.empty()) {
                Add(Severity::Warning, line, label.what + " opens the menu's own folder (" + Quote(key) + " is empty)");
                continue;
            }
            // The target as the menu stores it, found as a click finds it.
            if (!PathExists(MediaPath(LaunchFilePath(m_directory, value))))
                Add(Severity::Warning, line, "launch target " + Quote(value) + " of " + label.what + " does not exist");
        }
    }

    // --- fonts ----------------------------------------------------------------
    // One note per face name, at its first use.
    void CheckFonts() {
        struct Use {
            int line = 0;
            int more = 0;
            std::string drawnWith;
        };
        std::map<std::string, Use> uses;
        std::vector<std::string> order;
        for (const LabelSpec& label : LabelSpecs()) {
            if (!Shown(label)) continue;
            for (const LabelKeys* keys : {label.normal, label.hover}) {
                if (!keys) continue;
                const IniRecord* r = m_model.Key(label.Section(), keys->name);
                if (!r || r->kind != IniRecord::Kind::Key) continue;
                const std::string name = Value(label.Section(), keys->name);
                if (name.empty() || EqualsIgnoringCase(name, "default")) continue;
                auto [it, inserted] = uses.emplace(name, Use{r->line, 0, {}});
                if (inserted) {
                    it->second.drawnWith = MatchedFamily(name);
                    order.push_back(name);
                } else {
                    ++it->second.more;
                }
            }
        }
        for (const std::string& name : order) {
            const Use& use = uses[name];
            if (use.drawnWith.empty() || EqualsIgnoringCase(use.drawnWith, name)) continue;
            std::string message = "font " + Quote(name) + " is not installed here: it is drawn with " + Quote(use.drawnWith);
            if (use.more > 0) message += " (here and in " + std::to_string(use.more) + " more keys)";
            Add(Severity::Note, use.line, message);
        }
    }

    // --- the passes themselves ------------------------------------------------
    int LineOfFailure(const PassFailure& f) const {
        if (f.section.empty()) return 0;
        return m_model.LineOf(f.section, f.key);
    }

    void Simulate() {
        MenuSimulation menu(m_directory);
        if (!menu.InDirectory()) {
            Add(Severity::Error, 0, "cannot enter the directory " + Quote(m_directory));
            return;
        }
        ProbePictures();
        if (auto failure = menu.StartUp()) {
            Add(Severity::Error, LineOfFailure(*failure), "the menu stops at start-up with " + Quote(failure->boxText));
            return;
        }
        const TInstallationForm& form = *menu.Form();
        CheckGeometry(form);
        // Drawing the window builds what loading only checks (an icon's image).
        if (auto failure = menu.Paint())
            Add(Severity::Error, m_model.LineOf("BackGround Image File Setup", "BackGround Image Name"),
                "the menu cannot draw its window: it shows " + Quote(failure->boxText) + " and leaves the picture out");

        std::vector<std::pair<const LabelSpec*, TRect>> hovered;
        for (const LabelSpec& label : LabelSpecs()) {
            if (!label.clickable) continue;
            TControl* control = ControlOf(form, label);
            if (!control->Visible()) continue;
            auto failure = label.number ? menu.MoveOverEntry(label.number) : menu.MoveOverExit();
            if (failure)
                Add(Severity::Error, LineOfFailure(*failure),
                    "every mouse move over " + label.what + " fails with " + Quote(failure->boxText));
            if (!failure && control->Visible()) hovered.emplace_back(&label, control->BoundsRect());
        }
        for (const auto& [label, rect] : hovered) CheckInside(form, *label, rect, " when hovered");
        if (form.BackGroundImage->Visible()) {
            if (auto failure = menu.MoveOverBackground())
                Add(Severity::Error, LineOfFailure(*failure),
                    "every mouse move over the background picture fails with " + Quote(failure->boxText));
        }
    }

    void ProbePictures() {
        struct Picture {
            const char* section;
            const char* use;
            const char* path;
            const char* name;
            bool icon;
        };
        const Picture pictures[] = {
            {"Logo Setup", "Logo Use", "Logo Path", "Logo Name", true},
            {"BackGround Image File Setup", "BackGround Image Use", "BackGround Image Path", "BackGround Image Name",
             false},
        };
        for (const Picture& p : pictures) {
            if (!IsYes(Value(p.section, p.use))) continue;
            struct Reader final : TCustomIniFile {
                explicit Reader(ProfileReader& r) : TCustomIniFile("AUTORUN.INF"), m_r(r) {}
                std::string ReadString(std::string_view s, std::string_view k, std::string_view d) override {
                    return m_r.GetString(s, k, d);
                }
                ProfileReader& m_r;
            } ini(m_reader);
            std::string buffer;
            const std::string path = MediaPath(PictureFilePath(ini, p.section, p.path, p.name, buffer));
            const int line = m_model.LineOf(p.section, p.name);
            try {
                if (p.icon) {
                    TIcon icon;
                    icon.LoadFromFile(path);
                } else {
                    TPicture picture;
                    picture.LoadFromFile(path);
                }
            } catch (const Exception& e) {
                Add(Severity::Error, line,
                    "the menu stops at start-up with " + Quote(TApplication::ErrorText(e.Message())));
            }
        }
    }

    void CheckInside(const TInstallationForm& form, const LabelSpec& label, const TRect& r, const char* when) {
        const TRect inner{0, 0, form.ClientWidth(), form.ClientHeight()};
        if (r.left >= inner.left && r.top >= inner.top && r.right <= inner.right && r.bottom <= inner.bottom) return;
        Add(Severity::Warning, m_model.LineOf(label.Section(), label.normal->top),
            label.what + std::string(when) + " at " + RectText(r) + " reaches outside the window's inner area (" +
                std::to_string(inner.right) + " x " + std::to_string(inner.bottom) + ")");
    }

    void CheckGeometry(const TInstallationForm& form) {
        const TRect inner{0, 0, form.ClientWidth(), form.ClientHeight()};
        if (form.BackGroundImage->Visible()) {
            const TRect r = form.BackGroundImage->BoundsRect();
            if (r.left < 0 || r.top < 0 || r.right > inner.right || r.bottom > inner.bottom)
                Add(Severity::Warning, m_model.LineOf("BackGround Image File Setup", "BackGround Image Height"),
                    "the background picture at " + RectText(r) + " reaches outside the window's inner area (" +
                        std::to_string(inner.right) + " x " + std::to_string(inner.bottom) + ")");
        }
        std::vector<std::pair<const LabelSpec*, TRect>> entries;
        for (const LabelSpec& label : LabelSpecs()) {
            TControl* control = ControlOf(form, label);
            if (!control->Visible()) continue;
            CheckInside(form, label, control->BoundsRect(), "");
            if (label.clickable) entries.emplace_back(&label, control->BoundsRect());
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::size_t j = i + 1; j < entries.size(); ++j)
                if (entries[i].second.Intersects(entries[j].second))
                    Add(Severity::Warning, m_model.LineOf(entries[j].first->Section(), entries[j].first->normal->top),
                        entries[i].first->what + " and " + entries[j].first->what +
                            " overlap: moving from one onto the other leaves both in their hover look");
        if (!entries.empty() && !form.BackGroundImage->Visible())
            Add(Severity::Warning, m_model.LineOf("BackGround Image File Setup", "BackGround Image Use"),
                "no background picture is shown: only mouse moves over it return entries to their normal look, "
                "so a hovered entry keeps its hover look");
    }

    std::string m_directory;
    IniModel m_model;
    ProfileReader m_reader;
    std::vector<Finding> m_findings;
    std::unordered_set<std::string> m_added;  // severity, line and message of each finding
};

std::string JsonString(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* SeverityName(Severity s) {
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "";
}

std::string Plural(int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

std::size_t EditDistanceIgnoringCase(std::string_view a, std::string_view b) {
    const std::string x = FoldCase(a);
    const std::string y = FoldCase(b);
    std::vector<std::size_t> row(y.size() + 1);
    for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

int CheckReport::Count(Severity severity) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [&](const Finding& f) { return f.severity == severity; }));
}

CheckReport CheckDirectory(const std::string& directory) {
    CheckReport report;
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(directory, ec).lexically_normal().string();
    if (ec) absolute = directory;
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();

    const std::optional<std::string> name =
        platform::FindEntryIgnoringCase(absolute, kConfigurationFileName);
    const std::string file_name = name ? *name : std::string(kConfigurationFileName);
    const std::string shown_dir = directory == "." ? "" : (directory.ends_with('/') ? directory : directory + "/");
    report.file = shown_dir + file_name;
    const std::string path = absolute + "/" + file_name;
    // Read as the menu reads it: a longer file is cut at the profile limit.
    std::string bytes;
    const platform::FileReadStatus status =
        name ? platform::PosixReadFile(path, ProfileReader::kMaxFileBytes, bytes)
             : platform::FileReadStatus::CannotOpen;
    if (status == platform::FileReadStatus::CannotOpen) {
        std::error_code unused;
        report.findings.push_back({Severity::Error, 0,
                                   name && std::filesystem::is_regular_file(path, unused)
                                       ? "cannot read the file"
                                       : "no AUTORUN.INF here: the menu would show the smallest captioned window, with nothing in it"});
        return report;
    }
    const IniScan scan = ScanIniText(bytes);
    Checker checker(absolute, scan, ProfileReader::FromBytes(std::move(bytes)));
    report.findings = checker.Run();
    return report;
}

std::string FormatText(const CheckReport& report) {
    std::string out;
    for (const Finding& f : report.findings) {
        out += report.file;
        if (f.line > 0) {
            out += ':';
            out += std::to_string(f.line);
        }
        out += ": ";
        out += SeverityName(f.severity);
        out += ": " + f.message + "\n";
    }
    out += Plural(report.Count(Severity::Error), "error") + ", " + Plural(report.Count(Severity::Warning), "warning") +
           "\n";
    return out;
}

std::string FormatJson(const CheckReport& report) {
    std::string out = "{\n  \"file\": " + JsonString(report.file) + ",\n  \"findings\": [";
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"line\": " + std::to_string(f.line) + ", \"severity\": " + JsonString(SeverityName(f.severity)) +
               ", \"message\": " + JsonString(f.message) + "}";
    }
    out += report.findings.empty() ? "],\n" : "\n  ],\n";
    out += "  \"errors\": " + std::to_string(report.Count(Severity::Error)) +
           ",\n  \"warnings\": " + std::to_string(report.Count(Severity::Warning)) +
           ",\n  \"notes\": " + std::to_string(report.Count(Severity::Note)) + "\n}\n";
    return out;
}

int RunCheck(CommandArguments args) {
    std::string directory = ".";
    bool json = false;
    bool have_directory = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size() && (args[i + 1] == "json" || args[i + 1] == "text")) {
            json = args[++i] == "json";
        } else if (args[i] == "--format=json" || args[i] == "--format=text") {
            json = args[i] == "--format=json";
        } else if (!args[i].starts_with("-") && !have_directory) {
            directory = std::string(args[i]);
            have_directory = true;
        } else {
            std::fputs("usage: automenu-tool check [DIR] [--format text|json]\n", stderr);
            return kUsageError;
        }
    }
    const CheckReport report = CheckDirectory(directory);
    const std::string out = json ? FormatJson(report) : FormatText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return report.Count(Severity::Error) > 0 ? 1 : 0;
}

}  // namespace automenu::tool
