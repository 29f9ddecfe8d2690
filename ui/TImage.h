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

    // Kept for the layout; drawing honours only their "off" state.
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool v) { m_stretch = v; }
    bool Center() const { return m_center; }
    void SetCenter(bool v) { m_center = v; }
    bool Proportional() const { return m_proportional; }
    void SetProportional(bool v) { m_proportional = v; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return m_auto_size; }
    void SetAutoSize(bool v) { m_auto_size = v; }

    void Paint(platform::ICanvas& canvas) override;

private:
    void PictureChanged();

    TPicture m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_proportional = false;
    bool m_transparent = false;
    bool m_auto_size = false;
};

}  // namespace automenu
