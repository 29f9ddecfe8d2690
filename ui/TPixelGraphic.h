// A picture held as decoded pixels at its natural size: only its top-left
// part that fits on the screen is held, and it is drawn pixel for pixel,
// the caller's clip cutting it to the rectangle.
#pragma once

#include <utility>

#include "ui/TGraphic.h"

namespace automenu {

class TPixelGraphic : public TGraphic {
public:
    // The natural size, as the file gives it.
    int Width() const override { return m_size.cx; }
    int Height() const override { return m_size.cy; }
    bool Empty() const override { return m_image.IsEmpty(); }
    void Draw(platform::ICanvas& canvas, const TRect& rect) override {
        // What is not held lies beyond the screen and is never seen.
        if (!Empty()) canvas.DrawImage(m_image, rect.left, rect.top);
    }

    // The held pixels: the whole picture, or its top-left part at most the
    // screen's size.
    const PixelImage& Image() const { return m_image; }

protected:
    void SetPixels(TSize size, PixelImage image) {
        m_size = size;
        m_image = std::move(image);
        Changed();
    }

private:
    TSize m_size;
    PixelImage m_image;
};

}  // namespace automenu
