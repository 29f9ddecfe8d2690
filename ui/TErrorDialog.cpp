#include "ui/TErrorDialog.h"

#include <algorithm>

#include "formats/TextDecoding.h"
#include "platform/PlatformAccess.h"
#include "ui/MessageLines.h"
#include "ui/StopIcon.h"

namespace automenu {

namespace {

// The stop icon, drawn with its alpha over the dialog's face.
class TStopIconImage : public TGraphicControl {
public:
    explicit TStopIconImage(TCustomForm& parent)
        : TGraphicControl(parent), m_image(MakeStopIcon(TErrorDialog::kIconSize)) {
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
    // As a system box: in the middle of the screen less the desktop's panels.
    SetPosition(TPosition::poWorkAreaCenter);

    m_icon = &AddControl<TStopIconImage>();
    m_icon->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
    m_message = &AddControl<TLabel>();
    m_message->SetName("Message");
    m_message->SetTransparent(true);
    m_message->SetShowAccelChar(false);
    m_ok = &AddControl<TButton>();
    m_ok->SetName("OkButton");
    m_ok->SetCaption("OK");
    m_ok->SetDefault(true);
    m_ok->OnClick = [this](TObject*) { SetModalResult(mrOk); };

    // The box fits the work area: the frame (at most what a captioned window
    // needs), the margins and the button leave the rest to the text.
    const TRect work = Platform().WorkArea();
    const TSize frame_room = Platform().MinimumCaptionedSize();
    const int text_room = work.Height() - frame_room.cy - 2 * kMargin - kButtonGap - m_ok->Height();
    m_message->SetCaption(FitMessage(text, work.Width(), text_room));
    m_message->SetBounds(kTextLeft, kMargin, m_message->Width(), m_message->Height());
    // One or two lines sit level with the middle of the icon.
    if (m_message->Height() < kIconSize) m_message->SetTop(kMargin + (kIconSize - m_message->Height()) / 2);

    const int content_bottom = std::max(m_icon->Top() + kIconSize, m_message->Top() + m_message->Height());
    const TRect title = Platform().ScreenCanvas().DrawText(Font().Handle(), {}, caption, {0, 0, 0, 0},
                                                           DT_NOPREFIX | DT_CALCRECT);
    // A title too long for the screen is cut by the caption bar, not the box.
    const int width = std::min(std::max({m_message->Left() + m_message->Width() + kTextRightMargin,
                                         m_ok->Width() + 2 * kMargin, title.Width() + kCaptionButtonsWidth}),
                               std::max(work.Width() - (frame_room.cx - kCaptionButtonsWidth), m_ok->Width()));
    m_ok->SetBounds((width - m_ok->Width()) / 2, content_bottom + kButtonGap, m_ok->Width(), m_ok->Height());
    SetClientSize({width, m_ok->Top() + m_ok->Height() + kMargin});

    OnKeyDown = [this](TObject*, int key) { KeyDown(key); };
    OnKeyUp = [this](TObject*, int key) { KeyUp(key); };
}

std::string TErrorDialog::FitMessage(const std::string& text, int work_width, int text_room) {
    // The text is a C string, in the bytes of the caption rules: measured
    // and cut as the UTF-8 it is drawn as.
    const std::string utf8 = DecodeCaptionBytes(std::string_view(text.c_str()));
    const platform::IFont& font = m_message->Font().Handle();
    constexpr unsigned kFlags = DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT;
    platform::ICanvas& canvas = Platform().ScreenCanvas();
    const TextWidth measure = [&](std::string_view line) {
        return canvas.DrawText(font, {}, line, {0, 0, 0, 0}, kFlags).Width();
    };
    const int line_height = std::max(canvas.DrawText(font, {}, " ", {0, 0, 0, 0}, kFlags).Height(), 1);
    const std::size_t max_lines = static_cast<std::size_t>(std::max(text_room / line_height, 1));
    // Windows' widths for a box: the narrowest of five eighths, three
    // quarters and seven eighths of the work area at which the text fits.
    BrokenLines broken;
    int text_width = 0;
    for (const int eighths : {5, 6, 7}) {
        text_width = std::max(work_width * eighths / 8 - kTextLeft - kMargin, 100);
        broken = BreakIntoLines(utf8, text_width, max_lines, measure);
        if (broken.complete) break;
    }
    // Still too long: cut where the screen ends, visibly.
    if (!broken.complete) broken.lines.back() = WithEllipsis(broken.lines.back(), text_width, measure);
    std::string shown;
    for (const std::string& line : broken.lines) {
        if (&line != &broken.lines.front()) shown += '\n';
        shown += line;
    }
    return shown;
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
