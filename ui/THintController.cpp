#include "ui/THintController.h"

namespace automenu {

THintController::THintController() = default;
THintController::~THintController() = default;

void THintController::MouseMoved(TCustomForm&, TControl*) {}
void THintController::FilterMessage(const platform::Message&) {}
void THintController::Idle() {}
void THintController::TimerFired() {}
void THintController::Cancel() {}
void THintController::SetEnabled(bool enabled) { m_enabled = enabled; }
void THintController::FormDestroyed(TCustomForm&) {}

}  // namespace automenu
