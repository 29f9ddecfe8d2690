// A PNG or JPEG picture: decoded by the system's own decoder when it is
// read, drawn at its natural size (one file pixel to one pixel, whatever
// resolution the file states), blended over the window where a PNG is
// transparent. Only its top-left part that fits on the screen is held.
#pragma once

#include "formats/CompressedImage.h"
#include "ui/TGraphic.h"

namespace automenu {

class TCompressedImage : public TGraphic {
public:
    explicit TCompressedImage(CompressedImageFormat format) : m_format(format) {}

    int Width() const override { return m_size.cx; }
    int Height() const override { return m_size.cy; }
    bool Empty() const override { return m_image.IsEmpty(); }
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    const PixelImage& Image() const { return m_image; }

protected:
    // Throws EInvalidGraphic "PNG image is not valid" or "JPEG image is not
    // valid" for a file that is not one, declares a size beyond the bitmaps'
    // limits or cannot be decoded.
    void ReadData(std::span<const std::uint8_t> bytes) override;
    [[noreturn]] void ThrowOutOfMemory() const override;

private:
    CompressedImageFormat m_format;
    TSize m_size;
    PixelImage m_image;
};

}  // namespace automenu
