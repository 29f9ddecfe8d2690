// A vector picture, held as metafile records. It is played once into pixels
// the first time it is drawn, and those pixels are drawn from then on: a
// repaint or a hover never plays it again. A new picture, or a drawing size
// or screen of its own, plays it anew.
#pragma once

#include "formats/MetafileReader.h"
#include "ui/TGraphic.h"

namespace automenu {

class TMetafile : public TGraphic {
public:
    TMetafile() = default;

    int Width() const override;
    int Height() const override;
    bool Empty() const override { return m_data.bits.records.empty(); }
    // Played with the rect's right and bottom edges one pixel in, cut at the
    // screen's size from the rect's top-left (no more can ever be seen).
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    const MetafileBits& Bits() const { return m_data.bits; }

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;

private:
    LoadedMetafile m_data;
    // The played pixels and what they were played for.
    PixelImage m_image;
    TSize m_image_dest;
    TSize m_image_screen;
    bool m_image_valid = false;
};

}  // namespace automenu
