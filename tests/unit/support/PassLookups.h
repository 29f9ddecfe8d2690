// The lookups each pass of the menu makes, key by key: what the tests expect
// and what the benchmarks replay. The names come from the key table by row;
// which rows, and in what order, is written out here, apart from the menu's
// own code, so that a pass reading a wrong key or out of order shows.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "config/KeySchema.h"

namespace automenu::testing {

using Lookup = std::pair<std::string, std::string>;
using Lookups = std::vector<Lookup>;

inline Lookup LookupOf(KeyId id, int number = 0) {
    const SchemaKey& k = KeyOf(id, number);
    return {k.section, k.key};
}

inline void Add(Lookups& out, std::initializer_list<KeyId> rows, int number = 0) {
    for (KeyId id : rows) out.push_back(LookupOf(id, number));
}

enum class Font { First, Second };

// Entry n's refresh with the count as read.
inline void AddEntryRefresh(Lookups& out, int n, Font font, int count) {
    Add(out, {KeyId::EntryCount});
    if (count < n) return;
    Add(out, {KeyId::EntryCaption, KeyId::EntryTop, KeyId::EntryLeft}, n);
    if (font == Font::First)
        Add(out, {KeyId::EntryFirstFontName, KeyId::EntryFirstFontColor, KeyId::EntryFirstFontBold,
                  KeyId::EntryFirstFontItalic, KeyId::EntryFirstFontUnderline, KeyId::EntryFirstFontSize}, n);
    else
        Add(out, {KeyId::EntrySecondFontName, KeyId::EntrySecondFontColor, KeyId::EntrySecondFontBold,
                  KeyId::EntrySecondFontItalic, KeyId::EntrySecondFontUnderline, KeyId::EntrySecondFontSize}, n);
}

inline void AddExitRefresh(Lookups& out, Font font, bool use) {
    Add(out, {KeyId::ExitUse});
    if (!use) return;
    Add(out, {KeyId::ExitCaption, KeyId::ExitTop, KeyId::ExitLeft});
    if (font == Font::First)
        Add(out, {KeyId::ExitFirstFontName, KeyId::ExitFirstFontColor, KeyId::ExitFirstFontBold,
                  KeyId::ExitFirstFontItalic, KeyId::ExitFirstFontUnderline, KeyId::ExitFirstFontSize});
    else
        Add(out, {KeyId::ExitSecondFontName, KeyId::ExitSecondFontColor, KeyId::ExitSecondFontBold,
                  KeyId::ExitSecondFontItalic, KeyId::ExitSecondFontUnderline, KeyId::ExitSecondFontSize});
}

struct Gates {
    bool logo = true;
    bool background = true;
    bool title = true;
    bool exit = true;
    int lines = 8;
    int entries = 8;
    bool linux_targets = true;  // the Linux menu's own targets, after the rest
};

inline Lookups StartupLookups(const Gates& g) {
    Lookups out;
    Add(out, {KeyId::LogoUse});
    if (g.logo) Add(out, {KeyId::LogoPath, KeyId::LogoName});
    Add(out, {KeyId::FormHeight, KeyId::FormWidth, KeyId::BackgroundUse});
    if (g.background)
        Add(out, {KeyId::BackgroundPath, KeyId::BackgroundName, KeyId::BackgroundHeight, KeyId::BackgroundWidth,
                  KeyId::BackgroundTop, KeyId::BackgroundLeft});
    Add(out, {KeyId::TitleUse});
    if (g.title)
        Add(out, {KeyId::TitleCaption, KeyId::TitleTop, KeyId::TitleLeft, KeyId::TitleFontName,
                  KeyId::TitleFontColor, KeyId::TitleFontBold, KeyId::TitleFontItalic, KeyId::TitleFontUnderline,
                  KeyId::TitleFontSize});
    AddExitRefresh(out, Font::First, g.exit);
    for (int n = 1; n <= 8; ++n) {
        Add(out, {KeyId::TextLineCount});
        if (g.lines < n) continue;
        Add(out, {KeyId::TextLineCaption, KeyId::TextLineTop, KeyId::TextLineLeft, KeyId::TextLineFontName,
                  KeyId::TextLineFontColor, KeyId::TextLineFontBold, KeyId::TextLineFontItalic,
                  KeyId::TextLineFontUnderline, KeyId::TextLineFontSize}, n);
    }
    for (int n = 1; n <= 8; ++n) AddEntryRefresh(out, n, Font::First, g.entries);
    for (int n = 1; n <= 8; ++n) Add(out, {KeyId::EntryFilePath}, n);
    if (g.linux_targets)
        for (int n = 1; n <= 8; ++n) Add(out, {KeyId::EntryLinuxFilePath}, n);
    return out;
}

inline Lookups BackgroundLookups(int count, bool exit) {
    Lookups out;
    for (int n = 1; n <= 8; ++n) AddEntryRefresh(out, n, Font::First, count);
    AddExitRefresh(out, Font::First, exit);
    return out;
}

}  // namespace automenu::testing
