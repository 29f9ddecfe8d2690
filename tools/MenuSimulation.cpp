#include "MenuSimulation.h"

#include <fcntl.h>
#include <unistd.h>

#include <new>

#include "base/Exceptions.h"
#include "config/TCustomIniFile.h"
#include "platform/PlatformAccess.h"
#include "ui/TErrorDialog.h"

namespace automenu::tool {

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& directory) {
    m_previous = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_ok = ::chdir(directory.c_str()) == 0;
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    if (m_previous < 0) return;
    if (m_ok && ::fchdir(m_previous) != 0) {
        // Nothing sensible is left to do; the tool ends soon after.
    }
    ::close(m_previous);
}

MenuSimulation::MenuSimulation(const std::string& directory)
    : m_directory(directory), m_desktop(std::make_unique<platform::HeadlessPlatform>()), m_installed(*m_desktop) {
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
