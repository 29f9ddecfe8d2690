// A text label: draws its caption in its font and sizes itself to the text.
#pragma once

#include <string>

#include "ui/TControl.h"
#include "ui/TFont.h"

namespace automenu {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TCustomForm& parent);
    const char* ClassName() const override { return "TLabel"; }

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    bool ParentFont() const { return m_parent_font; }
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
    // Sizes the label to its caption (when AutoSize is on).
    void AdjustBounds();

private:
    unsigned TextFlags() const;
    void FontChanged();

    std::string m_caption;
    TFont m_font;
    bool m_parent_font = true;
    bool m_auto_size = true;
    bool m_transparent = false;
    bool m_word_wrap = false;
    bool m_show_accel_char = true;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    bool m_syncing_font = false;
};

}  // namespace automenu
