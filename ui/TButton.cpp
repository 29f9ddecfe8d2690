#include "ui/TButton.h"

#include "platform/PlatformAccess.h"
#include "ui/TCustomForm.h"

namespace automenu {

namespace {

// One-pixel lines along the four sides of r: top and left in one colour,
// bottom and right in another.
void DrawEdge(platform::ICanvas& canvas, const TRect& r, TColor top_left, TColor bottom_right) {
    const Rgb tl = ResolveColor(top_left);
    const Rgb br = ResolveColor(bottom_right);
    canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1}, tl);
    canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, tl);
    canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, br);
    canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, br);
}

TRect Inflate(const TRect& r, int d) { return {r.left - d, r.top - d, r.right + d, r.bottom + d}; }

}  // namespace

TButton::TButton(TCustomForm& parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 75, 23);
    m_font.Assign(parent.Font());
    m_font.OnChange = [this] { Invalidate(); };
}

void TButton::SetCaption(const std::string& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    Invalidate();
}

void TButton::SetDefault(bool v) {
    if (v == m_default) return;
    m_default = v;
    Invalidate();
}

void TButton::SetDown(bool v) {
    if (v == m_down) return;
    m_down = v;
    Invalidate();
}

void TButton::ParentFontChanged() { m_font.Assign(Parent().Font()); }

void TButton::MouseDown(TShiftState shift, int x, int y, bool) {
    TGraphicControl::MouseDown(shift, x, y, false);
    m_tracking = true;
    SetDown(true);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    // The window holds the capture for the button: it comes up while the
    // pointer is off it and goes down again when the pointer returns.
    if (m_tracking) SetDown(x >= 0 && y >= 0 && x < Width() && y < Height());
    TGraphicControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TShiftState shift, int x, int y) {
    m_tracking = false;
    SetDown(false);
    TGraphicControl::MouseUp(shift, x, y);
}

void TButton::Paint(platform::ICanvas& canvas) {
    TRect r{0, 0, Width(), Height()};
    canvas.FillRect(r, ResolveColor(clBtnFace));
    if (m_default) {
        DrawEdge(canvas, r, clWindowFrame, clWindowFrame);
        r = Inflate(r, -1);
    }
    int shift = 0;
    if (m_down) {
        DrawEdge(canvas, r, clBtnShadow, clBtnShadow);
        shift = 1;  // the caption moves with the face
    } else {
        DrawEdge(canvas, r, clBtnHighlight, cl3DDkShadow);
        DrawEdge(canvas, Inflate(r, -1), cl3DLight, clBtnShadow);
    }
    // The caption centred on one line.
    const unsigned flags = DT_CENTER | DT_NOPREFIX;
    const TRect text = Platform().ScreenCanvas().DrawText(m_font.Handle(), {}, m_caption, {0, 0, Width(), Height()},
                                                           flags | DT_CALCRECT);
    const int top = (Height() - text.Height()) / 2 + shift;
    canvas.DrawText(m_font.Handle(), ResolveColor(clBtnText), m_caption,
                    {shift, top, Width() + shift, top + text.Height()}, flags);
}

}  // namespace automenu
