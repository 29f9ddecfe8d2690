// A device-independent bitmap, drawn opaquely pixel for pixel. Only its
// top-left part that fits on the screen is held.
#pragma once

#include "ui/TGraphic.h"

namespace automenu {

class TBitmap : public TGraphic {
public:
    TBitmap() = default;

    // The natural size, as the file's header gives it.
    int Width() const override { return m_size.cx; }
    int Height() const override { return m_size.cy; }
    bool Empty() const override { return m_image.IsEmpty(); }
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    // The held pixels: the whole bitmap, or its top-left part at most the
    // screen's size.
    const PixelImage& Image() const { return m_image; }

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;
    [[noreturn]] void ThrowOutOfMemory() const override;

private:
    TSize m_size;
    PixelImage m_image;
};

}  // namespace automenu
