// A text label: draws its caption in its font and sizes itself to the text.
//
// Setting any property to the value it already has does nothing at all (no
// notice, no resize, no repaint): the hover handlers set every property of a
// label on every mouse move and must not cause repaints by doing so.
#pragma once

#include <string>

#include "ui/TControl.h"
#include "ui/TFont.h"

namespace automenu {

class TLabel : public TGraphicControl {
public:
    // A new label is 65 x 17 pixels, opaque, with AutoSize on, and follows
    // its window's font. It draws its caption on one line from the left, with
    // "&" marking the next character's underline.
    explicit TLabel(TCustomForm& parent);
    const std::string& Caption() const { return m_caption; }
    // Exact comparison; a new text repaints the label and runs auto size.
    void SetCaption(const std::string& caption);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    void SetAutoSize(bool v);
    void SetTransparent(bool v);
    // Lines broken between words to fit the label's width (auto size then
    // keeps the width and takes the height).
    void SetWordWrap(bool v);
    // Off: "&" is drawn as it is.
    void SetShowAccelChar(bool v);

    void Paint(platform::ICanvas& canvas) override;
    void ParentFontChanged() override;
    // The caption as it is drawn: with "&" marks, the marks dropped.
    std::string AccessibleName() const override;
    // With AutoSize on: measures the caption with the drawing rules and takes
    // the measured width and height, keeping left and top.
    void AdjustBounds();


private:
    void FontChanged();
    void TakeParentFont();
    unsigned DrawFlags() const;

    std::string m_caption;
    TFont m_font;
    bool m_parent_font = true;
    bool m_auto_size = true;
    bool m_transparent = false;
    bool m_word_wrap = false;
    bool m_show_accel_char = true;
    bool m_taking_parent_font = false;
    // The font's description at its last change notice: a notice that leaves
    // it as it was is a new colour.
    FontDescription m_font_description;
};

}  // namespace automenu
