#include "ui/TErrorDialog.h"

#include <algorithm>

#include "platform/PlatformAccess.h"
#include "ui/StopIcon.h"

namespace automenu {

namespace {

// The stop icon, drawn with its alpha over the dialog's face.
class TStopIconImage : public TGraphicControl {
public:
    explicit TStopIconImage(TCustomForm& parent) : TGraphicControl(parent), m_image(MakeStopIcon(TErrorDialog::kIconSize)) {
        SetBounds(0, 0, m_image.width, m_image.height);
    }
    void Paint(platform::ICanvas& canvas) override { canvas.DrawImage(m_image, 0, 0); }

private:
    PixelImage m_image;
};

// Room the window manager needs in the caption bar besides the title: the
// close button and some air.
constexpr int kCaptionButtonsWidth = 64;

}  // namespace

TErrorDialog::TErrorDialog(const std::string& caption, const std::string& text) {
    SetName("ErrorDialog");
    SetCaption(caption);
    SetPosition(TPosition::poScreenCenter);

    m_icon = &AddControl<TStopIconImage>();
    m_icon->SetBounds(kMargin, kMargin, kIconSize, kIconSize);

    // The box is at most five eighths of the screen wide: longer lines are
    // broken between words, as a system box breaks them.
    const int screen_width = Platform().ScreenSize().cx;
    const int max_text_width = std::max(screen_width * 5 / 8 - kTextLeft - kMargin, 100);
    m_message = &AddControl<TLabel>();
    m_message->SetName("Message");
    m_message->SetTransparent(true);
    m_message->SetShowAccelChar(false);
    m_message->SetCaption(text);
    // Auto size with word wrap keeps the width it is given and breaks the
    // lines there, then takes the width of the longest.
    m_message->SetBounds(kTextLeft, kMargin, max_text_width, m_message->Height());
    m_message->SetWordWrap(true);
    // One or two lines sit level with the middle of the icon.
    if (m_message->Height() < kIconSize) m_message->SetTop(kMargin + (kIconSize - m_message->Height()) / 2);

    m_ok = &AddControl<TButton>();
    m_ok->SetName("OkButton");
    m_ok->SetCaption("OK");
    m_ok->SetDefault(true);
    m_ok->OnClick = [this](TObject*) { SetModalResult(mrOk); };

    const int content_bottom = std::max(m_icon->Top() + kIconSize, m_message->Top() + m_message->Height());
    const TRect title = Platform().ScreenCanvas().DrawText(Font().Handle(), {}, caption, {0, 0, 0, 0},
                                                           DT_NOPREFIX | DT_CALCRECT);
    const int width = std::max({m_message->Left() + m_message->Width() + kTextRightMargin, m_ok->Width() + 2 * kMargin,
                                title.Width() + kCaptionButtonsWidth});
    m_ok->SetBounds((width - m_ok->Width()) / 2, content_bottom + kButtonGap, m_ok->Width(), m_ok->Height());
    SetClientSize({width, m_ok->Top() + m_ok->Height() + kMargin});

    OnKeyDown = [this](TObject*, int key) { KeyDown(key); };
    OnKeyUp = [this](TObject*, int key) { KeyUp(key); };
}

void TErrorDialog::KeyDown(int key) {
    switch (key) {
        case platform::VK_RETURN:
        case platform::VK_ESCAPE:
            SetModalResult(mrOk);
            break;
        case platform::VK_SPACE:
            // The space bar works the button as a click does: down, then up.
            m_ok->SetDown(true);
            break;
        default:
            break;
    }
}

void TErrorDialog::KeyUp(int key) {
    if (key != platform::VK_SPACE || !m_ok->Down()) return;
    m_ok->SetDown(false);
    m_ok->Click();
}

}  // namespace automenu
