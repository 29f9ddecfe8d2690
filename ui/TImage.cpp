#include "ui/TImage.h"

namespace automenu {

TImage::TImage(TCustomForm& parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 105, 105);
    // The bounds stay as they are (no auto-size). The form always paints its
    // background first, so the control is never treated as opaque.
    m_picture.SetOnChange([this] { Invalidate(); });
}

void TImage::Paint(platform::ICanvas& canvas) {
    TGraphic* graphic = m_picture.Graphic();
    if (!graphic || graphic->Empty()) return;
    // Natural size at (0, 0): no scaling, no centring. The form has already
    // clipped the canvas to our bounds, so a larger picture is cut off and
    // the window's background shows around a smaller one.
    graphic->Draw(canvas, {0, 0, graphic->Width(), graphic->Height()});
}

}  // namespace automenu
