// A PNG or JPEG picture: decoded by the system's own decoder when it is
// read, drawn at its natural size (one file pixel to one pixel, whatever
// resolution the file states), blended over the window where a PNG is
// transparent. Only its top-left part that fits on the screen is held.
#pragma once

#include "formats/CompressedImage.h"
#include "ui/TPixelGraphic.h"

namespace automenu {

class TCompressedImage : public TPixelGraphic {
public:
    explicit TCompressedImage(CompressedImageFormat format) : m_format(format) {}

protected:
    // Throws EInvalidGraphic "PNG image is not valid" or "JPEG image is not
    // valid" for a file that is not one, declares a size beyond the bitmaps'
    // limits or cannot be decoded.
    void ReadData(std::span<const std::uint8_t> bytes) override;
    [[noreturn]] void ThrowOutOfMemory() const override;

private:
    CompressedImageFormat m_format;
};

}  // namespace automenu
