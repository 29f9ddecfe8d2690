// The application's tooltip state: which control's hint is pending or shown,
// the show and hide timer, and the one hint window.
#pragma once

#include "platform/Platform.h"

namespace automenu {

class TControl;
class TCustomForm;

class THintController {
public:
    static constexpr int kTimerId = 0x4849;  // "HI"

    THintController();
    ~THintController();
    THintController(const THintController&) = delete;
    THintController& operator=(const THintController&) = delete;

    // A mouse move reached `form` over `control` (null: the bare window).
    void MouseMoved(TCustomForm& form, TControl* control);
    // Every message the loop takes passes here first; some cancel the hint.
    void FilterMessage(const platform::Message& msg);
    // The loop has nothing to do: cancel the hint when the pointer has left
    // the program's windows.
    void Idle();
    void TimerFired();
    void Cancel();
    // Hints off destroys the hint window (program end).
    void SetEnabled(bool enabled);
    bool Enabled() const { return m_enabled; }
    // The window form `form` is going away: forget anything that refers to it.
    void FormDestroyed(TCustomForm& form);

private:
    bool m_enabled = true;
};

}  // namespace automenu
