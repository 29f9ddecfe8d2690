#include "platform/win32/GdiCanvas.h"

#include <algorithm>
#include <cstring>

#include "formats/MetafileBits.h"
#include "platform/metafile/MetafileScreen.h"
#include "platform/win32/WideText.h"

namespace automenu::platform {

namespace {

COLORREF ColorRefOf(Rgb c) { return RGB(c.r, c.g, c.b); }

RECT RectOf(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

BYTE PitchOf(TFontPitch pitch) {
    switch (pitch) {
        case TFontPitch::fpFixed: return FIXED_PITCH;
        case TFontPitch::fpVariable: return VARIABLE_PITCH;
        case TFontPitch::fpDefault: break;
    }
    return DEFAULT_PITCH;
}

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void Fill(DibSurface& surface, std::uint32_t pixel) {
    std::fill_n(surface.Pixels(), static_cast<std::size_t>(surface.Width()) * surface.Height(), pixel);
}

}  // namespace

Win32Font::Win32Font(const FontDescription& description) : m_description(description) {
    LOGFONTW lf{};
    lf.lfHeight = description.height;
    lf.lfWeight = (description.style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (description.style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (description.style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (description.style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = description.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = PitchOf(description.pitch);
    // The name is at most 31 UTF-16 code units already (TFont).
    const std::wstring name = Wide(description.name);
    name.copy(lf.lfFaceName, std::size(lf.lfFaceName) - 1);
    m_font.reset(::CreateFontIndirectW(&lf));
}

DibSurface::DibSurface(HDC reference, int width, int height) : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) return;
    m_dc.reset(::CreateCompatibleDC(reference));
    if (!m_dc) return;
    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap || !bits) return;
    m_previous = ::SelectObject(m_dc.get(), m_bitmap.get());
    m_bits = static_cast<std::uint32_t*>(bits);
}

DibSurface::~DibSurface() {
    if (m_previous) ::SelectObject(m_dc.get(), m_previous);
}

GdiCanvas::GdiCanvas(HDC dc, std::function<void()> done) : m_dc(dc), m_done(std::move(done)) {
    ::SetBkMode(m_dc, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
    if (m_done) m_done();
}

void GdiCanvas::Save() { ::SaveDC(m_dc); }
void GdiCanvas::Restore() { ::RestoreDC(m_dc, -1); }
void GdiCanvas::Translate(int dx, int dy) { ::OffsetViewportOrgEx(m_dc, dx, dy, nullptr); }

void GdiCanvas::IntersectClip(const TRect& r) { ::IntersectClipRect(m_dc, r.left, r.top, r.right, r.bottom); }

void GdiCanvas::FillRect(const TRect& r, Rgb colour) {
    if (r.IsEmpty()) return;
    BrushHandle brush(::CreateSolidBrush(ColorRefOf(colour)));
    const RECT rc = RectOf(r);
    ::FillRect(m_dc, &rc, brush.get());
}

void GdiCanvas::DrawRaisedEdge(const TRect& r) {
    if (r.IsEmpty()) return;
    RECT rc = RectOf(r);
    ::DrawEdge(m_dc, &rc, BDR_RAISEDOUTER, BF_RECT);
}

void GdiCanvas::DrawImage(const PixelImage& image, int x, int y) {
    if (image.IsEmpty()) return;
    const BITMAPINFO info = TopDownInfo(image.width, image.height);
    if (!image.has_alpha) {
        ::SetDIBitsToDevice(m_dc, x, y, image.width, image.height, 0, 0, 0, image.height, image.pixels.data(), &info,
                            DIB_RGB_COLORS);
        return;
    }
    // Premultiplied pixels blended over what lies beneath.
    DibSurface source(m_dc, image.width, image.height);
    if (!source.Valid()) return;
    std::copy(image.pixels.begin(), image.pixels.end(), source.Pixels());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(m_dc, x, y, image.width, image.height, source.Dc(), 0, 0, image.width, image.height, blend);
}

EnhMetafileHandle EnhancedMetafileOf(const MetafileBits& metafile) {
    const auto size = static_cast<UINT>(metafile.records.size());
    if (metafile.enhanced) return EnhMetafileHandle(::SetEnhMetaFileBits(size, metafile.records.data()));
    // Converted once without extents to learn the frame, then again with the
    // frame's right and bottom as the extents.
    METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
    EnhMetafileHandle first(::SetWinMetaFileBits(size, metafile.records.data(), nullptr, &picture));
    if (!first) return nullptr;
    ENHMETAHEADER header{};
    if (::GetEnhMetaFileHeader(first.get(), sizeof header, &header) == 0) return nullptr;
    picture.xExt = header.rclFrame.right;
    picture.yExt = header.rclFrame.bottom;
    return EnhMetafileHandle(::SetWinMetaFileBits(size, metafile.records.data(), nullptr, &picture));
}

PixelImage GdiCanvas::RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen) {
    PixelImage out;
    // GDI gets only what playback here would draw: the same records, range
    // and budget as every back end, so no file costs it more time or memory.
    EnhMetafileHandle emf = EnhancedMetafileOf(ScreenMetafile(metafile, dest, size, screen));
    if (!emf || size.cx <= 0 || size.cy <= 0) return out;
    // Played over black and over white: where the two differ the metafile
    // drew nothing (or drew partly), which gives each pixel's coverage.
    DibSurface black(m_dc, size.cx, size.cy);
    DibSurface white(m_dc, size.cx, size.cy);
    if (!black.Valid() || !white.Valid()) return out;
    Fill(black, 0x00000000u);
    Fill(white, 0x00FFFFFFu);
    const RECT rc = RectOf(dest);
    ::PlayEnhMetaFile(black.Dc(), emf.get(), &rc);
    ::PlayEnhMetaFile(white.Dc(), emf.get(), &rc);
    ::GdiFlush();
    out.width = size.cx;
    out.height = size.cy;
    out.has_alpha = true;
    out.pixels.resize(static_cast<std::size_t>(size.cx) * size.cy);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const std::uint32_t b = black.Pixels()[i] & 0xFFFFFFu;
        const std::uint32_t w = white.Pixels()[i] & 0xFFFFFFu;
        std::uint32_t spread = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t bc = (b >> shift) & 0xFF, wc = (w >> shift) & 0xFF;
            spread = std::max(spread, wc > bc ? wc - bc : 0u);
        }
        const std::uint32_t alpha = 255 - spread;
        // Over black the result is the premultiplied colour already.
        std::uint32_t colour = 0;
        for (int shift = 0; shift < 24; shift += 8) colour |= std::min((b >> shift) & 0xFF, alpha) << shift;
        out.pixels[i] = (alpha << 24) | colour;
    }
    return out;
}

TRect GdiCanvas::DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect, unsigned flags) {
    const auto& gdi_font = static_cast<const Win32Font&>(font);
    const HGDIOBJ previous = ::SelectObject(m_dc, gdi_font.Handle());
    ::SetTextColor(m_dc, ColorRefOf(colour));
    const std::wstring wide = Wide(text);
    const int length = static_cast<int>(std::min<std::size_t>(wide.size(), 0x7FFFFFFF));
    RECT measured = RectOf(rect);
    ::DrawTextW(m_dc, wide.data(), length, &measured, flags | DT_CALCRECT);
    if (!(flags & DT_CALCRECT)) {
        RECT rc = RectOf(rect);
        ::DrawTextW(m_dc, wide.data(), length, &rc, flags);
    }
    ::SelectObject(m_dc, previous);
    return TRect{measured.left, measured.top, measured.right, measured.bottom};
}

}  // namespace automenu::platform
