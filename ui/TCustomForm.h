// A top-level window with windowless controls: it paints them in list order
// and routes each mouse message to the topmost visible control under it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/TControl.h"
#include "ui/TFont.h"
#include "ui/TIcon.h"

namespace automenu {

// poWorkAreaCenter: centred on the screen less the desktop's panels, as a
// system message box is.
enum class TPosition { poDesigned, poScreenCenter, poWorkAreaCenter };

// How a modal form ended (the values of the Windows dialog results).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TKeyEvent = std::function<void(TObject* sender, int key, TShiftState shift)>;

// A control as assistive technology is told of it: its role, and for a
// control that does something, the verb of its click ("Open").
struct TAccessibleControl {
    TControl* control = nullptr;
    platform::AccessibleRole role = platform::AccessibleRole::StaticText;
    std::string default_action;
};

// Where a window's outer top-left corner may go so that its caption bar
// stays reachable: its top on the work area, its right end (the close button,
// inside the right border) too, and its left end as far as that allows (a
// window wider than the work area loses the left end). Otherwise only the
// frame's borders may hang off the work area. Windows that fit keep `at`.
TPoint ReachablePosition(TPoint at, TSize outer, const platform::FrameExtents& frame, const TRect& work);

class TCustomForm : public TObject, private platform::IAccessibleContent {
public:
    TCustomForm();
    ~TCustomForm() override;
    TCustomForm(const TCustomForm&) = delete;
    TCustomForm& operator=(const TCustomForm&) = delete;

    // The construction step run after the object is reachable through the
    // caller's reference (see TApplication::CreateForm).
    virtual void Create() {}

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    void SetCaption(std::string caption);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition p) { m_position = p; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    // The window's icon. A dialog frame shows none, so a dialog only holds it.
    TIcon& Icon() { return m_icon; }

    int ClientWidth() const { return m_client.cx; }
    int ClientHeight() const { return m_client.cy; }
    void SetClientSize(TSize size);
    // Outer size, frame and caption bar included. Sizes below what a
    // captioned window can have are raised to that minimum, so the window
    // can still be seen and closed; sizes above the screen's plus the frame
    // are cut to that.
    int Width() const;
    int Height() const;
    void SetWidth(int outer_width);
    void SetHeight(int outer_height);
    int Left() const;
    int Top() const;
    // Where a window with poDesigned placement appears.
    void SetDesignedPosition(TPoint p) { m_designed_position = p; }

    bool Visible() const { return m_visible; }
    void Show();
    void Hide();
    // Asks the window to close: the main window ends the application, a
    // modal form ends with mrCancel, any other form hides.
    void Close();
    // A disabled window takes no mouse or key input and cannot be closed by
    // the user.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    // Shows the form above the program's other windows and runs the message
    // loop until its modal result is set (or the application is told to
    // end: then mrCancel); hides it and returns the result. Disabling the
    // other windows is the caller's part.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return m_modal_result; }
    void SetModalResult(TModalResult result) { m_modal_result = result; }

    // Key messages that reach the window (key codes: platform::KeyCode).
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // The control the keys work on. The controls have no windows, so the
    // form keeps it for them, and draws the focus cue around it: a dotted
    // rectangle, shown only once a key has been pressed in the window, as
    // Windows hides focus cues until the keyboard is used.
    TControl* FocusedControl() const { return m_focused; }
    void SetFocusedControl(TControl* control);
    bool FocusCuesShown() const { return m_focus_cues; }
    void ShowFocusCues();

    // The controls assistive technology is told of, in reading order, one
    // item each: named by their text, described by their hint (where it
    // shows), placed by their bounds; hidden ones (or all, while the window
    // is) say so. An item's activation clicks its control, as the mouse
    // does. Set once, before the window shows.
    void SetAccessibleControls(std::vector<TAccessibleControl> controls);
    std::vector<platform::AccessibleItem> AccessibleItems() const override;
    // A control tells its window of a change its clients may want to know.
    void AccessibleChanged(const TControl& control, platform::AccessibleEvent event);

    platform::WindowId Handle() const { return m_handle; }
    bool HandleAllocated() const { return m_handle != platform::kNoWindow; }
    void HandleNeeded();

    // Controls in creation order: painting goes first to last, mouse input to
    // the last visible control under the pointer.
    const std::vector<std::unique_ptr<TControl>>& Controls() const { return m_controls; }
    template <typename T>
    T& AddControl() {
        auto control = std::make_unique<T>(*this);
        T& ref = *control;
        m_controls.push_back(std::move(control));
        return ref;
    }
    TControl* FindControl(const std::string& name) const;
    TControl* ControlAtPos(TPoint client_point) const;
    // Ends any mouse capture (after an exception in a handler).
    // Ends a press as the loss of the capture does: the captured control
    // gets its release off itself, which clicks nothing.
    void CancelMode();

    void InvalidateRect(const TRect& r);
    void SetAppIcon(const PixelImage& icon);

    // Handles one message addressed to this window.
    void WndProc(const platform::Message& msg);
    void PaintWindow(platform::ICanvas& canvas, const TRect& area);

private:
    void DispatchMouse(const platform::Message& msg);
    void ReleaseMouseCapture();
    void CaptureLost();
    void UpdateOuterSize(TSize outer);
    void AccessibleAction(std::size_t item);
    // Moves a centred window to `at`, or as near as keeps its caption reachable.
    void PlaceCentred(TPoint at);

    std::string m_name;
    std::string m_caption;
    TPosition m_position = TPosition::poDesigned;
    TColor m_color = clBtnFace;
    TFont m_font;
    TIcon m_icon;
    TSize m_client{0, 0};
    TPoint m_designed_position{0, 0};
    bool m_visible = false;
    bool m_enabled = true;
    bool m_modal = false;
    TModalResult m_modal_result = mrNone;
    bool m_placed = false;
    TPoint m_centred_at;  // where the centring put the outer top-left corner
    platform::WindowId m_handle = platform::kNoWindow;
    std::vector<std::unique_ptr<TControl>> m_controls;
    TControl* m_capture_control = nullptr;
    TControl* m_focused = nullptr;
    bool m_focus_cues = false;
    std::vector<TAccessibleControl> m_accessible;
    PixelImage m_app_icon;
};

class TForm : public TCustomForm {};

}  // namespace automenu
