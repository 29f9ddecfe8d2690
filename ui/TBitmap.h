// A device-independent bitmap, drawn opaquely pixel for pixel.
#pragma once

#include "ui/TGraphic.h"

namespace automenu {

class TBitmap : public TGraphic {
public:
    TBitmap() = default;

    int Width() const override { return m_image.width; }
    int Height() const override { return m_image.height; }
    bool Empty() const override { return m_image.IsEmpty(); }
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    const PixelImage& Image() const { return m_image; }

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;

private:
    PixelImage m_image;
};

}  // namespace automenu
