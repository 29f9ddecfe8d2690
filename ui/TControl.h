// Controls without a window of their own (pictures and labels): the form
// paints them and hands them their mouse messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Platform.h"

namespace automenu {

class TCustomForm;

class TObject {
public:
    virtual ~TObject() = default;
};

enum TShiftStateFlag : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = std::uint8_t;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

class TControl : public TObject {
public:
    // The control joins the parent's control list; the parent owns it.
    explicit TControl(TCustomForm& parent);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    TCustomForm& Parent() const { return m_parent; }

    int Left() const { return m_bounds.left; }
    int Top() const { return m_bounds.top; }
    int Width() const { return m_bounds.Width(); }
    int Height() const { return m_bounds.Height(); }
    TRect BoundsRect() const { return m_bounds; }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    // Unchanged bounds do nothing; changed bounds repaint the old and the new area.
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    const std::string& Hint() const { return m_hint; }
    void SetHint(std::string hint) { m_hint = std::move(hint); }
    bool ShowHint() const { return m_show_hint; }
    void SetShowHint(bool v) { m_show_hint = v; }

    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // Marks the control's area for repainting (with the background erased).
    void Invalidate();
    virtual void Paint(platform::ICanvas& canvas);
    // Set when painting failed; the window leaves the control out until it
    // changes (any change repaints it, and so clears this).
    bool PaintFailed() const { return m_paint_failed; }
    void SetPaintFailed() { m_paint_failed = true; }

    // Mouse input from the parent, in the control's own coordinates.
    virtual void MouseDown(TShiftState shift, int x, int y, bool double_click);
    virtual void MouseUp(TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();

    // Called when the parent's font changes (labels that follow it update).
    virtual void ParentFontChanged() {}

    // The text assistive technology reads for the control. Default: none.
    virtual std::string AccessibleName() const { return {}; }

protected:
    void InvalidateRect(const TRect& r);

private:
    TCustomForm& m_parent;
    std::string m_name;
    TRect m_bounds{0, 0, 0, 0};
    bool m_visible = true;
    bool m_pressed = false;
    bool m_paint_failed = false;
    std::string m_hint;
    bool m_show_hint = false;
};

// A control painted by its parent window.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

}  // namespace automenu
