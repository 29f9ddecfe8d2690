#include "config/KeySchema.h"

#include <array>
#include <optional>
#include <stdexcept>
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

// A row as written: its gate, when it has one, is named by the gate's own
// row. A font row stands for the six keys of one font, from its name on: its
// key is their common start, and each adds a suffix of kFontKeys.
struct Row {
    KeyId id;
    std::string_view section;
    std::string_view key;
    std::optional<ValueKind> kind;
    std::optional<KeyId> gate = std::nullopt;
};

constexpr std::optional<ValueKind> kFont = std::nullopt;

struct FontKey {
    std::string_view suffix;
    ValueKind kind;
};
constexpr FontKey kFontKeys[] = {{" Name", K::FontName},        {" Color", K::ColourName},
                                 {" Style Bold Use", K::Switch},  {" Style Italic Use", K::Switch},
                                 {" Style Underline Use", K::Switch}, {" Size", K::Size}};
static_assert(std::size(kFontKeys) == LabelRows::kFontKeys);

constexpr Row kRows[] = {
    {KeyId::LogoUse, kLogo, "Logo Use", K::Switch},
    {KeyId::LogoPath, kLogo, "Logo Path", K::Directory, KeyId::LogoUse},
    {KeyId::LogoName, kLogo, "Logo Name", K::FileName, KeyId::LogoUse},

    {KeyId::FormHeight, kForm, "Form Height", K::Integer},
    {KeyId::FormWidth, kForm, "Form Width", K::Integer},

    {KeyId::BackgroundUse, kBack, "BackGround Image Use", K::Switch},
    {KeyId::BackgroundPath, kBack, "BackGround Image Path", K::Directory, KeyId::BackgroundUse},
    {KeyId::BackgroundName, kBack, "BackGround Image Name", K::FileName, KeyId::BackgroundUse},
    {KeyId::BackgroundHeight, kBack, "BackGround Image Height", K::Integer, KeyId::BackgroundUse},
    {KeyId::BackgroundWidth, kBack, "BackGround Image Width", K::Integer, KeyId::BackgroundUse},
    {KeyId::BackgroundTop, kBack, "BackGround Image Top", K::Integer, KeyId::BackgroundUse},
    {KeyId::BackgroundLeft, kBack, "BackGround Image Left", K::Integer, KeyId::BackgroundUse},

    {KeyId::TitleUse, kTitle, "Title Message Label Use", K::Switch},
    {KeyId::TitleCaption, kTitle, "Title Message Label Caption", K::Text, KeyId::TitleUse},
    {KeyId::TitleTop, kTitle, "Title Message Label Top", K::Integer, KeyId::TitleUse},
    {KeyId::TitleLeft, kTitle, "Title Message Label Left", K::Integer, KeyId::TitleUse},
    {KeyId::TitleFontName, kTitle, "Title Message Label Font", kFont, KeyId::TitleUse},

    {KeyId::ExitUse, kExit, "Exit Label Use", K::Switch},
    {KeyId::ExitCaption, kExit, "Exit Label Caption", K::Text, KeyId::ExitUse},
    {KeyId::ExitTop, kExit, "Exit Label Top", K::Integer, KeyId::ExitUse},
    {KeyId::ExitLeft, kExit, "Exit Label Left", K::Integer, KeyId::ExitUse},
    {KeyId::ExitFirstFontName, kExit, "Exit Label First Font", kFont, KeyId::ExitUse},
    {KeyId::ExitSecondFontName, kExit, "Exit Label Second Font", kFont, KeyId::ExitUse},

    {KeyId::TextLineCount, kNormalCount, "Normal Message Label Count", K::Integer},

    {KeyId::TextLineCaption, kNormal, "Normal Message Label # Caption", K::Text, KeyId::TextLineCount},
    {KeyId::TextLineTop, kNormal, "Normal Message Label # Font Top", K::Integer, KeyId::TextLineCount},
    {KeyId::TextLineLeft, kNormal, "Normal Message Label # Font Left", K::Integer, KeyId::TextLineCount},
    {KeyId::TextLineFontName, kNormal, "Normal Message Label # Font", kFont, KeyId::TextLineCount},

    {KeyId::EntryCount, kEntryCount, "Installation Message Label Count", K::Integer},

    {KeyId::EntryCaption, kEntry, "Installation Message Label # Caption", K::Text, KeyId::EntryCount},
    {KeyId::EntryTop, kEntry, "Installation Message Label # Font Top", K::Integer, KeyId::EntryCount},
    {KeyId::EntryLeft, kEntry, "Installation Message Label # Font Left", K::Integer, KeyId::EntryCount},
    {KeyId::EntryFirstFontName, kEntry, "Installation Message Label # First Font", kFont, KeyId::EntryCount},
    {KeyId::EntrySecondFontName, kEntry, "Installation Message Label # Second Font", kFont, KeyId::EntryCount},
    // Read for all eight entries at start-up, whatever the count.
    {KeyId::EntryFilePath, kEntry, "Installation Message Label # File Path", K::LaunchTarget},
    // The Linux menu's target instead, read after all of the above.
    {KeyId::EntryLinuxFilePath, kEntry, "Installation Message Label # Linux File Path", K::LinuxTarget},
};

// A key's text, put together as the table compiles.
struct KeyText {
    std::array<char, 64> chars{};
    std::size_t size = 0;
    constexpr void Append(std::string_view s) {
        for (char c : s) chars.at(size++) = c;
    }
    constexpr std::string_view View() const { return {chars.data(), size}; }
};

// The rows with the font rows spread out, one per KeyId.
struct Expanded {
    KeyId id{};
    std::string_view section;
    KeyText key;
    ValueKind kind{};
    std::optional<KeyId> gate;
};

constexpr std::array<Expanded, kKeyRows> Expand() {
    std::array<Expanded, kKeyRows> out{};
    std::size_t i = 0;
    for (const Row& r : kRows) {
        const std::size_t count = r.kind ? 1 : std::size(kFontKeys);
        for (std::size_t j = 0; j < count; ++j, ++i) {
            Expanded& e = out.at(i);
            e.id = static_cast<KeyId>(static_cast<std::size_t>(r.id) + j);
            e.section = r.section;
            e.key.Append(r.key);
            if (!r.kind) e.key.Append(kFontKeys[j].suffix);
            e.kind = r.kind ? *r.kind : kFontKeys[j].kind;
            e.gate = r.gate;
        }
    }
    if (i != out.size()) throw std::logic_error("a KeyId without a row");
    return out;
}

constexpr std::array<Expanded, kKeyRows> kExpanded = Expand();

constexpr bool RowsInKeyIdOrder() {
    for (std::size_t i = 0; i < kExpanded.size(); ++i)
        if (static_cast<std::size_t>(kExpanded[i].id) != i) return false;
    return true;
}
static_assert(RowsInKeyIdOrder(), "one row per KeyId, in KeyId order");

// The rows with each gate's section and key written out.
constexpr std::array<KeyPattern, kKeyRows> kPatterns = [] {
    std::array<KeyPattern, kKeyRows> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Expanded& r = kExpanded[i];
        out[i] = KeyPattern{r.id, r.section, r.key.View(), r.kind, G::None, {}, {}};
        if (!r.gate) continue;
        const Expanded& gate = kExpanded[static_cast<std::size_t>(*r.gate)];
        out[i].gate = gate.kind == K::Switch ? G::Switch : G::Count;
        out[i].gate_section = gate.section;
        out[i].gate_key = gate.key.View();
    }
    return out;
}();

constexpr bool IsLabelRun(const LabelRows& rows) {
    constexpr std::string_view placing[] = {" Caption", " Top", " Left"};
    const std::string_view section = kPatterns[static_cast<std::size_t>(rows.caption)].section;
    auto fits = [&](KeyId id, std::string_view suffix) {
        const KeyPattern& p = kPatterns[static_cast<std::size_t>(id)];
        return p.section == section && p.key.ends_with(suffix);
    };
    for (int i = 0; i < LabelRows::kPlacing; ++i)
        if (!fits(rows.Placing(i), placing[i])) return false;
    for (int i = 0; i < LabelRows::kFontKeys; ++i)
        if (!fits(rows.Font(i), kFontKeys[i].suffix)) return false;
    return true;
}
static_assert(IsLabelRun(kTitleLabel) && IsLabelRun(kTextLineLabel) && IsLabelRun(kExitLabel[0]) &&
                  IsLabelRun(kExitLabel[1]) && IsLabelRun(kEntryLabel[0]) && IsLabelRun(kEntryLabel[1]),
              "a label's keys are consecutive rows of its section");

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
    // Row and number -> index in keys, for KeyOf.
    std::array<std::array<std::size_t, kNumberedLabels + 1>, kKeyRows> by_row{};

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
                    by_row[static_cast<std::size_t>(p.id)][static_cast<std::size_t>(number)] = keys.size();
                    keys.push_back(SchemaKey{section, Fill(p.key, n), p.kind, p.gate, std::string(p.gate_section),
                                             std::string(p.gate_key), number, &p});
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

const KeyPattern& KeyRow(KeyId id) { return kPatterns.at(static_cast<std::size_t>(id)); }

const SchemaKey& KeyOf(KeyId id, int number) {
    const bool fits = IsNumbered(KeyRow(id)) ? number >= 1 && number <= kNumberedLabels : number == 0;
    if (!fits) throw std::out_of_range(std::string(KeyRow(id).key) + " has no number " + std::to_string(number));
    const Tables& t = GetTables();
    return t.keys[t.by_row[static_cast<std::size_t>(id)][static_cast<std::size_t>(number)]];
}

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
    case K::LinuxTarget: return "launch target on Linux";
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
    case K::LinuxTarget: return "the entry's File Path is opened";
    }
    return "";
}

}  // namespace automenu
