#include "MenuSimulation.h"

#include <filesystem>
#include <new>

#include "base/AsciiCase.h"
#include "base/Exceptions.h"
#include "config/TCustomIniFile.h"
#include "platform/HostSystem.h"
#include "platform/PlatformAccess.h"
#include "ui/TErrorDialog.h"

namespace automenu::tool {

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& directory) {
    std::error_code ec;
    m_previous = std::filesystem::current_path(ec);
    if (ec) return;
    std::filesystem::current_path(platform::host::PathOf(directory), ec);
    m_ok = !ec;
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    // When going back fails there is nothing sensible left to do; the tool
    // ends soon after.
    std::error_code unused;
    if (m_ok) std::filesystem::current_path(m_previous, unused);
}

namespace {

// The system's files, with some keys of every profile read as given.
class OverridingFiles final : public platform::IFileSystem {
public:
    OverridingFiles(platform::IFileSystem& files, std::vector<KeyOverride> overrides)
        : m_files(files), m_overrides(std::move(overrides)) {}

    platform::PathStyle Style() const override { return m_files.Style(); }
    std::string CurrentDirectory() override { return m_files.CurrentDirectory(); }
    std::string ProgramPath() override { return m_files.ProgramPath(); }
    platform::FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override {
        return m_files.ReadFile(path, max_bytes);
    }
    std::string EntryName(const std::string& directory, std::string_view name) override {
        return m_files.EntryName(directory, name);
    }
    std::string MediaPath(const std::string& path) override { return m_files.MediaPath(path); }
    std::unique_ptr<platform::IProfile> OpenProfile(const std::string& path) override {
        return std::make_unique<Profile>(m_files.OpenProfile(path), m_overrides);
    }

private:
    class Profile final : public platform::IProfile {
    public:
        Profile(std::unique_ptr<platform::IProfile> profile, const std::vector<KeyOverride>& overrides)
            : m_profile(std::move(profile)), m_overrides(overrides) {}
        std::string ReadString(std::string_view section, std::string_view key,
                               std::string_view default_text) const override {
            for (const KeyOverride& o : m_overrides)
                if (EqualsIgnoringCase(o.section, section) && EqualsIgnoringCase(o.key, key)) return o.value;
            return m_profile->ReadString(section, key, default_text);
        }

    private:
        std::unique_ptr<platform::IProfile> m_profile;
        const std::vector<KeyOverride>& m_overrides;
    };

    platform::IFileSystem& m_files;
    std::vector<KeyOverride> m_overrides;
};

}  // namespace

MenuSimulation::MenuSimulation(const std::string& directory, std::vector<KeyOverride> overrides)
    : m_directory(directory), m_desktop(std::make_unique<platform::HeadlessPlatform>()), m_installed(*m_desktop) {
    if (!overrides.empty()) {
        m_files = std::make_unique<OverridingFiles>(m_desktop->Files(), std::move(overrides));
        m_desktop->UseFiles(m_files.get());
    }
    // The title of the error box is the program's, as for the installed menu.
    m_application = std::make_unique<TApplication>(*m_desktop, "/usr/bin/automenu");
}

MenuSimulation::~MenuSimulation() {
    m_application.reset();
    m_form = nullptr;
    InstallationForm = nullptr;
}

template <typename Action>
std::optional<PassFailure> MenuSimulation::Run(Action action) {
    std::string last_section;
    std::string last_key;
    ScopedLookUpObserver observer([&](std::string_view section, std::string_view key) {
        last_section.assign(section);
        last_key.assign(key);
    });
    const auto failure = [&](const Exception& e) {
        return PassFailure{e.Message(), TApplication::ErrorText(e.Message()), last_section, last_key};
    };
    try {
        action();
    } catch (const Exception& e) {
        return failure(e);
    } catch (const std::bad_alloc&) {
        return failure(OutOfMemoryError());
    }
    return std::nullopt;
}

std::optional<PassFailure> MenuSimulation::StartUp() {
    auto failure = Run([&] {
        m_application->Initialize();
        m_application->CreateForm(InstallationForm);
    });
    m_form = InstallationForm;
    return failure;
}

std::optional<PassFailure> MenuSimulation::MoveOver(TControl* control) {
    if (!control || !control->Visible() || !control->OnMouseMove) return std::nullopt;
    return Run([&] { control->OnMouseMove(control, {}, 0, 0); });
}

std::optional<PassFailure> MenuSimulation::MoveOverEntry(int n) {
    return m_form ? MoveOver(m_form->InstallationMessageLabel(n)) : std::nullopt;
}

std::optional<PassFailure> MenuSimulation::MoveOverExit() {
    return m_form ? MoveOver(m_form->ExitLabel) : std::nullopt;
}

std::optional<PassFailure> MenuSimulation::MoveOverBackground() {
    return m_form ? MoveOver(m_form->BackGroundImage) : std::nullopt;
}

std::optional<PassFailure> MenuSimulation::Paint() {
    std::optional<PassFailure> first;
    for (bool more = true; more;) {
        auto failure = Run([&] { more = m_application->ProcessMessage(); });
        if (failure && !first) first = std::move(failure);
    }
    return first;
}

bool MenuSimulation::SavePng(const std::string& path) {
    if (!m_form || !m_form->HandleAllocated()) return false;
    Paint();
    return m_desktop->SavePng(m_form->Handle(), path);
}

}  // namespace automenu::tool

namespace automenu::tool {

bool MenuSimulation::SaveErrorBoxPng(const PassFailure& failure, const std::string& path) {
    TErrorDialog box(m_application->Title(), failure.box_text);
    box.Show();
    Paint();
    return m_desktop->SavePng(box.Handle(), path);
}

}  // namespace automenu::tool
