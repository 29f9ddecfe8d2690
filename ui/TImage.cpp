#include "ui/TImage.h"

namespace automenu {

TImage::TImage(TCustomForm& parent) : TGraphicControl(parent) { SetBounds(0, 0, 105, 105); }

}  // namespace automenu
