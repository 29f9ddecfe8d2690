// Enhanced metafile records ([MS-EMF] 2.3), played through MetafileDC.
#include <vector>

#include "formats/ByteReader.h"
#include "platform/metafile/MetafileRecordPlayers.h"
#include "platform/metafile/MetafileText.h"

namespace automenu::platform {

namespace {

enum EmrType : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14, EMR_SETMAPPERFLAGS = 16, EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27,
    EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45,
    EMR_CHORD = 46, EMR_PIE = 47, EMR_SELECTPALETTE = 48, EMR_CREATEPALETTE = 49, EMR_SETPALETTEENTRIES = 50,
    EMR_RESIZEPALETTE = 51, EMR_REALIZEPALETTE = 52, EMR_LINETO = 54, EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57, EMR_SETMITERLIMIT = 58, EMR_BEGINPATH = 59, EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62, EMR_STROKEANDFILLPATH = 63, EMR_STROKEPATH = 64,
    EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68, EMR_FILLRGN = 71, EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_EXTCREATEPEN = 95, EMR_POLYTEXTOUTA = 96, EMR_POLYTEXTOUTW = 97,
    EMR_ALPHABLEND = 114, EMR_GRADIENTFILL = 118,
    EMR_SETTEXTJUSTIFICATION = 120,
};

enum : std::uint32_t { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2 };

// EMR_EXTCREATEFONTINDIRECTW up to the end of its LOGFONTW: what the platform reads at least.
constexpr std::size_t kLogFontRecordSize = 12 + 92;

// The rectangle (l, t, r, b) as four 32-bit values.
struct Box {
    double l, t, r, b;
};
Box ReadBox(ByteReader& r) {
    Box b;
    b.l = r.I32();
    b.t = r.I32();
    b.r = r.I32();
    b.b = r.I32();
    return b;
}

MfMatrix ReadXform(ByteReader& r) {
    const double m11 = r.F32(), m12 = r.F32(), m21 = r.F32(), m22 = r.F32(), dx = r.F32(), dy = r.F32();
    return MfMatrix{m11, m12, m21, m22, dx, dy};
}

// A DIB stored in a record at offsets from the record's start. `whole`:
// whether its parts lie in the record and its bits hold every row.
std::shared_ptr<const MfBitmap> RecordDib(MetafileDC& dc, std::span<const std::uint8_t> rec, std::uint32_t off_bmi,
                                          std::uint32_t cb_bmi, std::uint32_t off_bits, std::uint32_t cb_bits,
                                          bool& whole, bool alpha = false) {
    whole = false;
    if (cb_bmi == 0) return nullptr;
    ByteReader all(rec);
    ByteReader info = all.Sub(off_bmi, cb_bmi);
    std::span<const std::uint8_t> bits;
    if (off_bits <= rec.size()) bits = rec.subspan(off_bits, std::min<std::size_t>(cb_bits, rec.size() - off_bits));
    auto bitmap = dc.DecodeDib(info.Data(), bits, alpha, whole);
    if (off_bits > rec.size() || cb_bits > rec.size() - off_bits) whole = false;
    return bitmap;
}

// A region of `size` bytes (RGNDATA). What does not add up (a count past
// the data, a header too short) leaves the record loose.
MfRegion ReadRegion(MetafileDC& dc, ByteReader& r, std::uint32_t size) {
    MfRegion region;
    if (size < 32) {
        dc.Loose();
        return region;
    }
    ByteReader data(r.Take(size));
    data.U32();  // header size
    data.U32();  // type
    std::uint32_t count = data.U32();
    data.U32();  // byte size of the rectangles
    data.Skip(16);  // bounds
    if (count > data.Remaining() / 16) {
        dc.Loose();
        count = static_cast<std::uint32_t>(data.Remaining() / 16);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        TRect rc;
        rc.left = data.I32();
        rc.top = data.I32();
        rc.right = data.I32();
        rc.bottom = data.I32();
        region.rects.push_back(rc);
    }
    return region;
}

// `count` palette entries (red, green, blue, flags), as 0x00BBGGRR; those
// past what a palette keeps are read past.
MfFont ReadLogFontW(ByteReader& r) {
    MfFont f;
    f.height = r.I32();
    r.I32();  // width
    f.escapement = r.I32();
    r.I32();  // orientation
    f.weight = r.I32();
    f.italic = r.U8() != 0;
    f.underline = r.U8() != 0;
    f.strike_out = r.U8() != 0;
    r.Skip(5);  // charset, precision, quality, pitch and family
    f.face = Utf16ToUtf8(r.TakeUpTo(64), 32);
    return f;
}

// An EMRTEXT (a reference point, the string's length, offset and options,
// a rectangle, the advances' offset; offsets from the record's start) read
// from `r` and drawn.
void PlayEmrText(MetafileDC& dc, ByteReader& r, std::span<const std::uint8_t> rec, bool wide) {
    MfPoint ref;
    ref.x = r.I32();
    ref.y = r.I32();
    const std::uint32_t chars = r.U32();
    const std::uint32_t off_string = r.U32();
    const std::uint32_t options = r.U32();
    double rect[4];
    for (double& v : rect) v = r.I32();
    const std::uint32_t off_dx = r.U32();
    ByteReader all(rec);
    const std::size_t unit = wide ? 2 : 1;
    const std::span<const std::uint8_t> str =
        chars > 0 ? all.Sub(off_string, std::size_t{chars} * unit).Data() : std::span<const std::uint8_t>();
    // Nothing is made for a string the budget could not draw.
    if (!dc.CanAfford(kTextUnits + std::uint64_t{chars} * kUnitsPerCharacter)) return;
    const std::size_t dx_size = std::size_t{chars} * 4 * (options & ETO_PDY ? 2 : 1);
    std::span<const std::uint8_t> dx;
    if (off_dx != 0 && off_dx <= rec.size() && rec.size() - off_dx >= dx_size) dx = all.Sub(off_dx, dx_size).Data();
    else if (chars > 0) dc.Loose();  // advances past the record: drawn with the font's
    dc.TextOut(ref, DecodeTextString(str, wide, options, dx, 4), options, rect);
}

void ExtTextOut(MetafileDC& dc, ByteReader& r, std::span<const std::uint8_t> rec, bool wide) {
    r.Skip(16);  // bounds
    r.U32();     // graphics mode
    r.F32();     // x scale
    r.F32();     // y scale
    PlayEmrText(dc, r, rec, wide);
}

// EMR_POLYTEXTOUTA/W: the same header, then a count of EMRTEXT structures,
// each drawn as its own EMR_EXTTEXTOUT.
void PolyTextOut(MetafileDC& dc, ByteReader& r, std::span<const std::uint8_t> rec, bool wide) {
    r.Skip(16 + 12);  // bounds, graphics mode, scales
    const std::uint32_t count = r.U32();
    constexpr std::size_t kEmrTextSize = 40;
    if (count > r.Remaining() / kEmrTextSize) throw ReadPastEnd();
    for (std::uint32_t i = 0; i < count; ++i) PlayEmrText(dc, r, rec, wide);
}

// EMR_GRADIENTFILL ([MS-EMF] 2.3.5.12): nVer TriVertex objects, then nTri
// GradientRectangle (two indices) or GradientTriangle (three indices)
// objects. After rectangles come 4 bytes of padding for each, not read.
void GradientFill(MetafileDC& dc, ByteReader& r) {
    r.Skip(16);  // bounds
    const std::uint32_t vertex_count = r.U32();
    const std::uint32_t shape_count = r.U32();
    const std::uint32_t mode = r.U32();
    if (mode > GRADIENT_FILL_TRIANGLE) return;  // GDI refuses the call
    const std::size_t corners = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
    // Both counts are held to what the record has room for before anything is made.
    if (vertex_count > r.Remaining() / 16) throw ReadPastEnd();
    if (shape_count > (r.Remaining() - std::size_t{vertex_count} * 16) / (corners * 4)) throw ReadPastEnd();
    std::vector<MfVertex> vertices(vertex_count);
    for (MfVertex& v : vertices) {
        v.p.x = r.I32();
        v.p.y = r.I32();
        // 16-bit channels, of which a 24-bit device keeps the high byte. The
        // alpha is ignored: GradientFill does not blend.
        const std::uint32_t red = r.U16() >> 8, green = r.U16() >> 8, blue = r.U16() >> 8;
        r.U16();
        v.colour = red | green << 8 | blue << 16;
    }
    std::vector<std::uint32_t> indices(shape_count * corners);
    for (std::uint32_t& i : indices) {
        i = r.U32();
        if (i >= vertex_count) return dc.Refuse();  // GDI refuses the whole call, drawing nothing
    }
    for (std::size_t at = 0; at < indices.size(); at += corners) {
        const MfVertex& a = vertices[indices[at]];
        const MfVertex& b = vertices[indices[at + 1]];
        if (mode == GRADIENT_FILL_TRIANGLE) dc.GradientTriangle(a, b, vertices[indices[at + 2]]);
        else dc.GradientRect(a, b, mode == GRADIENT_FILL_RECT_V);
    }
}

// `handles`: the size of the header's object table. An index outside it (or
// 0, the metafile's own) does not add up, though it is played.
void PlayRecord(MetafileDC& dc, std::uint32_t type, std::span<const std::uint8_t> rec, std::uint32_t handles) {
    ByteReader r(rec);
    r.Skip(8);
    auto index_of = [&](std::uint32_t index, bool stock_allowed) {
        if (stock_allowed && (index & 0x80000000u)) return index;
        if (index == 0 || index >= handles) dc.Loose();
        return index;
    };
    switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO: case EMR_POLYLINETO:
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16: {
        r.Skip(16);
        const bool short_form = type >= EMR_POLYBEZIER16;
        const std::uint32_t count = r.U32();
        if (!dc.CanAfford(count)) break;
        const auto pts = ReadPoints(r, count, short_form);
        switch (short_form ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type) {
        case EMR_POLYBEZIER: dc.PolyBezier(pts); break;
        case EMR_POLYGON: dc.Polygon(pts); break;
        case EMR_POLYLINE: dc.Polyline(pts); break;
        case EMR_POLYBEZIERTO: dc.PolyBezierTo(pts); break;
        default: dc.PolylineTo(pts); break;
        }
        break;
    }
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16: {
        r.Skip(16);
        const std::uint32_t polys = r.U32();
        const std::uint32_t total = r.U32();
        if (polys > r.Remaining() / 4) throw ReadPastEnd();
        std::vector<std::uint32_t> counts(polys);
        std::uint64_t sum = 0;
        for (auto& c : counts) sum += c = r.U32();
        if (sum != total) dc.Loose();
        const bool short_form = type >= EMR_POLYPOLYLINE16;
        if (!dc.CanAfford(total)) break;
        const auto pts = ReadPoints(r, total, short_form);
        if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16) dc.PolyPolygon(pts, counts);
        else dc.PolyPolyline(pts, counts);
        break;
    }
    case EMR_SETWINDOWEXTEX: { double x = r.I32(); dc.SetWindowExt(x, r.I32()); break; }
    case EMR_SETWINDOWORGEX: { double x = r.I32(); dc.SetWindowOrg(x, r.I32()); break; }
    case EMR_SETVIEWPORTEXTEX: { double x = r.I32(); dc.SetViewportExt(x, r.I32()); break; }
    case EMR_SETVIEWPORTORGEX: { double x = r.I32(); dc.SetViewportOrg(x, r.I32()); break; }
    case EMR_SCALEVIEWPORTEXTEX: case EMR_SCALEWINDOWEXTEX: {
        const double xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
        if (type == EMR_SCALEWINDOWEXTEX) dc.ScaleWindowExt(xn, xd, yn, yd);
        else dc.ScaleViewportExt(xn, xd, yn, yd);
        break;
    }
    case EMR_SETPIXELV: { MfPoint p; p.x = r.I32(); p.y = r.I32(); dc.SetPixel(p, r.U32()); break; }
    case EMR_SETMAPMODE: dc.SetMapMode(r.I32()); break;
    case EMR_SETBKMODE: dc.SetBkMode(r.I32()); break;
    case EMR_SETPOLYFILLMODE: dc.SetPolyFillMode(r.I32()); break;
    case EMR_SETTEXTALIGN: dc.SetTextAlign(r.U32()); break;
    case EMR_SETTEXTCOLOR: dc.SetTextColour(r.U32()); break;
    case EMR_SETBKCOLOR: dc.SetBkColour(r.U32()); break;
    case EMR_SETARCDIRECTION: dc.SetArcDirection(r.I32()); break;
    case EMR_SETMITERLIMIT: dc.SetMiterLimit(r.U32()); break;
    case EMR_MOVETOEX: { MfPoint p; p.x = r.I32(); p.y = r.I32(); dc.MoveTo(p); break; }
    case EMR_LINETO: { MfPoint p; p.x = r.I32(); p.y = r.I32(); dc.LineTo(p); break; }
    case EMR_EXCLUDECLIPRECT: { Box b = ReadBox(r); dc.ExcludeClipRect(b.l, b.t, b.r, b.b); break; }
    case EMR_INTERSECTCLIPRECT: { Box b = ReadBox(r); dc.IntersectClipRect(b.l, b.t, b.r, b.b); break; }
    case EMR_SAVEDC: dc.SaveDC(); break;
    case EMR_RESTOREDC: dc.RestoreDC(r.I32()); break;
    case EMR_SETWORLDTRANSFORM: dc.SetWorldTransform(ReadXform(r)); break;
    case EMR_MODIFYWORLDTRANSFORM: { MfMatrix m = ReadXform(r); dc.ModifyWorldTransform(m, r.I32()); break; }
    case EMR_SELECTOBJECT: dc.SelectObject(index_of(r.U32(), true)); break;
    case EMR_DELETEOBJECT: dc.DeleteObject(index_of(r.U32(), false)); break;
    case EMR_CREATEPEN: {
        const std::uint32_t index = index_of(r.U32(), false);
        MfPen pen;
        pen.style = r.U32();
        pen.width = r.I32();
        r.I32();
        pen.colour = r.U32();
        dc.CreateObject(index, pen);
        break;
    }
    case EMR_EXTCREATEPEN: {
        const std::uint32_t index = index_of(r.U32(), false);
        r.Skip(16);  // brush bitmap offsets
        MfPen pen;
        pen.style = r.U32();
        pen.width = r.U32();
        const std::uint32_t brush_style = r.U32();
        pen.colour = r.U32();
        r.U32();  // hatch
        std::uint32_t entries = r.U32();
        // The platform reads every style entry the pen declares, and a
        // pattern brush's bitmap: neither is read here.
        if (entries > r.Remaining() / 4 ||
            (brush_style != BS_SOLID && brush_style != BS_NULL && brush_style != BS_HATCHED))
            dc.Loose();
        if ((pen.style & PS_STYLE_MASK) == PS_USERSTYLE) {
            entries = std::min<std::uint32_t>(entries, 16);
            for (std::uint32_t i = 0; i < entries && r.Remaining() >= 4; ++i)
                pen.dashes.push_back(r.U32() / std::max(pen.width, 1.0));
        }
        if (brush_style == BS_NULL) pen.style = (pen.style & ~PS_STYLE_MASK) | PS_NULL;
        if (!(pen.style & PS_GEOMETRIC)) pen.width = 0;
        dc.CreateObject(index, pen);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const std::uint32_t index = index_of(r.U32(), false);
        MfBrush brush;
        brush.style = r.U32();
        brush.colour = r.U32();
        brush.hatch = r.U32();
        dc.CreateObject(index, brush);
        break;
    }
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT: {
        const std::uint32_t index = index_of(r.U32(), false);
        r.U32();  // usage
        const std::uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
        MfBrush brush;
        brush.style = BS_DIBPATTERNPT;
        bool whole = false;
        brush.pattern = RecordDib(dc, rec, off_bmi, cb_bmi, off_bits, cb_bits, whole);
        if (!brush.pattern || !whole) dc.StandIn(RecordOutcome::StandIn::kWhiteBrush);
        dc.CreateObject(index, brush);
        break;
    }
    case EMR_CREATEPALETTE: {
        const std::uint32_t index = index_of(r.U32(), false);
        r.U16();  // version
        dc.CreateObject(index, MfPalette{dc.ReadPaletteEntries(r, r.U16())});
        break;
    }
    case EMR_SELECTPALETTE: dc.SelectPalette(index_of(r.U32(), true)); break;
    case EMR_SETPALETTEENTRIES: {
        const std::uint32_t index = index_of(r.U32(), false);
        const std::uint32_t start = r.U32();
        const std::vector<std::uint32_t> entries = dc.ReadPaletteEntries(r, r.U32());
        dc.SetPaletteEntries(index, start, entries);
        break;
    }
    case EMR_RESIZEPALETTE: {
        const std::uint32_t index = index_of(r.U32(), false);
        dc.ResizePalette(index, r.U32());
        break;
    }
    case EMR_REALIZEPALETTE: break;  // the colours are the entries themselves
    case EMR_EXTCREATEFONTINDIRECTW: {
        const std::uint32_t index = index_of(r.U32(), false);
        if (rec.size() < kLogFontRecordSize) dc.Loose();
        dc.CreateObject(index, ReadLogFontW(r));
        break;
    }
    case EMR_ELLIPSE: { Box b = ReadBox(r); dc.Ellipse(b.l, b.t, b.r, b.b); break; }
    case EMR_RECTANGLE: { Box b = ReadBox(r); dc.Rectangle(b.l, b.t, b.r, b.b); break; }
    case EMR_ROUNDRECT: {
        Box b = ReadBox(r);
        const double w = r.I32(), h = r.I32();
        dc.RoundRect(b.l, b.t, b.r, b.b, w, h);
        break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO: {
        Box b = ReadBox(r);
        MfPoint s, e;
        s.x = r.I32(); s.y = r.I32(); e.x = r.I32(); e.y = r.I32();
        const auto kind = type == EMR_ARC ? MetafileDC::ArcKind::Arc
                          : type == EMR_CHORD ? MetafileDC::ArcKind::Chord
                          : type == EMR_PIE ? MetafileDC::ArcKind::Pie : MetafileDC::ArcKind::ArcTo;
        dc.Arc(kind, b.l, b.t, b.r, b.b, s, e);
        break;
    }
    case EMR_BEGINPATH: dc.BeginPath(); break;
    case EMR_ENDPATH: dc.EndPath(); break;
    case EMR_CLOSEFIGURE: dc.CloseFigure(); break;
    case EMR_FILLPATH: dc.FillPath(); break;
    case EMR_STROKEANDFILLPATH: dc.StrokeAndFillPath(); break;
    case EMR_STROKEPATH: dc.StrokePath(); break;
    case EMR_ABORTPATH: dc.AbortPath(); break;
    case EMR_SELECTCLIPPATH: dc.SelectClipPath(r.I32()); break;
    case EMR_EXTSELECTCLIPRGN: {
        const std::uint32_t size = r.U32();
        const int mode = r.I32();
        if (size == 0) {
            dc.SelectClipRegion(nullptr, mode);
        } else {
            const MfRegion region = ReadRegion(dc, r, size);
            dc.SelectClipRegion(&region, mode);
        }
        break;
    }
    case EMR_FILLRGN: {
        r.Skip(16);
        const std::uint32_t size = r.U32();
        const std::uint32_t brush_index = index_of(r.U32(), true);
        const MfRegion region = ReadRegion(dc, r, size);
        if (const auto brush = dc.BrushAt(brush_index)) dc.FillRegion(region, *brush);
        else dc.Refuse();
        break;
    }
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_ALPHABLEND: {
        r.Skip(16);
        const double x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
        const std::uint32_t rop = r.U32();
        const double sx = r.I32(), sy = r.I32();
        r.Skip(24);  // source transform
        r.U32();     // source background colour
        r.U32();     // usage
        const std::uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
        double scx = cx, scy = cy;
        if (type != EMR_BITBLT) {
            scx = r.I32();
            scy = r.I32();
        }
        if (cb_bmi == 0) {
            dc.PatBlt(x, y, x + cx, y + cy, rop);
            break;
        }
        double alpha = 1;
        bool with_alpha = false;
        if (type == EMR_ALPHABLEND) {
            alpha = ((rop >> 16) & 0xFF) / 255.0;
            with_alpha = ((rop >> 24) & 0xFF) != 0;
        }
        bool whole = false;
        if (auto bmp = RecordDib(dc, rec, off_bmi, cb_bmi, off_bits, cb_bits, whole, with_alpha))
            dc.DrawBitmap(*bmp, x, y, cx, cy, sx, sy, scx, scy, type == EMR_ALPHABLEND ? 0x00CC0020 : rop, alpha);
        else dc.Refuse();
        if (!whole) dc.Loose();
        break;
    }
    case EMR_STRETCHDIBITS: case EMR_SETDIBITSTODEVICE: {
        r.Skip(16);
        const double x = r.I32(), y = r.I32(), sx = r.I32(), sy = r.I32(), scx = r.I32(), scy = r.I32();
        const std::uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
        double cx = scx, cy = scy;
        std::uint32_t rop = 0x00CC0020;  // SRCCOPY
        if (type == EMR_STRETCHDIBITS) {
            r.U32();  // usage
            rop = r.U32();
            cx = r.I32();
            cy = r.I32();
        }
        bool whole = false;
        if (auto bmp = RecordDib(dc, rec, off_bmi, cb_bmi, off_bits, cb_bits, whole))
            dc.DrawBitmap(*bmp, x, y, cx, cy, sx, bmp->SourceTop(sy, scy), scx, scy, rop);
        else dc.Refuse();
        if (!whole) dc.Loose();
        break;
    }
    case EMR_EXTTEXTOUTA: ExtTextOut(dc, r, rec, false); break;
    case EMR_EXTTEXTOUTW: ExtTextOut(dc, r, rec, true); break;
    case EMR_POLYTEXTOUTA: PolyTextOut(dc, r, rec, false); break;
    case EMR_POLYTEXTOUTW: PolyTextOut(dc, r, rec, true); break;
    case EMR_GRADIENTFILL: GradientFill(dc, r); break;
    case EMR_SETROP2: dc.SetRop2(r.I32()); break;
    case EMR_SETBRUSHORGEX: case EMR_SETSTRETCHBLTMODE: case EMR_SETMAPPERFLAGS:
    case EMR_SETTEXTJUSTIFICATION:
        // Drawing modes of the platform's own player that are not used here:
        // applied there (when the record holds them whole), ignored here.
        if (rec.size() < (type == EMR_SETBRUSHORGEX || type == EMR_SETTEXTJUSTIFICATION ? 16u : 12u)) dc.Refuse();
        break;
    default:  // not drawn by us (palettes, comments, colour management...)
        dc.Refuse();
        break;
    }
}

}  // namespace

void PlayEmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer) {
    // The frame maps onto the destination, through the reference device the
    // records were made for.
    const double fl = bits.emf_frame.left, ft = bits.emf_frame.top;
    const double fr = bits.emf_frame.right, fb = bits.emf_frame.bottom;
    const double dev_cx = bits.emf_device_px.cx, dev_cy = bits.emf_device_px.cy;
    const double mm_cx = bits.emf_device_mm.cx, mm_cy = bits.emf_device_mm.cy;
    if (dev_cx <= 0 || dev_cy <= 0 || mm_cx <= 0 || mm_cy <= 0) return;
    const double px_mm_x = dev_cx / mm_cx, px_mm_y = dev_cy / mm_cy;
    const double fw = (fr - fl) * px_mm_x / 100, fh = (fb - ft) * px_mm_y / 100;
    if (fw == 0 || fh == 0) return;
    const double sx = (dest.right - dest.left) / fw, sy = (dest.bottom - dest.top) / fh;
    const MfMatrix playback =
        MfMatrix::Scale(sx, sy, dest.left - fl * px_mm_x / 100 * sx, dest.top - ft * px_mm_y / 100 * sy);
    MfMatrix check = playback;
    if (!check.Invert()) return;
    dc.SetPlaybackTransform(playback);
    dc.SetDeviceResolution(px_mm_x, px_mm_y);

    const std::span<const std::uint8_t> records = bits.records;
    std::uint32_t handles = 0;
    if (records.size() >= 58) handles = ByteReader(records.subspan(56, 2)).U16();
    std::size_t pos = 0;
    while (records.size() - pos >= 8) {
        ByteReader head(records.subspan(pos, 8));
        const std::uint32_t type = head.U32();
        const std::uint32_t size = head.U32();
        if (size < 8 || size % 4 != 0 || size > records.size() - pos) return;
        if (type == EMR_EOF) return;
        dc.BeginRecord();
        if (!dc.Spend(1)) return;
        if (pos == 0 && type == EMR_HEADER) {
            pos += size;
            continue;
        }
        const auto record = records.subspan(pos, size);
        PlayOneRecord(dc, record, observer, [&] {
            if (type == EMR_HEADER) dc.Refuse();
            else PlayRecord(dc, type, record, handles);
        });
        pos += size;
    }
}

}  // namespace automenu::platform
