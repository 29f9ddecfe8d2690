// A vector picture, held as metafile records and played when drawn.
#pragma once

#include "ui/MetafileReader.h"
#include "ui/TGraphic.h"

namespace automenu {

class TMetafile : public TGraphic {
public:
    TMetafile() = default;

    int Width() const override;
    int Height() const override;
    bool Empty() const override { return m_data.bits.records.empty(); }
    // Played with the rect's right and bottom edges one pixel in.
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    // Size in hundredths of a millimetre.
    int MMWidth() const { return m_data.mm_width; }
    int MMHeight() const { return m_data.mm_height; }
    // Units per inch of a placeable metafile; 0 for an enhanced one.
    int Inch() const { return m_data.inch; }
    const MetafileBits& Bits() const { return m_data.bits; }

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;

private:
    LoadedMetafile m_data;
};

}  // namespace automenu
