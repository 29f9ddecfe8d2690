// A picture control. Drawing of pictures lands with the picture classes.
#pragma once

#include "ui/TControl.h"

namespace automenu {

class TImage : public TGraphicControl {
public:
    explicit TImage(TCustomForm& parent);
    const char* ClassName() const override { return "TImage"; }
};

}  // namespace automenu
