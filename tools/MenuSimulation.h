// Runs the real menu window on the headless back end in a directory, the way
// the menu would run there: start-up, then mouse moves over chosen controls.
// Used by `check` to find what stops the menu and by `render` to draw it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TApplication.h"

namespace automenu::tool {

// Where a pass stopped: the exception's message, the text the menu's error
// box shows, and the last key looked up before it.
struct PassFailure {
    std::string message;
    std::string box_text;
    std::string section;
    std::string key;
};

// A key the simulation reads with another value than the file's: check goes
// on past a start-up error with the failing value replaced.
struct KeyOverride {
    std::string section;
    std::string key;
    std::string value;
};

// Makes `directory` the process's current directory for the lifetime of this
// object, so relative picture paths resolve as they do for the menu.
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::string& directory);
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;
    bool Ok() const { return m_ok; }

private:
    std::filesystem::path m_previous;
    bool m_ok = false;
};

class MenuSimulation {
public:
    // The directory must exist; the simulation runs with it as the current
    // directory until it is destroyed.
    explicit MenuSimulation(const std::string& directory, std::vector<KeyOverride> overrides = {});
    ~MenuSimulation();
    MenuSimulation(const MenuSimulation&) = delete;
    MenuSimulation& operator=(const MenuSimulation&) = delete;

    bool InDirectory() const { return m_directory.Ok(); }

    // Creates the menu window as the program does. Nothing on success.
    std::optional<PassFailure> StartUp();
    TInstallationForm* Form() const { return m_form; }

    // A mouse move over entry 1..8, the exit entry or the background picture,
    // as the window would route it to that control. Nothing on success (also
    // when the control has no handler).
    std::optional<PassFailure> MoveOverEntry(int n);
    std::optional<PassFailure> MoveOverExit();
    std::optional<PassFailure> MoveOverBackground();

    // Handles what is pending, paints included, as the menu's loop does: the
    // first error raised (a picture that cannot be drawn, say) is returned,
    // and the window goes on without what failed.
    std::optional<PassFailure> Paint();
    // Paints what is pending and writes the window's inner area as PNG.
    bool SavePng(const std::string& path);
    // Writes the inner area of the error box the menu shows for `failure` as PNG.
    bool SaveErrorBoxPng(const PassFailure& failure, const std::string& path);

    platform::HeadlessPlatform& Desktop() { return *m_desktop; }

private:
    std::optional<PassFailure> MoveOver(TControl* control);
    template <typename Action>
    std::optional<PassFailure> Run(Action action);

    ScopedWorkingDirectory m_directory;
    std::unique_ptr<platform::IFileSystem> m_files;  // the overrides, when there are any
    std::unique_ptr<platform::HeadlessPlatform> m_desktop;
    ScopedPlatform m_installed;
    std::unique_ptr<TApplication> m_application;
    TInstallationForm* m_form = nullptr;
};

}  // namespace automenu::tool
