// A picture control: draws its picture at natural size from its top-left
// corner, cut off at its bounds. It has no window; the form paints it.
#pragma once

#include "ui/TControl.h"
#include "ui/TPicture.h"

namespace automenu {

class TImage : public TGraphicControl {
public:
    explicit TImage(TCustomForm& parent);
    const char* ClassName() const override { return "TImage"; }

    TPicture& Picture() { return m_picture; }
    const TPicture& Picture() const { return m_picture; }

    // The picture is always drawn at natural size from the top-left corner,
    // over the window's background.
    bool Stretch() const { return false; }
    bool Center() const { return false; }
    bool Proportional() const { return false; }
    bool AutoSize() const { return false; }
    bool Transparent() const { return false; }

    void Paint(platform::ICanvas& canvas) override;

private:
    TPicture m_picture;
};

}  // namespace automenu
