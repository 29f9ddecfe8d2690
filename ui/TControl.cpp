#include "ui/TControl.h"

#include "ui/TCustomForm.h"

namespace automenu {

TControl::TControl(TCustomForm& parent) : m_parent(parent) {}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
    TRect bounds = TRect::FromBounds(left, top, width, height);
    if (bounds == m_bounds) return;
    Invalidate();
    m_bounds = bounds;
    Invalidate();
    m_parent.AccessibleChanged(*this, platform::AccessibleEvent::Location);
}

void TControl::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    m_paint_failed = false;
    InvalidateRect(m_bounds);
    m_parent.AccessibleChanged(*this, visible ? platform::AccessibleEvent::Show : platform::AccessibleEvent::Hide);
}

void TControl::Invalidate() {
    m_paint_failed = false;
    if (m_visible) InvalidateRect(m_bounds);
}

void TControl::InvalidateRect(const TRect& r) { m_parent.InvalidateRect(r); }

void TControl::Paint(platform::ICanvas&) {}

void TControl::MouseDown(TShiftState, int, int, bool double_click) {
    if (double_click) {
        // The second press of a double click raises no click at its release.
        DblClick();
        return;
    }
    m_pressed = true;
}

void TControl::MouseUp(TShiftState, int x, int y) {
    if (!m_pressed) return;
    m_pressed = false;
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

}  // namespace automenu
