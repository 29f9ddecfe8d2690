// The one tooltip window of the application: a borderless pop-up that never
// takes focus or mouse input and stays on top, with a raised one-pixel edge,
// the hint colour behind and the text in the small UI font.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "ui/TFont.h"

namespace automenu {

class THintWindow {
public:
    THintWindow();
    ~THintWindow();  // destroys the platform window
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // The window size for a text: the text measured with line breaks between
    // words to fit max_width, plus 6 in width and 2 in height; at (0, 0).
    TRect CalcHintRect(int max_width, const std::string& text);
    // Shows the text in rect (4 pixels taller, kept on the desktop), without
    // taking activation.
    void ActivateHint(TRect rect, const std::string& text);
    void Hide();

    void SetColor(TColor color);
    TColor Color() const { return m_color; }
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    const std::string& Text() const { return m_text; }
    bool Visible() const { return m_visible; }
    // Screen rectangle of the window as last shown.
    TRect BoundsRect() const { return m_bounds; }
    platform::WindowId Handle() const { return m_handle; }

    // Messages the platform sends to the window (paint).
    void WndProc(const platform::Message& msg);
    void Paint(platform::ICanvas& canvas);

private:
    TFont m_font;
    TColor m_color = clInfoBk;
    std::string m_text;
    TRect m_bounds;
    bool m_visible = false;
    platform::WindowId m_handle = platform::kNoWindow;
};

}  // namespace automenu
