// The lookups each pass of the menu makes, key by key, as the key tables
// list them: what the tests expect and what the benchmarks replay.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace automenu::testing {

using Lookup = std::pair<std::string, std::string>;
using Lookups = std::vector<Lookup>;

inline void AddAppearance(Lookups& out, const std::string& section, const std::string& prefix) {
    for (const char* suffix : {"Name", "Color", "Style Bold Use", "Style Italic Use", "Style Underline Use", "Size"})
        out.emplace_back(section, prefix + " " + suffix);
}

inline std::string Numbered(const char* family, int n) { return std::string(family) + " " + std::to_string(n); }

// Entry n's refresh with the count as read; state is "First" or "Second".
inline void AddEntryRefresh(Lookups& out, int n, const std::string& state, int count) {
    out.emplace_back("Installation Message Label Count Setup", "Installation Message Label Count");
    if (count < n) return;
    const std::string label = Numbered("Installation Message Label", n);
    const std::string section = label + " Font Setup";
    for (const char* key : {" Caption", " Font Top", " Font Left"}) out.emplace_back(section, label + key);
    AddAppearance(out, section, label + " " + state + " Font");
}

inline void AddExitRefresh(Lookups& out, const std::string& state, bool use) {
    out.emplace_back("Exit Label Setup", "Exit Label Use");
    if (!use) return;
    for (const char* key : {"Exit Label Caption", "Exit Label Top", "Exit Label Left"})
        out.emplace_back("Exit Label Setup", key);
    AddAppearance(out, "Exit Label Setup", "Exit Label " + state + " Font");
}

struct Gates {
    bool logo = true;
    bool background = true;
    bool title = true;
    bool exit = true;
    int lines = 8;
    int entries = 8;
};

inline Lookups StartupLookups(const Gates& g) {
    Lookups out;
    out.emplace_back("Logo Setup", "Logo Use");
    if (g.logo)
        for (const char* key : {"Logo Path", "Logo Name"}) out.emplace_back("Logo Setup", key);
    for (const char* key : {"Form Height", "Form Width"}) out.emplace_back("Installation Form Size Setup", key);
    out.emplace_back("BackGround Image File Setup", "BackGround Image Use");
    if (g.background)
        for (const char* key : {"BackGround Image Path", "BackGround Image Name", "BackGround Image Height",
                                "BackGround Image Width", "BackGround Image Top", "BackGround Image Left"})
            out.emplace_back("BackGround Image File Setup", key);
    out.emplace_back("Title Message Label Setup", "Title Message Label Use");
    if (g.title) {
        for (const char* key : {"Title Message Label Caption", "Title Message Label Top", "Title Message Label Left"})
            out.emplace_back("Title Message Label Setup", key);
        AddAppearance(out, "Title Message Label Setup", "Title Message Label Font");
    }
    AddExitRefresh(out, "First", g.exit);
    for (int n = 1; n <= 8; ++n) {
        out.emplace_back("Normal Message Label Count Setup", "Normal Message Label Count");
        if (g.lines < n) continue;
        const std::string label = Numbered("Normal Message Label", n);
        const std::string section = label + " Font Setup";
        for (const char* key : {" Caption", " Font Top", " Font Left"}) out.emplace_back(section, label + key);
        AddAppearance(out, section, label + " Font");
    }
    for (int n = 1; n <= 8; ++n) AddEntryRefresh(out, n, "First", g.entries);
    for (int n = 1; n <= 8; ++n) {
        const std::string label = Numbered("Installation Message Label", n);
        out.emplace_back(label + " Font Setup", label + " File Path");
    }
    return out;
}

inline Lookups BackgroundLookups(int count, bool exit) {
    Lookups out;
    for (int n = 1; n <= 8; ++n) AddEntryRefresh(out, n, "First", count);
    AddExitRefresh(out, "First", exit);
    return out;
}

}  // namespace automenu::testing
