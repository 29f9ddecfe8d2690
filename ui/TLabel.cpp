#include "ui/TLabel.h"

#include "platform/PlatformAccess.h"
#include "ui/TCustomForm.h"

namespace automenu {

namespace {

// How a caption is drawn by default: one line from the left, tabs expanded,
// "&" marking the next character's underline.
constexpr unsigned kCaptionFlags = DT_EXPANDTABS;

}  // namespace

unsigned TLabel::DrawFlags() const {
    return kCaptionFlags | (m_word_wrap ? DT_WORDBREAK : 0u) | (m_show_accel_char ? 0u : DT_NOPREFIX);
}

TLabel::TLabel(TCustomForm& parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 65, 17);
    TakeParentFont();
    m_font_description = m_font.Description();
    m_font.OnChange = [this] { FontChanged(); };
}

void TLabel::TakeParentFont() {
    m_taking_parent_font = true;
    m_font.Assign(Parent().Font());
    m_taking_parent_font = false;
}

void TLabel::FontChanged() {
    if (!m_taking_parent_font) m_parent_font = false;
    Invalidate();
    // A new colour leaves the text's size as it is.
    if (m_font.Description() == m_font_description) return;
    m_font_description = m_font.Description();
    AdjustBounds();
}

void TLabel::ParentFontChanged() {
    if (m_parent_font) TakeParentFont();
}

void TLabel::SetCaption(const std::string& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    Invalidate();
    AdjustBounds();
    Parent().AccessibleChanged(*this, platform::AccessibleEvent::NameChange);
}

std::string TLabel::AccessibleName() const {
    if (!m_show_accel_char) return m_caption;
    // As DrawText: "&" marks the next character and is dropped, "&&" is one
    // "&"; the text ends at a NUL.
    std::string name;
    for (std::size_t i = 0; i < m_caption.size(); ++i) {
        if (m_caption[i] == '&') ++i;
        if (i == m_caption.size() || m_caption[i] == '\0') break;
        name += m_caption[i];
    }
    return name;
}

void TLabel::SetAutoSize(bool v) {
    if (v == m_auto_size) return;
    m_auto_size = v;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
    if (v == m_word_wrap) return;
    m_word_wrap = v;
    Invalidate();
    AdjustBounds();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == m_show_accel_char) return;
    m_show_accel_char = v;
    Invalidate();
    AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
    if (v == m_transparent) return;
    m_transparent = v;
    Invalidate();
}

void TLabel::Paint(platform::ICanvas& canvas) {
    const TRect client{0, 0, Width(), Height()};
    if (!m_transparent) canvas.FillRect(client, ResolveColor(Parent().Color()));
    canvas.DrawText(m_font.Handle(), ResolveColor(m_font.Color()), m_caption, client, DrawFlags());
}

void TLabel::AdjustBounds() {
    if (!m_auto_size || !HasPlatform()) return;
    // An empty caption (or a lone "&", which draws nothing) is measured with a
    // space, so the label keeps one line's height.
    std::string text = m_caption;
    if (text.empty() || text == "&") text += ' ';
    const TRect r = Platform().ScreenCanvas().DrawText(m_font.Handle(), {}, text, {0, 0, Width(), Height()},
                                                       DrawFlags() | DT_CALCRECT);
    SetBounds(Left(), Top(), r.Width(), r.Height());
}

}  // namespace automenu
