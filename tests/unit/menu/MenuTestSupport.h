// The menu window on the headless desktop, started from a folder of its own,
// and the lookups a pass is expected to make.
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
#include "support/PassLookups.h"

namespace automenu::testing {

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

// The lookups up to and including the first one of the key.
inline Lookups PrefixThrough(const Lookups& all, KeyId id, int number = 0) {
    const Lookup key = LookupOf(id, number);
    Lookups out;
    for (const auto& l : all) {
        out.push_back(l);
        if (l == key) return out;
    }
    ADD_FAILURE() << key.second << " is never looked up";
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

// A menu driven by a script of named events, each followed by the looks the
// labels should then have, spelt as the fixture's States() spells them.
class ScriptedMenuTest : public MenuTest {
public:
    struct Step {
        const char* event;
        const char* states;
    };
    virtual void Do(const std::string& event) = 0;
    virtual std::string States() = 0;

    void Play(const std::vector<Step>& steps) {
        std::string trail;
        for (const Step& step : steps) {
            trail += std::string(" ") + step.event;
            Do(step.event);
            EXPECT_EQ(States(), step.states) << "after" << trail;
        }
    }
};

}  // namespace automenu::testing
