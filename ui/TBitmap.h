// A device-independent bitmap, drawn opaquely pixel for pixel. Only its
// top-left part that fits on the screen is held.
#pragma once

#include "ui/TPixelGraphic.h"

namespace automenu {

class TBitmap : public TPixelGraphic {
public:
    TBitmap() = default;

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;
    [[noreturn]] void ThrowOutOfMemory() const override;
};

}  // namespace automenu
