// The error box of back ends whose window system has none of its own: a
// small fixed dialog captioned with the application's title, the stop icon
// on the left, the message on the right, and an OK button centred below,
// laid out like a system message box. Like the system's box it always fits
// the work area: the message is broken between words (a word wider than a
// line where it must be), and what does not fit is cut, its last line ending
// in "...". Enter, Escape, Space, the button and the close button dismiss it.
#pragma once

#include <string>

#include "ui/TButton.h"
#include "ui/TCustomForm.h"
#include "ui/TLabel.h"

namespace automenu {

class TErrorDialog : public TCustomForm {
public:
    // Lays the box out for its text (measuring needs the platform); the
    // window is made when it is first shown, centred on the work area. The
    // work is bounded by the lines shown, whatever the length of the text.
    TErrorDialog(const std::string& caption, const std::string& text);

    TLabel& Message() { return *m_message; }
    TButton& OkButton() { return *m_ok; }
    TControl& IconControl() { return *m_icon; }

    // Layout, in pixels at 96 per inch.
    static constexpr int kMargin = 11;
    static constexpr int kIconSize = 32;
    static constexpr int kTextLeft = kMargin + kIconSize + 11;
    static constexpr int kTextRightMargin = 14;
    static constexpr int kButtonGap = 14;  // between the icon or text and the button

private:
    // The message's lines as the box shows them, for a text area of at most
    // `text_room` pixels high.
    std::string FitMessage(const std::string& text, int work_width, int text_room);
    void KeyDown(int key);
    void KeyUp(int key);

    TControl* m_icon = nullptr;
    TLabel* m_message = nullptr;
    TButton* m_ok = nullptr;
};

}  // namespace automenu
