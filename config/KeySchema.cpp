#include "config/KeySchema.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "platform/AsciiCase.h"

namespace automenu {

namespace {

using K = ValueKind;
using G = GateKind;
using platform::EqualsIgnoringCase;
using platform::FoldCase;

constexpr std::string_view kLogo = "Logo Setup";
constexpr std::string_view kForm = "Installation Form Size Setup";
constexpr std::string_view kBack = "BackGround Image File Setup";
constexpr std::string_view kTitle = "Title Message Label Setup";
constexpr std::string_view kExit = "Exit Label Setup";
constexpr std::string_view kNormalCount = "Normal Message Label Count Setup";
constexpr std::string_view kNormal = "Normal Message Label # Font Setup";
constexpr std::string_view kEntryCount = "Installation Message Label Count Setup";
constexpr std::string_view kEntry = "Installation Message Label # Font Setup";

// A row as written: its gate, when it has one, is named by the gate's own row.
struct Row {
    KeyId id;
    std::string_view section;
    std::string_view key;
    ValueKind kind;
    std::optional<KeyId> gate = std::nullopt;
};

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
    {KeyId::TitleFontName, kTitle, "Title Message Label Font Name", K::FontName, KeyId::TitleUse},
    {KeyId::TitleFontColor, kTitle, "Title Message Label Font Color", K::ColourName, KeyId::TitleUse},
    {KeyId::TitleFontBold, kTitle, "Title Message Label Font Style Bold Use", K::Switch, KeyId::TitleUse},
    {KeyId::TitleFontItalic, kTitle, "Title Message Label Font Style Italic Use", K::Switch, KeyId::TitleUse},
    {KeyId::TitleFontUnderline, kTitle, "Title Message Label Font Style Underline Use", K::Switch, KeyId::TitleUse},
    {KeyId::TitleFontSize, kTitle, "Title Message Label Font Size", K::Size, KeyId::TitleUse},

    {KeyId::ExitUse, kExit, "Exit Label Use", K::Switch},
    {KeyId::ExitCaption, kExit, "Exit Label Caption", K::Text, KeyId::ExitUse},
    {KeyId::ExitTop, kExit, "Exit Label Top", K::Integer, KeyId::ExitUse},
    {KeyId::ExitLeft, kExit, "Exit Label Left", K::Integer, KeyId::ExitUse},
    {KeyId::ExitFirstFontName, kExit, "Exit Label First Font Name", K::FontName, KeyId::ExitUse},
    {KeyId::ExitFirstFontColor, kExit, "Exit Label First Font Color", K::ColourName, KeyId::ExitUse},
    {KeyId::ExitFirstFontBold, kExit, "Exit Label First Font Style Bold Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitFirstFontItalic, kExit, "Exit Label First Font Style Italic Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitFirstFontUnderline, kExit, "Exit Label First Font Style Underline Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitFirstFontSize, kExit, "Exit Label First Font Size", K::Size, KeyId::ExitUse},
    {KeyId::ExitSecondFontName, kExit, "Exit Label Second Font Name", K::FontName, KeyId::ExitUse},
    {KeyId::ExitSecondFontColor, kExit, "Exit Label Second Font Color", K::ColourName, KeyId::ExitUse},
    {KeyId::ExitSecondFontBold, kExit, "Exit Label Second Font Style Bold Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitSecondFontItalic, kExit, "Exit Label Second Font Style Italic Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitSecondFontUnderline, kExit, "Exit Label Second Font Style Underline Use", K::Switch, KeyId::ExitUse},
    {KeyId::ExitSecondFontSize, kExit, "Exit Label Second Font Size", K::Size, KeyId::ExitUse},

    {KeyId::TextLineCount, kNormalCount, "Normal Message Label Count", K::Integer},

    {KeyId::TextLineCaption, kNormal, "Normal Message Label # Caption", K::Text, KeyId::TextLineCount},
    {KeyId::TextLineTop, kNormal, "Normal Message Label # Font Top", K::Integer, KeyId::TextLineCount},
    {KeyId::TextLineLeft, kNormal, "Normal Message Label # Font Left", K::Integer, KeyId::TextLineCount},
    {KeyId::TextLineFontName, kNormal, "Normal Message Label # Font Name", K::FontName, KeyId::TextLineCount},
    {KeyId::TextLineFontColor, kNormal, "Normal Message Label # Font Color", K::ColourName, KeyId::TextLineCount},
    {KeyId::TextLineFontBold, kNormal, "Normal Message Label # Font Style Bold Use", K::Switch, KeyId::TextLineCount},
    {KeyId::TextLineFontItalic, kNormal, "Normal Message Label # Font Style Italic Use", K::Switch, KeyId::TextLineCount},
    {KeyId::TextLineFontUnderline, kNormal, "Normal Message Label # Font Style Underline Use", K::Switch, KeyId::TextLineCount},
    {KeyId::TextLineFontSize, kNormal, "Normal Message Label # Font Size", K::Size, KeyId::TextLineCount},

    {KeyId::EntryCount, kEntryCount, "Installation Message Label Count", K::Integer},

    {KeyId::EntryCaption, kEntry, "Installation Message Label # Caption", K::Text, KeyId::EntryCount},
    {KeyId::EntryTop, kEntry, "Installation Message Label # Font Top", K::Integer, KeyId::EntryCount},
    {KeyId::EntryLeft, kEntry, "Installation Message Label # Font Left", K::Integer, KeyId::EntryCount},
    {KeyId::EntryFirstFontName, kEntry, "Installation Message Label # First Font Name", K::FontName, KeyId::EntryCount},
    {KeyId::EntryFirstFontColor, kEntry, "Installation Message Label # First Font Color", K::ColourName, KeyId::EntryCount},
    {KeyId::EntryFirstFontBold, kEntry, "Installation Message Label # First Font Style Bold Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntryFirstFontItalic, kEntry, "Installation Message Label # First Font Style Italic Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntryFirstFontUnderline, kEntry, "Installation Message Label # First Font Style Underline Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntryFirstFontSize, kEntry, "Installation Message Label # First Font Size", K::Size, KeyId::EntryCount},
    {KeyId::EntrySecondFontName, kEntry, "Installation Message Label # Second Font Name", K::FontName, KeyId::EntryCount},
    {KeyId::EntrySecondFontColor, kEntry, "Installation Message Label # Second Font Color", K::ColourName, KeyId::EntryCount},
    {KeyId::EntrySecondFontBold, kEntry, "Installation Message Label # Second Font Style Bold Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntrySecondFontItalic, kEntry, "Installation Message Label # Second Font Style Italic Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntrySecondFontUnderline, kEntry, "Installation Message Label # Second Font Style Underline Use", K::Switch, KeyId::EntryCount},
    {KeyId::EntrySecondFontSize, kEntry, "Installation Message Label # Second Font Size", K::Size, KeyId::EntryCount},
    // Read for all eight entries at start-up, whatever the count.
    {KeyId::EntryFilePath, kEntry, "Installation Message Label # File Path", K::LaunchTarget},
};

constexpr bool RowsInKeyIdOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (static_cast<std::size_t>(kRows[i].id) != i) return false;
    return std::size(kRows) == static_cast<std::size_t>(kKeyRows);
}
static_assert(RowsInKeyIdOrder(), "one row per KeyId, in KeyId order");

// The rows with each gate's section and key written out.
constexpr std::array<KeyPattern, kKeyRows> kPatterns = [] {
    std::array<KeyPattern, kKeyRows> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Row& r = kRows[i];
        out[i] = KeyPattern{r.id, r.section, r.key, r.kind, G::None, {}, {}};
        if (!r.gate) continue;
        const Row& gate = kRows[static_cast<std::size_t>(*r.gate)];
        out[i].gate = gate.kind == K::Switch ? G::Switch : G::Count;
        out[i].gateSection = gate.section;
        out[i].gateKey = gate.key;
    }
    return out;
}();

constexpr bool IsLabelRun(const LabelRows& rows) {
    constexpr std::string_view placing[] = {" Caption", " Top", " Left"};
    constexpr std::string_view font[] = {" Name", " Color", " Style Bold Use", " Style Italic Use",
                                         " Style Underline Use", " Size"};
    const std::string_view section = kPatterns[static_cast<std::size_t>(rows.caption)].section;
    auto fits = [&](KeyId id, std::string_view suffix) {
        const KeyPattern& p = kPatterns[static_cast<std::size_t>(id)];
        return p.section == section && p.key.ends_with(suffix);
    };
    for (int i = 0; i < LabelRows::kPlacing; ++i)
        if (!fits(rows.Placing(i), placing[i])) return false;
    for (int i = 0; i < LabelRows::kFontKeys; ++i)
        if (!fits(rows.Font(i), font[i])) return false;
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

const KeyPattern& KeyRow(KeyId id) { return kPatterns.at(static_cast<std::size_t>(id)); }

bool IsNumbered(KeyId id) { return IsNumbered(KeyRow(id)); }

const SchemaKey& KeyOf(KeyId id, int number) {
    const bool fits = IsNumbered(id) ? number >= 1 && number <= kNumberedLabels : number == 0;
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
