// The application object: title, the forms it owns, the main window, the
// message loop, and the error display.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "platform/Platform.h"
#include "ui/TCustomForm.h"
#include "ui/THintController.h"

namespace automenu {

class TApplication {
public:
    // program_path: the program file's path (its name gives the title).
    TApplication(platform::IPlatform& platform, const std::string& program_path);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The title rule: the file name without directory, cut before its first
    // ".", every character after the first lower-cased.
    static std::string TitleFromProgramPath(const std::string& path);
    // The error display's text rule: a "." is appended when the last
    // character sorts after ".".
    static std::string ErrorText(const std::string& message);

    void Initialize() {}

    // Allocates the form, stores it in `ref`, then runs its construction. If
    // construction throws, the form is destroyed, `ref` is cleared and the
    // exception passes on. The first form created becomes the main window.
    template <typename T>
    void CreateForm(T*& ref) {
        auto form = std::make_unique<T>();
        ref = form.get();
        m_forms.push_back(std::move(form));
        try {
            ref->Create();
        } catch (...) {
            DestroyForm(*ref);
            ref = nullptr;
            throw;
        }
        if (!m_main_form) {
            m_main_form = ref;
            m_main_form->HandleNeeded();
        }
    }

    // The caption of the error box.
    const std::string& Title() const { return m_title; }
    TCustomForm* MainForm() const { return m_main_form; }
    bool Terminated() const { return m_terminated; }

    void Run();
    // Handles one message: true when one was taken.
    bool ProcessMessage();
    void HandleMessage();
    void Idle();
    void Terminate();

    // Shows an exception's message in the error box.
    void ShowException(const Exception& e);
    // For use inside a catch block: routes the current exception.
    void HandleException();
    // True once an error could not be shown because no window could be made
    // for its box: the text went to the platform's other channel only.
    bool ErrorBoxFailed() const { return m_error_box_failed; }

    THintController& Hints() { return *m_hints; }

    // Window registry so the loop can route a message to its form.
    void RegisterWindow(platform::WindowId id, TCustomForm& form);
    void UnregisterWindow(platform::WindowId id);
    TCustomForm* FormOfWindow(platform::WindowId id) const;

    // Destroys every form the application owns (program end).
    void DestroyForms();

private:
    void DestroyForm(TCustomForm& form);
    void Dispatch(const platform::Message& msg);
    // A paint request from a loop of the window system's own (see IPlatform::SetPaintHandler).
    void PaintNow(platform::WindowId w);
    void ShowErrorBox(const std::string& caption, const std::string& text);

    platform::IPlatform& m_platform;
    std::string m_title;
    std::vector<std::unique_ptr<TCustomForm>> m_forms;
    TCustomForm* m_main_form = nullptr;
    bool m_terminated = false;
    bool m_error_box_failed = false;
    std::unique_ptr<THintController> m_hints;
    std::vector<std::pair<platform::WindowId, TCustomForm*>> m_windows;
};

// The one application object of the program, once created.
TApplication& Application();
bool HasApplication();

}  // namespace automenu
