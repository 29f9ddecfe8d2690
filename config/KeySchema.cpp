#include "config/KeySchema.h"

#include <unordered_map>

#include "base/AsciiCase.h"

namespace automenu {

namespace {

using K = ValueKind;
using G = GateKind;

constexpr std::string_view kLogo = "Logo Setup";
constexpr std::string_view kForm = "Installation Form Size Setup";
constexpr std::string_view kBack = "BackGround Image File Setup";
constexpr std::string_view kTitle = "Title Message Label Setup";
constexpr std::string_view kExit = "Exit Label Setup";
constexpr std::string_view kNormalCount = "Normal Message Label Count Setup";
constexpr std::string_view kNormal = "Normal Message Label # Font Setup";
constexpr std::string_view kEntryCount = "Installation Message Label Count Setup";
constexpr std::string_view kEntry = "Installation Message Label # Font Setup";

constexpr std::string_view kNormalCountKey = "Normal Message Label Count";
constexpr std::string_view kEntryCountKey = "Installation Message Label Count";

constexpr KeyPattern kPatterns[] = {
    {kLogo, "Logo Use", K::Switch, G::None, {}, {}},
    {kLogo, "Logo Path", K::Directory, G::Switch, kLogo, "Logo Use"},
    {kLogo, "Logo Name", K::FileName, G::Switch, kLogo, "Logo Use"},

    {kForm, "Form Height", K::Integer, G::None, {}, {}},
    {kForm, "Form Width", K::Integer, G::None, {}, {}},

    {kBack, "BackGround Image Use", K::Switch, G::None, {}, {}},
    {kBack, "BackGround Image Path", K::Directory, G::Switch, kBack, "BackGround Image Use"},
    {kBack, "BackGround Image Name", K::FileName, G::Switch, kBack, "BackGround Image Use"},
    {kBack, "BackGround Image Height", K::Integer, G::Switch, kBack, "BackGround Image Use"},
    {kBack, "BackGround Image Width", K::Integer, G::Switch, kBack, "BackGround Image Use"},
    {kBack, "BackGround Image Top", K::Integer, G::Switch, kBack, "BackGround Image Use"},
    {kBack, "BackGround Image Left", K::Integer, G::Switch, kBack, "BackGround Image Use"},

    {kTitle, "Title Message Label Use", K::Switch, G::None, {}, {}},
    {kTitle, "Title Message Label Caption", K::Text, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Top", K::Integer, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Left", K::Integer, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Name", K::FontName, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Color", K::ColourName, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Style Bold Use", K::Switch, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Style Italic Use", K::Switch, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Style Underline Use", K::Switch, G::Switch, kTitle, "Title Message Label Use"},
    {kTitle, "Title Message Label Font Size", K::Size, G::Switch, kTitle, "Title Message Label Use"},

    {kExit, "Exit Label Use", K::Switch, G::None, {}, {}},
    {kExit, "Exit Label Caption", K::Text, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Top", K::Integer, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Left", K::Integer, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Name", K::FontName, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Color", K::ColourName, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Style Bold Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Style Italic Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Style Underline Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label First Font Size", K::Size, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Name", K::FontName, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Color", K::ColourName, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Style Bold Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Style Italic Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Style Underline Use", K::Switch, G::Switch, kExit, "Exit Label Use"},
    {kExit, "Exit Label Second Font Size", K::Size, G::Switch, kExit, "Exit Label Use"},

    {kNormalCount, kNormalCountKey, K::Integer, G::None, {}, {}},

    {kNormal, "Normal Message Label # Caption", K::Text, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Top", K::Integer, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Left", K::Integer, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Name", K::FontName, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Color", K::ColourName, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Style Bold Use", K::Switch, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Style Italic Use", K::Switch, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Style Underline Use", K::Switch, G::Count, kNormalCount, kNormalCountKey},
    {kNormal, "Normal Message Label # Font Size", K::Size, G::Count, kNormalCount, kNormalCountKey},

    {kEntryCount, kEntryCountKey, K::Integer, G::None, {}, {}},

    {kEntry, "Installation Message Label # Caption", K::Text, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Font Top", K::Integer, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Font Left", K::Integer, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Name", K::FontName, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Color", K::ColourName, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Style Bold Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Style Italic Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Style Underline Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # First Font Size", K::Size, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Name", K::FontName, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Color", K::ColourName, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Style Bold Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Style Italic Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Style Underline Use", K::Switch, G::Count, kEntryCount, kEntryCountKey},
    {kEntry, "Installation Message Label # Second Font Size", K::Size, G::Count, kEntryCount, kEntryCountKey},
    // Read for all eight entries at start-up, whatever the count.
    {kEntry, "Installation Message Label # File Path", K::LaunchTarget, G::None, {}, {}},
};

bool IsNumbered(const KeyPattern& p) { return p.section.find('#') != std::string_view::npos; }

std::string Fill(std::string_view pattern, int number) {
    std::string out(pattern);
    const std::size_t at = out.find('#');
    if (at != std::string::npos) out[at] = static_cast<char>('0' + number);
    return out;
}

struct Tables {
    std::vector<std::string> sections;
    std::vector<SchemaKey> keys;
    std::unordered_map<std::string, std::size_t> exact;   // section "\n" key -> index in keys
    std::unordered_map<std::string, std::size_t> folded;  // the same, case-folded

    Tables() {
        // Sections in file order: the fixed ones, then each numbered family
        // expanded right after its count section.
        auto add_section = [&](const std::string& name) {
            for (const std::string& s : sections)
                if (s == name) return;
            sections.push_back(name);
        };
        for (const KeyPattern& p : kPatterns) {
            if (!IsNumbered(p)) {
                add_section(std::string(p.section));
                continue;
            }
            for (int n = 1; n <= kNumberedLabels; ++n) add_section(Fill(p.section, n));
        }
        // Keys in file order: section by section.
        for (const std::string& section : sections) {
            for (const KeyPattern& p : kPatterns) {
                const int count = IsNumbered(p) ? kNumberedLabels : 1;
                for (int n = 1; n <= count; ++n) {
                    const int number = IsNumbered(p) ? n : 0;
                    if (Fill(p.section, n) != section) continue;
                    keys.push_back(SchemaKey{section, Fill(p.key, n), p.kind, p.gate, std::string(p.gateSection),
                                             std::string(p.gateKey), number, &p});
                }
            }
        }
        for (std::size_t i = 0; i < keys.size(); ++i) {
            exact.emplace(keys[i].section + '\n' + keys[i].key, i);
            folded.emplace(FoldCase(keys[i].section + '\n' + keys[i].key), i);
        }
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

}  // namespace

std::span<const KeyPattern> KeyPatterns() { return kPatterns; }

const std::vector<std::string>& SchemaSections() { return GetTables().sections; }

const std::vector<SchemaKey>& SchemaKeys() { return GetTables().keys; }

const SchemaKey* FindSchemaKey(std::string_view section, std::string_view key, NameMatch match) {
    const Tables& t = GetTables();
    std::string joined(section);
    joined.push_back('\n');
    joined.append(key);
    const auto& map = match == NameMatch::Exact ? t.exact : t.folded;
    const auto it = map.find(match == NameMatch::Exact ? joined : FoldCase(joined));
    return it == map.end() ? nullptr : &t.keys[it->second];
}

bool IsKnownSection(std::string_view section, NameMatch match) {
    for (const std::string& s : GetTables().sections) {
        if (match == NameMatch::Exact ? s == section : EqualsIgnoringCase(s, section)) return true;
    }
    return false;
}

bool IsKnownKey(std::string_view section, std::string_view key, NameMatch match) {
    return FindSchemaKey(section, key, match) != nullptr;
}

std::string_view ValueKindName(ValueKind kind) {
    switch (kind) {
    case K::Switch: return "switch";
    case K::Directory: return "directory";
    case K::FileName: return "file name";
    case K::Integer: return "integer";
    case K::Text: return "text";
    case K::ColourName: return "colour name";
    case K::FontName: return "font name";
    case K::Size: return "size";
    case K::LaunchTarget: return "launch target";
    }
    return "";
}

std::string_view MissingKeyYields(ValueKind kind) {
    switch (kind) {
    case K::Switch: return "off";
    case K::Directory: return "the directory \"0\"";
    case K::FileName: return "the file name \"0\"";
    case K::Integer:
    case K::Size: return "0";
    case K::Text: return "the caption \"0\"";
    case K::ColourName: return "no change of colour";
    case K::FontName: return "the font name \"0\"";
    case K::LaunchTarget: return "the current directory followed by a separator and \"0\"";
    }
    return "";
}

}  // namespace automenu
