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

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    // A new label is 65 x 17 pixels, opaque, with AutoSize and ShowAccelChar
    // on, and follows its window's font.
    explicit TLabel(TCustomForm& parent);
    const char* ClassName() const override { return "TLabel"; }

    const std::string& Caption() const { return m_caption; }
    // Exact comparison; a new text repaints the label and runs auto size.
    void SetCaption(const std::string& caption);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    // On: the label takes its window's font and follows its changes. Any
    // change made to the label's own font turns it off.
    bool ParentFont() const { return m_parent_font; }
    void SetParentFont(bool v);
    bool AutoSize() const { return m_auto_size; }
    void SetAutoSize(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return m_word_wrap; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return m_show_accel_char; }
    void SetShowAccelChar(bool v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);

    void Paint(platform::ICanvas& canvas) override;
    void ParentFontChanged() override;
    // With AutoSize on: measures the caption with the drawing rules and takes
    // the measured width and height, keeping left and top.
    void AdjustBounds();

    // The DT_* flags the caption is drawn with.
    unsigned TextFlags() const;

private:
    void FontChanged();
    void TakeParentFont();

    std::string m_caption;
    TFont m_font;
    bool m_parent_font = true;
    bool m_auto_size = true;
    bool m_transparent = false;
    bool m_word_wrap = false;
    bool m_show_accel_char = true;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    bool m_taking_parent_font = false;
    // The font's description at its last change notice: a notice that leaves
    // it as it was is a new colour.
    FontDescription m_font_description;
};

}  // namespace automenu
