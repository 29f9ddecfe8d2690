// Every section and key of AUTORUN.INF that the menu reads, with the kind of
// its value, the key that gates it and what a missing key yields. Keys that
// are not here are never looked at. This is the one place their names are
// written: the menu, the tool and the tests take them from here.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace automenu {

// LinuxTarget: an entry's target for the Linux menu, which reads it after
// every other key; the Windows menu never does.
enum class ValueKind {
    Switch,
    Directory,
    FileName,
    Integer,
    Text,
    ColourName,
    FontName,
    Size,
    LaunchTarget,
    LinuxTarget
};

enum class GateKind {
    None,    // always read
    Switch,  // read only when the gate's "... Use" switch is "YES"
    Count,   // read for label N only when N <= the gate's count
};

// The rows of the schema by name, in file order: code names a key through
// these, so a misspelt key does not compile. "TextLine" rows are the
// "Normal Message Label #" family, "Entry" rows the "Installation Message
// Label #" family; "First" and "Second" are an entry's two fonts.
enum class KeyId : unsigned char {
    LogoUse, LogoPath, LogoName,
    FormHeight, FormWidth,
    BackgroundUse, BackgroundPath, BackgroundName, BackgroundHeight, BackgroundWidth, BackgroundTop, BackgroundLeft,
    TitleUse, TitleCaption, TitleTop, TitleLeft,
    TitleFontName, TitleFontColor, TitleFontBold, TitleFontItalic, TitleFontUnderline, TitleFontSize,
    ExitUse, ExitCaption, ExitTop, ExitLeft,
    ExitFirstFontName, ExitFirstFontColor, ExitFirstFontBold, ExitFirstFontItalic, ExitFirstFontUnderline,
    ExitFirstFontSize,
    ExitSecondFontName, ExitSecondFontColor, ExitSecondFontBold, ExitSecondFontItalic, ExitSecondFontUnderline,
    ExitSecondFontSize,
    TextLineCount,
    TextLineCaption, TextLineTop, TextLineLeft,
    TextLineFontName, TextLineFontColor, TextLineFontBold, TextLineFontItalic, TextLineFontUnderline,
    TextLineFontSize,
    EntryCount,
    EntryCaption, EntryTop, EntryLeft,
    EntryFirstFontName, EntryFirstFontColor, EntryFirstFontBold, EntryFirstFontItalic, EntryFirstFontUnderline,
    EntryFirstFontSize,
    EntrySecondFontName, EntrySecondFontColor, EntrySecondFontBold, EntrySecondFontItalic, EntrySecondFontUnderline,
    EntrySecondFontSize,
    EntryFilePath,
    EntryLinuxFilePath,
};

inline constexpr int kKeyRows = static_cast<int>(KeyId::EntryLinuxFilePath) + 1;

// One row of the schema. In numbered rows "#" stands for the number 1 to 8,
// in the section name and the key name alike.
struct KeyPattern {
    KeyId id;
    std::string_view section;
    std::string_view key;
    ValueKind kind;
    GateKind gate;
    std::string_view gate_section;
    std::string_view gate_key;
};

// One key of the schema, with the number filled in.
struct SchemaKey {
    std::string section;
    std::string key;
    ValueKind kind;
    GateKind gate;
    std::string gate_section;
    std::string gate_key;
    int number;  // 1..8 in the numbered families, else 0
    const KeyPattern* pattern;
};

enum class NameMatch { Exact, IgnoreCase };

inline constexpr int kNumberedLabels = 8;

// The row that many rows after the given one.
constexpr KeyId RowAfter(KeyId id, int steps) { return static_cast<KeyId>(static_cast<int>(id) + steps); }

// The keys of one label as the menu reads them: caption, top and left, then
// one font's name, colour, bold, italic, underline and size. Each run is
// consecutive rows of the table, which the table checks as it compiles.
struct LabelRows {
    KeyId caption;
    KeyId font;

    static constexpr int kPlacing = 3;
    static constexpr int kFontKeys = 6;
    constexpr KeyId Placing(int i) const { return RowAfter(caption, i); }
    constexpr KeyId Font(int i) const { return RowAfter(font, i); }
};

inline constexpr LabelRows kTitleLabel{KeyId::TitleCaption, KeyId::TitleFontName};
inline constexpr LabelRows kTextLineLabel{KeyId::TextLineCaption, KeyId::TextLineFontName};
// The exit entry and the entries, with their first font and with their second.
inline constexpr LabelRows kExitLabel[2] = {{KeyId::ExitCaption, KeyId::ExitFirstFontName},
                                            {KeyId::ExitCaption, KeyId::ExitSecondFontName}};
inline constexpr LabelRows kEntryLabel[2] = {{KeyId::EntryCaption, KeyId::EntryFirstFontName},
                                             {KeyId::EntryCaption, KeyId::EntrySecondFontName}};

std::span<const KeyPattern> KeyPatterns();      // 66 rows, in file order
const KeyPattern& KeyRow(KeyId id);
// The row's key with the number filled in: number is 1..8 for a numbered
// row and 0 for any other; anything else throws std::out_of_range.
const SchemaKey& KeyOf(KeyId id, int number = 0);
const std::vector<std::string>& SchemaSections();  // 23 sections, in file order
const std::vector<SchemaKey>& SchemaKeys();        // 248 keys, in file order

const SchemaKey* FindSchemaKey(std::string_view section, std::string_view key, NameMatch match = NameMatch::Exact);
bool IsKnownSection(std::string_view section, NameMatch match = NameMatch::Exact);
bool IsKnownKey(std::string_view section, std::string_view key, NameMatch match = NameMatch::Exact);

std::string_view ValueKindName(ValueKind kind);
// What a missing key of that kind yields (it reads as "0").
std::string_view MissingKeyYields(ValueKind kind);

}  // namespace automenu
