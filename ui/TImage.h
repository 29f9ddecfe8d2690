// A picture control: draws its picture at natural size from its top-left
// corner, cut off at its bounds. It has no window; the form paints it.
#pragma once

#include "ui/TControl.h"
#include "ui/TPicture.h"

namespace automenu {

class TImage : public TGraphicControl {
public:
    explicit TImage(TCustomForm& parent);
    TPicture& Picture() { return m_picture; }
    const TPicture& Picture() const { return m_picture; }

    void Paint(platform::ICanvas& canvas) override;

private:
    TPicture m_picture;
};

}  // namespace automenu
