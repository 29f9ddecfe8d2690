// A canvas over a GDI device context: the window's pixels are drawn into a
// memory bitmap and copied to the window when the canvas goes.
#pragma once

#include <functional>

#include "platform/win32/GdiHandles.h"

namespace automenu::platform {

// A GDI font for one description.
class Win32Font final : public IFont {
public:
    explicit Win32Font(const FontDescription& description);
    const FontDescription& Description() const override { return m_description; }
    HFONT Handle() const { return m_font.get(); }

private:
    FontDescription m_description;
    FontHandle m_font;
};

class GdiCanvas final : public ICanvas {
public:
    // Draws on `dc`; `done` runs when the canvas is destroyed.
    GdiCanvas(HDC dc, std::function<void()> done);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void Save() override;
    void Restore() override;
    void Translate(int dx, int dy) override;
    void IntersectClip(const TRect& r) override;
    void FillRect(const TRect& r, Rgb colour) override;
    void DrawRaisedEdge(const TRect& r) override;
    void DrawFocusRect(const TRect& r) override;
    void DrawImage(const PixelImage& image, int x, int y) override;
    PixelImage RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen) override;
    TRect DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect, unsigned flags) override;

private:
    HDC m_dc;
    std::function<void()> m_done;
};

// The metafile as an enhanced metafile handle, converted the way Windows
// converts a placeable metafile's records; null when GDI refuses it.
EnhMetafileHandle EnhancedMetafileOf(const MetafileBits& metafile);

}  // namespace automenu::platform
