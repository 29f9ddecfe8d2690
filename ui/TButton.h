// A push button without a window of its own, drawn in the system's button
// colours: raised, with a dark frame when it is the default button, and
// sunken while it is held down with the pointer on it.
#pragma once

#include <string>

#include "ui/TControl.h"
#include "ui/TFont.h"

namespace automenu {

class TButton : public TGraphicControl {
public:
    // 75 x 23 pixels, the size of a dialog's button at 8 points; follows its
    // window's font.
    explicit TButton(TCustomForm& parent);

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    TFont& Font() { return m_font; }
    // The default button (the one Enter presses) carries a dark frame.
    bool Default() const { return m_default; }
    void SetDefault(bool v);
    // Drawn sunken: while the mouse holds it with the pointer on it, or while
    // the space bar holds it (the window says so).
    bool Down() const { return m_down; }
    void SetDown(bool v);

    void Paint(platform::ICanvas& canvas) override;
    void ParentFontChanged() override;
    // A button takes every press as a press: two quick ones are two clicks.
    void MouseDown(TShiftState shift, int x, int y, bool double_click) override;
    void MouseUp(TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    std::string m_caption;
    TFont m_font;
    bool m_default = false;
    bool m_down = false;
    bool m_tracking = false;
};

}  // namespace automenu
