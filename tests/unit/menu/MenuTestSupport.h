// The menu window on the headless desktop, started from a folder of its own,
// with the lookups a pass is expected to make written out key by key.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/TCustomIniFile.h"
#include "menu/TInstallationForm.h"
#include "support/FullAutorun.h"
#include "support/HeadlessFixture.h"
#include "support/MenuFolder.h"

namespace automenu::testing {

using Lookup = std::pair<std::string, std::string>;
using Lookups = std::vector<Lookup>;

// Records every (section, key) looked up while it lives.
class LookupRecorder {
public:
    LookupRecorder()
        : m_observer([this](std::string_view section, std::string_view key) {
              seen.emplace_back(std::string(section), std::string(key));
          }) {}
    Lookups Take() { return std::exchange(seen, {}); }
    Lookups seen;

private:
    ScopedLookUpObserver m_observer;
};

// --- The lookups each pass makes, as the key tables list them ---

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

// The lookups up to and including the first one of the key.
inline Lookups PrefixThrough(const Lookups& all, const std::string& key) {
    Lookups out;
    for (const auto& l : all) {
        out.push_back(l);
        if (l.second == key) return out;
    }
    ADD_FAILURE() << key << " is never looked up";
    return out;
}

// --- The running menu ---

class MenuTest : public HeadlessTest {
public:
    ~MenuTest() override { InstallationForm = nullptr; }

    // Writes the file (with the pictures it names) and creates the window.
    void Start(const AutorunText& text = AutorunText::Full()) {
        Write(text);
        app->CreateForm(InstallationForm);
        Pump();
    }
    // A fresh application and window, for tables that start the menu per row.
    void Restart(const AutorunText& text = AutorunText::Full()) {
        app.reset();
        InstallationForm = nullptr;
        app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
        Start(text);
    }
    void Write(const AutorunText& text) { WriteFullMenu(folder.Path(), text); }

    // Handles queued messages as the loop does: an exception from a handler
    // goes to the error display and the next message is taken.
    void Pump() {
        for (;;) {
            try {
                if (!app->ProcessMessage()) return;
            } catch (...) {
                app->HandleException();
            }
        }
    }

    TInstallationForm& Form() { return *InstallationForm; }
    platform::WindowId Window() { return Form().Handle(); }
    TLabel& Entry(int n) { return *Form().InstallationMessageLabel(n); }

    // A point inside the control, near its top-left corner.
    static TPoint Inside(const TControl& c) { return {c.Left() + 2, c.Top() + 2}; }

    void MoveTo(TPoint p) {
        desktop.MoveMouse(Window(), p.x, p.y);
        Pump();
    }
    void MoveOver(const TControl& c) { MoveTo(Inside(c)); }
    void Click(const TControl& c) {
        const TPoint p = Inside(c);
        desktop.PressLeft(Window(), p.x, p.y);
        desktop.ReleaseLeft(Window(), p.x, p.y);
        Pump();
    }

    MenuFolder folder;
};

}  // namespace automenu::testing
