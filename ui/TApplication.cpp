#include "ui/TApplication.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "formats/TextDecoding.h"
#include "platform/PlatformAccess.h"
#include "platform/TextCase.h"
#include "ui/TErrorDialog.h"

namespace automenu {

namespace {
TApplication* g_application = nullptr;

std::string DemangledName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}
}  // namespace

TApplication& Application() { return *g_application; }
bool HasApplication() { return g_application != nullptr; }

TApplication::TApplication(platform::IPlatform& platform, const std::string& program_path)
    : m_platform(platform), m_title(TitleFromProgramPath(program_path)), m_hints(std::make_unique<THintController>()) {
    g_application = this;
    m_platform.SetPaintHandler([this](platform::WindowId w) { PaintNow(w); });
}

TApplication::~TApplication() {
    m_platform.SetPaintHandler(nullptr);
    // Program end: hints off (which destroys the hint window), then the forms.
    m_hints->SetEnabled(false);
    DestroyForms();
    m_hints.reset();
    if (g_application == this) g_application = nullptr;
}

std::string TApplication::TitleFromProgramPath(const std::string& path) {
    // On characters: "\" and "." are never part of a character in UTF-8.
    std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.find('.');
    const bool has_extension = dot != std::string::npos;
    if (has_extension) name.resize(dot);
    if (name.empty()) return name;
    std::size_t first = 1;
    while (first < name.size() && (static_cast<unsigned char>(name[first]) & 0xC0) == 0x80) ++first;
    // Linux program files carry no extension and are named in lower case by
    // convention; their title starts with a capital like a Windows one.
    const std::string head = has_extension ? name.substr(0, first) : platform::UpperCase(name.substr(0, first));
    name = head + platform::LowerCase(std::string_view(name).substr(first));
    return name.substr(0, Utf8PrefixOfUtf16Length(name, 255));
}

std::string TApplication::ErrorText(const std::string& message) {
    if (message.empty()) return message;
    // The last whole character: step back over UTF-8 continuation bytes.
    std::size_t last = message.size() - 1;
    while (last > 0 && (static_cast<unsigned char>(message[last]) & 0xC0) == 0x80) --last;
    if (static_cast<unsigned char>(message[last]) > '.') return message + ".";
    return message;
}

void TApplication::RegisterWindow(platform::WindowId id, TCustomForm& form) { m_windows.emplace_back(id, &form); }

void TApplication::UnregisterWindow(platform::WindowId id) {
    std::erase_if(m_windows, [id](const auto& entry) { return entry.first == id; });
}

TCustomForm* TApplication::FormOfWindow(platform::WindowId id) const {
    for (const auto& [wid, form] : m_windows)
        if (wid == id) return form;
    return nullptr;
}

void TApplication::DestroyForm(TCustomForm& form) {
    if (m_main_form == &form) m_main_form = nullptr;
    auto it = std::find_if(m_forms.begin(), m_forms.end(), [&](const auto& f) { return f.get() == &form; });
    if (it == m_forms.end()) return;
    std::unique_ptr<TCustomForm> doomed = std::move(*it);
    m_forms.erase(it);
    doomed.reset();
}

void TApplication::DestroyForms() {
    m_main_form = nullptr;
    // Last created first, as an owner frees its components.
    while (!m_forms.empty()) {
        std::unique_ptr<TCustomForm> doomed = std::move(m_forms.back());
        m_forms.pop_back();
        doomed.reset();
    }
}

void TApplication::Terminate() { m_platform.PostQuitMessage(0); }

void TApplication::Dispatch(const platform::Message& msg) {
    if (TCustomForm* form = FormOfWindow(msg.window)) {
        form->WndProc(msg);
    } else if (!m_hints->HandleWindowMessage(msg) && msg.kind == platform::MessageKind::Paint) {
        // Nobody paints this window: validate it so the paint request ends.
        TRect area;
        m_platform.BeginPaint(msg.window, area);
    }
}

void TApplication::PaintNow(platform::WindowId w) {
    platform::Message msg;
    msg.kind = platform::MessageKind::Paint;
    msg.window = w;
    try {
        Dispatch(msg);
    } catch (...) {
        HandleException();
    }
}

bool TApplication::ProcessMessage() {
    platform::Message msg;
    if (!m_platform.PeekMessage(msg)) return false;
    if (msg.kind == platform::MessageKind::Quit) {
        m_terminated = true;
        return true;
    }
    // A click whose target the desktop could not open: an error of the
    // event, shown as every other one.
    if (msg.kind == platform::MessageKind::OpenFailed) throw EOSError(platform::OpenFailureText(msg.open_failure));
    m_hints->FilterMessage(msg);
    Dispatch(msg);
    return true;
}

void TApplication::Idle() { m_hints->Idle(); }

void TApplication::HandleMessage() {
    try {
        if (!ProcessMessage()) {
            Idle();
            m_platform.WaitMessage();
        }
    } catch (...) {
        HandleException();
    }
}

void TApplication::Run() {
    if (m_main_form) {
        m_main_form->Show();
        while (!m_terminated) HandleMessage();
    }
}

void TApplication::ShowErrorBox(const std::string& caption, const std::string& text) {
    m_hints->Cancel();
    const platform::WindowId active = m_platform.ActiveWindow();
    // The program's windows take no input while the box is up.
    std::vector<platform::WindowId> disabled;
    for (const auto& [id, form] : m_windows) {
        if (form->Visible() && form->Enabled()) {
            form->SetEnabled(false);
            disabled.push_back(id);
        }
    }
    if (!m_platform.ErrorBox(caption, text)) {
        // No box of the window system's own: ours, in this process, so that
        // it goes when the program goes.
        try {
            TErrorDialog box(caption, text);
            box.ShowModal();
        } catch (const Exception&) {
            // No window for the box: the platform has reported the text
            // another way (standard error), and nothing more can be done.
            m_error_box_failed = true;
        }
    }
    for (platform::WindowId id : disabled)
        if (TCustomForm* form = FormOfWindow(id)) form->SetEnabled(true);
    // Else the system activates some other window, and hints stay off until
    // the user clicks the menu.
    if (FormOfWindow(active)) m_platform.ActivateWindow(active);
}

void TApplication::ShowException(const Exception& e) { ShowErrorBox(m_title, ErrorText(e.Message())); }

void TApplication::HandleException() {
    for (const auto& [id, form] : m_windows) form->CancelMode();
    try {
        throw;
    } catch (const EAbort&) {
        // Silent by design.
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::bad_alloc&) {
        ShowException(OutOfMemoryError());
    } catch (const std::exception& e) {
        char text[512];
        std::snprintf(text, sizeof text, "Exception %s in module %s at %p.\n\n", DemangledName(typeid(e)).c_str(),
                      m_title.c_str(), static_cast<const void*>(&e));
        ShowErrorBox("Application Error", text);
    }
}

}  // namespace automenu
