// Windows metafile records ([MS-WMF] 2.3), played through the same
// MetafileDC as enhanced metafiles. Parameters come in reverse order
// (y before x, bottom before top), as the format stores them.
#include <functional>
#include <queue>
#include <vector>

#include "formats/ByteReader.h"
#include "platform/metafile/MetafileRecordPlayers.h"
#include "platform/metafile/MetafileText.h"

namespace automenu::platform {

namespace {

enum WmfFunction : std::uint16_t {
    META_EOF = 0x0000, META_SAVEDC = 0x001E, META_RESTOREDC = 0x0127, META_SETMAPMODE = 0x0103,
    META_SETBKMODE = 0x0102, META_SETPOLYFILLMODE = 0x0106, META_SETTEXTALIGN = 0x012E,
    META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209, META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C, META_SETVIEWPORTORG = 0x020D, META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F, META_OFFSETVIEWPORTORG = 0x0211, META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412, META_MOVETO = 0x0214, META_LINETO = 0x0213, META_POLYLINE = 0x0325,
    META_POLYGON = 0x0324, META_POLYPOLYGON = 0x0538, META_RECTANGLE = 0x041B, META_ROUNDRECT = 0x061C,
    META_ELLIPSE = 0x0418, META_ARC = 0x0817, META_CHORD = 0x0830, META_PIE = 0x081A,
    META_SETPIXEL = 0x041F, META_PATBLT = 0x061D, META_TEXTOUT = 0x0521, META_EXTTEXTOUT = 0x0A32,
    META_INTERSECTCLIPRECT = 0x0416, META_EXCLUDECLIPRECT = 0x0415, META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D, META_DELETEOBJECT = 0x01F0, META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEBRUSHINDIRECT = 0x02FC, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEPALETTE = 0x00F7,
    META_CREATEPATTERNBRUSH = 0x01F9, META_DIBCREATEPATTERNBRUSH = 0x0142, META_CREATEREGION = 0x06FF,
    META_STRETCHDIB = 0x0F43, META_DIBSTRETCHBLT = 0x0B41, META_DIBBITBLT = 0x0940, META_SETDIBTODEV = 0x0D33,
    META_SETROP2 = 0x0104, META_SETRELABS = 0x0105, META_SETSTRETCHBLTMODE = 0x0107, META_SETTEXTCHAREXTRA = 0x0108,
    META_SETTEXTJUSTIFICATION = 0x020A, META_SETMAPPERFLAGS = 0x0231, META_SELECTPALETTE = 0x0234,
    META_REALIZEPALETTE = 0x0035, META_SETPALENTRIES = 0x0037, META_RESIZEPALETTE = 0x0139,
};

constexpr std::size_t kMaxObjects = 65535;

class WmfPlayer {
public:
    WmfPlayer(MetafileDC& dc, std::size_t objects) : m_dc(dc), m_in_use(std::min(objects, kMaxObjects), false) {}

    void Play(std::uint16_t function, std::span<const std::uint8_t> params);

private:
    // New objects take the lowest free slot of the table. Slots from m_next
    // on have never been used; freed ones below it wait in a min-heap, so a
    // file that fills the table and goes on creating costs nothing extra.
    void Create(MfObject object) {
        std::size_t slot;
        if (!m_freed.empty()) {
            slot = m_freed.top();
            m_freed.pop();
        } else if (m_next < m_in_use.size()) {
            slot = m_next++;
        } else {
            return m_dc.Refuse();  // the table is full: the object is not made
        }
        m_in_use[slot] = true;
        m_dc.CreateObject(static_cast<std::uint32_t>(slot), std::move(object));
    }
    void Delete(std::uint16_t index) {
        if (index < m_in_use.size() && m_in_use[index]) {
            m_in_use[index] = false;
            m_freed.push(index);
        }
        m_dc.DeleteObject(index);
    }
    void Bitmap(std::span<const std::uint8_t> dib, double x, double y, double w, double h, double sx, double sy,
                double sw, double sh, std::uint32_t rop);

    MetafileDC& m_dc;
    std::vector<bool> m_in_use;
    std::size_t m_next = 0;
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> m_freed;
};

void WmfPlayer::Bitmap(std::span<const std::uint8_t> dib, double x, double y, double w, double h, double sx,
                       double sy, double sw, double sh, std::uint32_t rop) {
    bool whole = false;
    if (auto bmp = m_dc.DecodeDib(dib, std::nullopt, false, whole))
        m_dc.DrawBitmap(*bmp, x, y, w, h, sx, bmp->SourceTop(sy, sh), sw, sh, rop);
    else m_dc.Refuse();
    if (!whole) m_dc.Loose();
}

void WmfPlayer::Play(std::uint16_t function, std::span<const std::uint8_t> params) {
    ByteReader r(params);
    auto i16 = [&r]() -> double { return r.I16(); };
    switch (function) {
    case META_SAVEDC: m_dc.SaveDC(); break;
    case META_RESTOREDC: m_dc.RestoreDC(r.I16()); break;
    case META_SETMAPMODE: m_dc.Refuse(); break;  // played anisotropically into the destination, whatever it says
    case META_SETBKMODE: m_dc.SetBkMode(r.I16()); break;
    case META_SETPOLYFILLMODE: m_dc.SetPolyFillMode(r.I16()); break;
    case META_SETTEXTALIGN: m_dc.SetTextAlign(r.U16()); break;
    case META_SETBKCOLOR: m_dc.SetBkColour(r.U32()); break;
    case META_SETTEXTCOLOR: m_dc.SetTextColour(r.U32()); break;
    case META_SETWINDOWORG: { const double y = i16(); m_dc.SetWindowOrg(i16(), y); break; }
    case META_SETWINDOWEXT: { const double y = i16(); m_dc.SetWindowExt(i16(), y); break; }
    case META_SETVIEWPORTORG: case META_SETVIEWPORTEXT: m_dc.Refuse(); break;  // the destination is the viewport
    case META_OFFSETWINDOWORG: { const double y = i16(); m_dc.OffsetWindowOrg(i16(), y); break; }
    case META_OFFSETVIEWPORTORG: m_dc.Refuse(); break;
    case META_SCALEWINDOWEXT: {
        const double yd = i16(), yn = i16(), xd = i16(), xn = i16();
        m_dc.ScaleWindowExt(xn, xd, yn, yd);
        break;
    }
    case META_SCALEVIEWPORTEXT: m_dc.Refuse(); break;
    case META_MOVETO: { const double y = i16(); m_dc.MoveTo({i16(), y}); break; }
    case META_LINETO: { const double y = i16(); m_dc.LineTo({i16(), y}); break; }
    case META_POLYLINE: case META_POLYGON: {
        const std::uint16_t count = r.U16();
        if (!m_dc.CanAfford(count)) break;
        const auto pts = ReadPoints(r, count, true);
        if (function == META_POLYLINE) m_dc.Polyline(pts);
        else m_dc.Polygon(pts);
        break;
    }
    case META_POLYPOLYGON: {
        const std::uint16_t polys = r.U16();
        if (polys > r.Remaining() / 2) throw ReadPastEnd();
        std::vector<std::uint32_t> counts(polys);
        std::size_t total = 0;
        for (auto& c : counts) {
            c = r.U16();
            total += c;
        }
        if (m_dc.CanAfford(total)) m_dc.PolyPolygon(ReadPoints(r, total, true), counts);
        break;
    }
    case META_RECTANGLE: case META_ELLIPSE: case META_INTERSECTCLIPRECT: case META_EXCLUDECLIPRECT: {
        const double b = i16(), rt = i16(), t = i16(), l = i16();
        if (function == META_RECTANGLE) m_dc.Rectangle(l, t, rt, b);
        else if (function == META_ELLIPSE) m_dc.Ellipse(l, t, rt, b);
        else if (function == META_INTERSECTCLIPRECT) m_dc.IntersectClipRect(l, t, rt, b);
        else m_dc.ExcludeClipRect(l, t, rt, b);
        break;
    }
    case META_ROUNDRECT: {
        const double h = i16(), w = i16(), b = i16(), rt = i16(), t = i16(), l = i16();
        m_dc.RoundRect(l, t, rt, b, w, h);
        break;
    }
    case META_ARC: case META_CHORD: case META_PIE: {
        const double ye = i16(), xe = i16(), ys = i16(), xs = i16(), b = i16(), rt = i16(), t = i16(), l = i16();
        const auto kind = function == META_ARC ? MetafileDC::ArcKind::Arc
                          : function == META_CHORD ? MetafileDC::ArcKind::Chord : MetafileDC::ArcKind::Pie;
        m_dc.Arc(kind, l, t, rt, b, {xs, ys}, {xe, ye});
        break;
    }
    case META_SETPIXEL: {
        const std::uint32_t colour = r.U32();
        const double y = i16();
        m_dc.SetPixel({i16(), y}, colour);
        break;
    }
    case META_PATBLT: {
        const std::uint32_t rop = r.U32();
        const double h = i16(), w = i16(), y = i16(), x = i16();
        m_dc.PatBlt(x, y, x + w, y + h, rop);
        break;
    }
    case META_TEXTOUT: {
        const std::uint16_t count = r.U16();
        const auto text = r.Take(count);
        if (count & 1) r.Skip(1);
        const double y = i16();
        m_dc.TextOut({i16(), y}, DecodeTextString(text, false, 0, {}, 0), 0, nullptr);
        break;
    }
    case META_EXTTEXTOUT: {
        const double y = i16(), x = i16();
        const std::uint16_t count = r.U16();
        const std::uint16_t options = r.U16();
        double rect[4] = {0, 0, 0, 0};
        const bool has_rect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
        if (has_rect)
            for (double& v : rect) v = i16();
        const auto text = r.Take(count);
        if (count & 1) r.Skip(1);
        // The advances, one 16-bit value a character (two with ETO_PDY), fill the rest of the record.
        const std::size_t dx_size = std::size_t{count} * 2 * (options & ETO_PDY ? 2 : 1);
        std::span<const std::uint8_t> dx;
        if (r.Remaining() >= dx_size)
            dx = r.Take(dx_size);
        else if (r.Remaining() > 0)
            m_dc.Loose();  // advances cut short: drawn with the font's
        m_dc.TextOut({x, y}, DecodeTextString(text, false, options, dx, 2), options, has_rect ? rect : nullptr);
        break;
    }
    case META_SELECTCLIPREGION: case META_SELECTOBJECT: case META_DELETEOBJECT: {
        const std::uint16_t index = r.U16();
        if (index >= m_in_use.size()) m_dc.Loose();  // no slot of the table
        if (function == META_DELETEOBJECT) Delete(index);
        else m_dc.SelectObject(index);
        break;
    }
    case META_CREATEPENINDIRECT: {
        MfPen pen;
        pen.style = r.U16();
        pen.width = r.I16();
        r.I16();
        pen.colour = r.U32();
        Create(pen);
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        MfBrush brush;
        brush.style = r.U16();
        brush.colour = r.U32();
        brush.hatch = r.U16();
        Create(brush);
        break;
    }
    case META_CREATEFONTINDIRECT: {
        MfFont f;
        f.height = r.I16();
        r.I16();  // width
        f.escapement = r.I16();
        r.I16();
        f.weight = r.I16();
        f.italic = r.U8() != 0;
        f.underline = r.U8() != 0;
        f.strike_out = r.U8() != 0;
        r.Skip(5);  // charset, precision, quality, pitch and family
        f.face = AnsiToUtf8(r.TakeUpTo(32));
        Create(f);
        break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        r.U16();  // style
        r.U16();  // usage
        MfBrush brush;
        brush.style = BS_DIBPATTERNPT;
        bool whole = false;
        brush.pattern = m_dc.DecodeDib(params.subspan(r.Position()), std::nullopt, false, whole);
        if (!brush.pattern || !whole) m_dc.StandIn(RecordOutcome::StandIn::kWhiteBrush);
        Create(brush);
        break;
    }
    case META_CREATEPALETTE: {
        // A palette this player would not keep whole still takes its slot,
        // as an empty object, so the objects after it keep their numbers.
        const std::uint32_t count = params.size() >= 4 ? ByteReader(params.subspan(2)).U16() : ~0u;
        if (count > kMaxPaletteEntries || count > (params.size() - 4) / 4) {
            Create(MfPalette{});
            m_dc.StandIn(RecordOutcome::StandIn::kEmptyObject);
            break;
        }
        r.Skip(4);  // version and count
        Create(MfPalette{m_dc.ReadPaletteEntries(r, count)});
        break;
    }
    case META_SELECTPALETTE: m_dc.SelectPalette(r.U16()); break;
    case META_REALIZEPALETTE: break;  // the colours are the entries themselves
    case META_SETPALENTRIES: {
        // The palette is the one selected; the record names none.
        const std::uint32_t start = r.U16();
        const std::vector<std::uint32_t> entries = m_dc.ReadPaletteEntries(r, r.U16());
        m_dc.SetPaletteEntries(m_dc.SelectedPalette(), start, entries);
        break;
    }
    case META_RESIZEPALETTE: m_dc.ResizePalette(m_dc.SelectedPalette(), r.U16()); break;
    case META_CREATEPATTERNBRUSH: case META_CREATEREGION:
        Create(MfPalette{});  // takes its slot; not drawn
        m_dc.StandIn(RecordOutcome::StandIn::kEmptyObject);
        break;
    case META_STRETCHDIB: {
        const std::uint32_t rop = r.U32();
        r.U16();  // usage
        const double sh = i16(), sw = i16(), sy = i16(), sx = i16(), h = i16(), w = i16(), y = i16(), x = i16();
        Bitmap(params.subspan(r.Position()), x, y, w, h, sx, sy, sw, sh, rop);
        break;
    }
    case META_DIBSTRETCHBLT: case META_DIBBITBLT: {
        const std::uint32_t rop = r.U32();
        const bool stretch = function == META_DIBSTRETCHBLT;
        // Without a bitmap the record carries one more reserved word and paints a pattern.
        const std::size_t plain = stretch ? 18 : 14;
        if (params.size() == plain + 2) {
            double sh = 0, sw = 0;
            if (stretch) { sh = i16(); sw = i16(); }
            i16(); i16(); r.Skip(2);
            const double h = i16(), w = i16(), y = i16(), x = i16();
            (void)sh; (void)sw;
            m_dc.PatBlt(x, y, x + w, y + h, rop);
            break;
        }
        double sh = 0, sw = 0;
        if (stretch) { sh = i16(); sw = i16(); }
        const double sy = i16(), sx = i16(), h = i16(), w = i16(), y = i16(), x = i16();
        if (!stretch) { sh = h; sw = w; }
        Bitmap(params.subspan(r.Position()), x, y, w, h, sx, sy, sw, sh, rop);
        break;
    }
    case META_SETDIBTODEV: {
        r.U16();  // usage
        r.U16();  // scan count
        r.U16();  // start scan
        const double sy = i16(), sx = i16(), h = i16(), w = i16(), y = i16(), x = i16();
        Bitmap(params.subspan(r.Position()), x, y, w, h, sx, sy, w, h, 0x00CC0020);
        break;
    }
    case META_SETROP2: m_dc.SetRop2(r.U16()); break;
    case META_SETRELABS: case META_SETSTRETCHBLTMODE: case META_SETTEXTCHAREXTRA:
    case META_SETTEXTJUSTIFICATION: case META_SETMAPPERFLAGS:
        // Drawing modes of the platform's own player that are not used here:
        // applied there (when the record holds them whole), ignored here.
        if (params.size() < (function == META_SETTEXTJUSTIFICATION || function == META_SETMAPPERFLAGS ? 4u : 2u))
            m_dc.Refuse();
        break;
    default: m_dc.Refuse(); break;
    }
}

}  // namespace

void PlayWmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer) {
    const std::span<const std::uint8_t> records = bits.records;
    ByteReader header(records);
    std::size_t objects = 0;
    std::size_t pos = 0;
    try {
        header.U16();  // type
        const std::uint16_t header_words = header.U16();
        header.Skip(6);  // version, size
        objects = header.U16();
        pos = static_cast<std::size_t>(header_words) * 2;
    } catch (const ReadPastEnd&) {
        return;
    }

    // The placeable bounding box maps onto the destination until the
    // records set their own window.
    const TRect& box = bits.wmf_bounds;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrg(box.left, box.top);
    dc.SetWindowExt(box.right - box.left, box.bottom - box.top);
    dc.SetViewportOrg(dest.left, dest.top);
    dc.SetViewportExt(dest.right - dest.left, dest.bottom - dest.top);
    dc.SetDeviceResolution(96 / 25.4, 96 / 25.4);

    WmfPlayer player(dc, objects);
    while (pos <= records.size() && records.size() - pos >= 6) {
        ByteReader head(records.subspan(pos, 6));
        const std::uint32_t words = head.U32();
        const std::uint16_t function = head.U16();
        if (words < 3 || words > (records.size() - pos) / 2) return;
        if (function == META_EOF) return;
        dc.BeginRecord();
        if (!dc.Spend(1)) return;
        const std::size_t size = static_cast<std::size_t>(words) * 2;
        PlayOneRecord(dc, records.subspan(pos, size), observer,
                      [&] { player.Play(function, records.subspan(pos + 6, size - 6)); });
        pos += size;
    }
}

}  // namespace automenu::platform
