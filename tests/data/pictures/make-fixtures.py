#!/usr/bin/python3
"""Regenerates the picture fixtures and their reference renderings.

Pictures are made by independent tools (ImageMagick's convert, Python PIL,
Inkscape, and the Windows GDI under Wine) so the decoders are checked against
someone else's reading of the formats. Variants that no tool writes (RLE4, 52- and 56-byte headers,
top-down rows, icons with 1..24-bit images) are derived here from tool
output by rearranging its bytes; their references still come from the
tools. Malformed files are named after the fault they carry.

Needs: python3-pil, imagemagick, inkscape, wine64, gcc-mingw-w64-x86-64-win32
(Debian packages).
Run from anywhere: /usr/bin/python3 tests/data/pictures/make-fixtures.py
(with the names of some steps, e.g. "compressed", only those run).
"""
import atexit
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile

try:
    from PIL import Image, ImageDraw
except ImportError:  # only the PNG and JPEG pictures can be made without it
    Image = ImageDraw = None

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"
os.chdir(HERE)


def run(*args, env=None):
    subprocess.run(list(args), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def source_image(w=17, h=11):
    """An odd-sized picture with gradients and flat areas (rows need padding)."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = (x * 255 // (w - 1), y * 255 // (h - 1), (x * 7 + y * 13) % 256)
    d = ImageDraw.Draw(img)
    d.rectangle([2, 2, 6, 5], fill=(255, 255, 0))
    d.line([0, h - 1, w - 1, 0], fill=(0, 0, 0))
    return img


def reference(bmp, png):
    """The picture as PIL reads it, or ImageMagick where PIL cannot."""
    try:
        Image.open(bmp).convert("RGB").save(png)
    except OSError:
        run(CONVERT, bmp, "-alpha", "off", "-define", "png:exclude-chunks=date,time", "PNG24:" + png)


def rewrap(src, dst, size, masks_after=False, compression=None):
    """Writes the pixels of a 124-byte-header file behind another header form."""
    data = open(src, "rb").read()
    assert info_size(data) == 124
    off = struct.unpack_from("<I", data, 10)[0]
    header = bytearray(data[14:14 + 40])
    masks = data[14 + 40:14 + 56]
    if compression is not None:
        struct.pack_into("<I", header, 16, compression)
    struct.pack_into("<I", header, 0, size)
    if size == 40:
        body = bytes(header) + (masks[:12] if masks_after else b"")
    else:
        body = bytes(header) + masks[:size - 40] + data[14 + 56:14 + size]
    pixels = data[off:]
    offset = 14 + len(body)
    write(dst, b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + body + pixels)


def info_size(data):
    return struct.unpack_from("<I", data, 14)[0]


def bitmaps():
    src = source_image()
    src.save("source.png")
    src.save("rgb24_v3.bmp")                                  # PIL: 40-byte header
    run(CONVERT, "source.png", "BMP2:rgb24_core.bmp")         # 12-byte core header
    run(CONVERT, "source.png", "-alpha", "off", "BMP:rgb24_v5.bmp")
    src.convert("1").save("pal1.bmp")
    run(CONVERT, "source.png", "-colors", "16", "BMP3:pal4.bmp")
    src.convert("P", palette=Image.ADAPTIVE, colors=200).save("pal8.bmp")
    run(CONVERT, "pal8.bmp", "-compress", "RLE", "BMP3:rle8.bmp")
    run(CONVERT, "source.png", "-define", "bmp:subtype=RGB565", "BMP:rgb565.bmp")
    run(CONVERT, "source.png", "-define", "bmp:subtype=RGB555", "BMP:rgb555.bmp")
    src.convert("RGBA").save("rgb32.bmp")
    rgba = src.convert("RGBA")
    rgba.putalpha(128)
    rgba.save("alpha.png")
    run(CONVERT, "alpha.png", "BMP:argb32.bmp")               # 32-bit bit fields with an alpha mask
    os.remove("alpha.png")
    for name in ["rgb24_v3", "rgb24_core", "rgb24_v5", "pal1", "pal4", "pal8", "rle8",
                 "rgb565", "rgb555", "rgb32", "argb32"]:
        reference(name + ".bmp", name + ".png")

    # Header forms no tool here writes, rebuilt from the 124-byte files:
    # 108 bytes; 40 bytes with the masks after it; 52 and 56 bytes; and
    # 16-bit BI_RGB (5-5-5 without masks).
    rewrap("rgb24_v5.bmp", "rgb24_v4.bmp", 108)
    rewrap("rgb565.bmp", "rgb565_v3.bmp", 40, masks_after=True)
    rewrap("rgb565.bmp", "rgb565_v52.bmp", 52)
    rewrap("rgb565.bmp", "rgb565_v56.bmp", 56)
    rewrap("rgb555.bmp", "rgb555_bi_rgb.bmp", 40, compression=0)
    for name, ref in (("rgb24_v4", "rgb24_v5"), ("rgb565_v3", "rgb565"), ("rgb565_v52", "rgb565"),
                      ("rgb565_v56", "rgb565"), ("rgb555_bi_rgb", "rgb555")):
        reference(ref + ".bmp", name + ".png")

    # Top-down rows: negative height, rows reversed.
    data = bytearray(open("rgb24_v3.bmp", "rb").read())
    w, h = struct.unpack_from("<ii", data, 18)
    stride = (w * 3 + 3) & ~3
    off = struct.unpack_from("<I", data, 10)[0]
    rows = [data[off + i * stride: off + (i + 1) * stride] for i in range(h)]
    struct.pack_into("<i", data, 22, -h)
    write("topdown24.bmp", bytes(data[:off]) + b"".join(reversed(rows)))
    reference("rgb24_v3.bmp", "topdown24.png")

    # RLE4 from the 4-bit file's indices: encoded runs, absolute runs, line ends.
    data = open("pal4.bmp", "rb").read()
    assert struct.unpack_from("<H", data, 28)[0] == 4, "ImageMagick wrote pal4.bmp without 4 bits"
    off = struct.unpack_from("<I", data, 10)[0]
    w, h = struct.unpack_from("<ii", data, 18)
    stride = ((w * 4 + 31) // 32) * 4
    out = bytearray()
    for y in range(h):
        row = data[off + y * stride: off + (y + 1) * stride]
        idx = [(row[x // 2] >> 4) if x % 2 == 0 else (row[x // 2] & 15) for x in range(w)]
        x = 0
        while x < w:
            n = 1
            while x + n < w and idx[x + n] == idx[x] and n < 255:
                n += 1
            if n >= 2 or w - x < 3:
                out += bytes([n, (idx[x] << 4) | idx[x]])
                x += n
            else:
                n = min(3, w - x)
                nib = idx[x:x + n] + [0]
                out += bytes([0, n, (nib[0] << 4) | nib[1], (nib[2] << 4) | nib[3]])
                x += n
        out += b"\0\0"
    out += b"\0\1"
    hdr = bytearray(data[:off])
    struct.pack_into("<I", hdr, 30, 2)          # BI_RLE4
    struct.pack_into("<I", hdr, 34, len(out))
    struct.pack_into("<I", hdr, 2, len(hdr) + len(out))
    write("rle4.bmp", bytes(hdr) + bytes(out))
    reference("pal4.bmp", "rle4.png")

    # Malformed bitmaps.
    good = open("rgb24_v3.bmp", "rb").read()
    write("empty.bmp", b"")
    write("not_bm_signature.bmp", b"MB" + good[2:])
    bad = bytearray(good); struct.pack_into("<H", bad, 26, 0); write("planes_zero.bmp", bytes(bad))
    write("file_header_cut.bmp", good[:10])
    write("info_header_cut.bmp", good[:30])
    write("palette_cut.bmp", open("pal8.bmp", "rb").read()[:54 + 100])
    write("pixels_cut.bmp", good[:len(good) - 2 * ((17 * 3 + 3) & ~3)])
    bad = bytearray(good); struct.pack_into("<i", bad, 18, 40000); write("width_over_limit.bmp", bytes(bad))
    bad = bytearray(good); struct.pack_into("<ii", bad, 18, 20000, 20000); write("pixel_count_over_limit.bmp", bytes(bad))
    bad = bytearray(good); struct.pack_into("<I", bad, 14, 0x7FFFFFF0); write("info_header_size_huge.bmp", bytes(bad))
    rle = bytearray(open("rle8.bmp", "rb").read())
    off = struct.unpack_from("<I", rle, 10)[0]
    # A run longer than the row, a delta far past the image, then no end marker.
    stream = bytes([255, 3, 0, 0, 0, 2, 200, 200, 5, 7])
    write("rle8_runs_past_image.bmp", bytes(rle[:off]) + stream)
    struct.pack_into("<i", rle, 22, -struct.unpack_from("<i", rle, 22)[0])
    write("rle8_top_down.bmp", bytes(rle))
    write("bitfield_masks_cut.bmp", open("rgb565_v3.bmp", "rb").read()[:58])


def dib_icon_image(bmp_name, mask_rows):
    """An icon image from a bitmap file: header height doubled, AND mask appended."""
    data = open(bmp_name, "rb").read()
    off = struct.unpack_from("<I", data, 10)[0]
    info = bytearray(data[14:off])
    w, h = struct.unpack_from("<ii", info, 4)
    struct.pack_into("<i", info, 8, 2 * h)
    struct.pack_into("<I", info, 20, 0)
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h):  # bottom-up, like the colour rows
        row = bytearray(mask_stride)
        for x in range(w):
            if mask_rows(x, h - 1 - y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return bytes(info) + data[off:] + bytes(mask), w, h


def ico_file(images):
    """images: list of (bytes, width, height, colour count)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for data, w, h, colours in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, 1, 0, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def icons():
    def masked(x, y):
        return (x + y) % 5 == 0 or x < 2

    src = source_image(16, 16)
    src.save("icon16.png")
    images = []
    for bits, colours in ((1, 2), (4, 16), (8, 256), (24, 0)):
        name = "icon%d.bmp" % bits
        if bits == 1:
            src.convert("1").save(name)
        elif bits == 4:
            run(CONVERT, "icon16.png", "-colors", "16", "BMP3:" + name)
        elif bits == 8:
            src.convert("P", palette=Image.ADAPTIVE, colors=100).save(name)
        else:
            src.save(name)
        data, w, h = dib_icon_image(name, masked)
        write("dib%d.ico" % bits, ico_file([(data, w, h, colours)]))
        ref = Image.open(name).convert("RGBA")
        px = ref.load()
        for y in range(h):
            for x in range(w):
                if masked(x, y):
                    px[x, y] = (0, 0, 0, 0)
        ref.save("dib%d.png" % bits)
        os.remove(name)
    os.remove("icon16.png")

    # ImageMagick: 32-bit images with alpha; PIL: PNG images.
    big = source_image(48, 48).convert("RGBA")
    a = Image.new("L", big.size, 0)
    ImageDraw.Draw(a).ellipse([2, 2, 45, 45], fill=255)
    big.putalpha(a)
    big.save("round48.png")
    run(CONVERT, "round48.png", "-define", "icon:auto-resize=48,32,16", "ICO:im_alpha.ico")
    for size in (16, 32, 48):
        im = Image.open("im_alpha.ico")
        im.size = (size, size)
        im.load()
        im.convert("RGBA").save("im_alpha_%d.png" % size)
    big.save("pil_png.ico", sizes=[(32, 32), (48, 48)])
    im = Image.open("pil_png.ico"); im.size = (32, 32); im.load(); im.convert("RGBA").save("pil_png_32.png")
    run(CONVERT, "round48.png", "-define", "icon:auto-resize=256,64,48,32,24,16", "ICO:six_images.ico")
    os.remove("round48.png")

    write("type0.ico", struct.pack("<HHH", 0, 0, 0))
    write("header_cut.ico", b"\0\0\1\0")
    write("cursor_type2.ico", struct.pack("<HHH", 0, 2, 1) + open("dib24.ico", "rb").read()[6:])
    good = bytearray(open("dib24.ico", "rb").read())
    bad = bytearray(good); struct.pack_into("<I", bad, 18, 0x7FFFFF00); write("entry_offset_outside.ico", bytes(bad))
    bad = bytearray(good); struct.pack_into("<H", bad, 4, 500); write("count_exceeds_file.ico", bytes(bad[:200]))


SHAPES = """<svg xmlns="http://www.w3.org/2000/svg" width="160" height="120" viewBox="0 0 160 120">
<rect x="0" y="0" width="160" height="120" fill="#ffffff"/>
<rect x="10" y="10" width="60" height="40" fill="#3060c0" stroke="#000000" stroke-width="2"/>
<ellipse cx="115" cy="35" rx="30" ry="20" fill="#e04020"/>
<polygon points="20,110 60,70 100,110" fill="#20a040" stroke="#104020" stroke-width="3"/>
<polyline points="110,70 130,90 150,70" fill="none" stroke="#800080" stroke-width="4"/>
<path d="M 105 115 C 115 95, 140 95, 150 115" fill="none" stroke="#000000" stroke-width="2"/>
</svg>
"""

OFFICE = """<svg xmlns="http://www.w3.org/2000/svg" width="632" height="453" viewBox="0 0 632 453">
<rect x="0" y="0" width="632" height="453" fill="#f4f4ee"/>
<rect x="0" y="0" width="632" height="60" fill="#1f3f7f"/>
<text x="24" y="40" font-family="DejaVu Sans" font-size="26" fill="#ffffff">Quarterly summary</text>
<g font-family="DejaVu Sans" font-size="14" fill="#202020">
<text x="40" y="100">First item of the list</text><text x="40" y="124">Second item, a little longer</text>
<text x="40" y="148">Third item</text><text x="40" y="172">Fourth item with more words in it</text>
</g>
<g fill="#1f3f7f"><circle cx="28" cy="95" r="4"/><circle cx="28" cy="119" r="4"/><circle cx="28" cy="143" r="4"/><circle cx="28" cy="167" r="4"/></g>
<g stroke="#808080" stroke-width="1" fill="none">
<rect x="40" y="220" width="260" height="180"/><line x1="40" y1="250" x2="300" y2="250"/><line x1="40" y1="280" x2="300" y2="280"/>
<line x1="40" y1="310" x2="300" y2="310"/><line x1="40" y1="340" x2="300" y2="340"/><line x1="40" y1="370" x2="300" y2="370"/>
<line x1="130" y1="220" x2="130" y2="400"/><line x1="215" y1="220" x2="215" y2="400"/></g>
<g font-family="DejaVu Sans" font-size="12" fill="#000000">
<text x="48" y="240">Region</text><text x="138" y="240">Sales</text><text x="223" y="240">Change</text>
<text x="48" y="270">North</text><text x="138" y="270">1 204</text><text x="223" y="270">+4 %</text>
<text x="48" y="300">South</text><text x="138" y="300">986</text><text x="223" y="300">-2 %</text></g>
<g stroke="#000000" stroke-width="1">
<rect x="360" y="300" width="40" height="100" fill="#c0392b"/><rect x="420" y="250" width="40" height="150" fill="#2980b9"/>
<rect x="480" y="200" width="40" height="200" fill="#27ae60"/><rect x="540" y="270" width="40" height="130" fill="#f39c12"/></g>
<line x1="350" y1="400" x2="600" y2="400" stroke="#000000" stroke-width="2"/>
<path d="M 360 180 Q 420 120 480 160 T 600 110" fill="none" stroke="#8e44ad" stroke-width="3" stroke-dasharray="8,4"/>
<ellipse cx="520" cy="110" rx="60" ry="30" fill="#ffffff" fill-opacity="1" stroke="#1f3f7f" stroke-width="2"/>
</svg>
"""


def metafiles():
    for name, svg in (("shapes", SHAPES), ("office", OFFICE)):
        write(name + ".svg", svg.encode())
        for kind in ("emf", "wmf", "png"):
            run("inkscape", name + ".svg", "--export-type=" + kind, "--export-filename=%s.%s" % (name, kind))
        os.remove(name + ".svg")
    emf = open("shapes.emf", "rb").read()
    wmf = open("shapes.wmf", "rb").read()
    write("enhanced_named.wmf", emf)       # the content decides the form
    write("placeable_named.emf", wmf)
    write("empty.emf", b"")
    write("empty.wmf", b"")
    write("placeable_header_cut.wmf", wmf[:12])
    bad = bytearray(wmf); bad[0] ^= 1; write("placeable_bad_key.wmf", bytes(bad))
    bad = bytearray(wmf); bad[20] ^= 1; write("placeable_bad_checksum.wmf", bytes(bad))
    write("emf_shorter_than_stated.emf", emf[:len(emf) - 8])
    bad = bytearray(emf); struct.pack_into("<I", bad, 4, 8); write("emf_header_record_too_small.emf", bytes(bad))
    # A record of size 0 right after the header: playback ends there.
    hs = struct.unpack_from("<I", emf, 4)[0]
    bad = bytearray(emf); struct.pack_into("<I", bad, hs + 4, 0); write("emf_record_size_zero.emf", bytes(bad))
    bad = bytearray(emf); struct.pack_into("<I", bad, hs + 4, 13); write("emf_record_size_odd.emf", bytes(bad))
    bad = bytearray(wmf); struct.pack_into("<I", bad, 22 + 18, 0x7FFFFFFF); write("wmf_record_size_huge.wmf", bytes(bad))


GRADIENTS = """<svg xmlns="http://www.w3.org/2000/svg" width="160" height="120" viewBox="0 0 160 120">
<defs>
<linearGradient id="across" x1="0" y1="0" x2="1" y2="0"><stop offset="0" stop-color="#ff0000"/><stop offset="1" stop-color="#0000ff"/></linearGradient>
<linearGradient id="down" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#ffff00"/><stop offset="1" stop-color="#008080"/></linearGradient>
</defs>
<rect x="0" y="0" width="160" height="120" fill="#ffffff"/>
<rect x="10" y="10" width="80" height="40" fill="url(#across)"/>
<rect x="110" y="10" width="40" height="100" fill="url(#down)"/>
</svg>
"""

# Inkscape writes a linear gradient as EMR_GRADIENTFILL only with its "native
# rectangular linear gradients" output option, which it reads from a profile.
INKSCAPE_NATIVE_GRADIENTS = """<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<inkscape version="1"><group id="extensions" org.inkscape.output.emf.FixPPTLinGrad="true"/></inkscape>
"""


def emf_append(emf, record):
    """The enhanced metafile with a record added before EMR_EOF."""
    pos = struct.unpack_from("<I", emf, 4)[0]
    while struct.unpack_from("<I", emf, pos)[0] != 14:
        pos += struct.unpack_from("<I", emf, pos + 4)[0]
    out = bytearray(emf[:pos] + record + emf[pos:])
    struct.pack_into("<II", out, 48, len(out), struct.unpack_from("<I", emf, 52)[0] + 1)
    return bytes(out)


def gradient_triangles(scale):
    """EMR_GRADIENTFILL, triangle mode: a quadrilateral of two triangles
    sharing an edge, in logical units of `scale` per picture pixel."""
    def vertex(x, y, rgb):
        r, g, b = rgb
        return struct.pack("<ii4H", round(x * scale), round(y * scale), r << 8, g << 8, b << 8, 0xFF00)
    corners = [(10, 60, (255, 0, 0)), (90, 60, (0, 255, 0)), (10, 110, (0, 0, 255)), (90, 110, (255, 255, 255))]
    body = struct.pack("<4i3I", 0, 0, 0, 0, len(corners), 2, 2)
    body += b"".join(vertex(*c) for c in corners) + struct.pack("<6I", 0, 1, 2, 1, 3, 2)
    return struct.pack("<II", 118, 8 + len(body)) + body


GDI_PLAYER = {}


def gdi_reference(emf, png, width, height):
    """The metafile as the Windows GDI plays it, under Wine (one player and
    Wine prefix for every reference of a run)."""
    if not GDI_PLAYER:
        tmp = tempfile.mkdtemp()
        atexit.register(shutil.rmtree, tmp)
        GDI_PLAYER["exe"] = os.path.join(tmp, "play-emf.exe")
        GDI_PLAYER["tmp"] = tmp
        run("x86_64-w64-mingw32-gcc", "-O2", "-o", GDI_PLAYER["exe"], "play-emf.c", "-lgdi32")
        GDI_PLAYER["env"] = dict(os.environ, WINEPREFIX=os.path.join(tmp, "prefix"), WINEDEBUG="-all",
                                 WINEDLLOVERRIDES="mscoree,mshtml=")  # no installer dialogs
    out = os.path.join(GDI_PLAYER["tmp"], "out.bmp")
    run("/usr/lib/wine/wine64", GDI_PLAYER["exe"], emf, out, str(width), str(height), env=GDI_PLAYER["env"])
    run(CONVERT, out, "-define", "png:exclude-chunks=date,time", "PNG24:" + png)


def gradients():
    # Inkscape writes the two rectangle gradients; no tool here writes
    # triangle gradients, so that record is added; the GDI draws the reference.
    profile = tempfile.mkdtemp()
    write(os.path.join(profile, "preferences.xml"), INKSCAPE_NATIVE_GRADIENTS.encode())
    write("gradients.svg", GRADIENTS.encode())
    run("inkscape", "gradients.svg", "--export-type=emf", "--export-filename=gradients.emf",
        env=dict(os.environ, INKSCAPE_PROFILE_DIR=profile))
    os.remove("gradients.svg")
    shutil.rmtree(profile)
    emf = open("gradients.emf", "rb").read()
    px_per_mm = struct.unpack_from("<I", emf, 72)[0] / struct.unpack_from("<I", emf, 80)[0]
    write("gradients.emf", emf_append(emf, gradient_triangles(px_per_mm * 25.4 / 96)))
    gdi_reference("gradients.emf", "gradients.png", 160, 120)


def emf_file(width, height, records, handles=4):
    """An enhanced metafile of `width` x `height` pixels, one logical unit a
    pixel: a device of 1000 pixels on 250 mm, so a pixel is 25 frame units;
    `handles` slots in its object table."""
    body = b"".join(records) + struct.pack("<5I", 14, 20, 0, 16, 20)  # EOF
    header = struct.pack("<4i4i", 0, 0, width - 1, height - 1, 0, 0, (width - 1) * 25, (height - 1) * 25)
    header += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, 0, len(records) + 2, handles, 0, 0, 0, 0)
    header += struct.pack("<4i", 1000, 1000, 250, 250)
    header = struct.pack("<II", 1, 8 + len(header)) + header
    out = bytearray(header + body)
    struct.pack_into("<I", out, 48, len(out))
    return bytes(out)


def emr(kind, *words):
    words = [w - (1 << 32) if w >= 1 << 31 else w for w in words]  # stock objects' numbers
    body = struct.pack("<%di" % len(words), *words)
    return struct.pack("<II", kind, 8 + len(body)) + body


def emr_font(index, height, face="Arial", weight=400, escapement=0, underline=0):
    """EMR_EXTCREATEFONTINDIRECTW with a LOGFONTW, smoothed in grey as the
    menu draws metafile text."""
    name = face.encode("utf-16-le").ljust(64, b"\0")
    logfont = struct.pack("<5i8B", height, 0, escapement, escapement, weight, 0, underline, 0, 0, 0, 0, 4, 0) + name
    return struct.pack("<III", 82, 12 + len(logfont), index) + logfont


def emr_text(x, y, text, dx=None, options=0, rect=(0, 0, 0, 0), glyphs=None):
    """EMR_EXTTEXTOUTW: the string (or glyph indices) at (x, y), with its
    advances (pairs with ETO_PDY) after it."""
    units = glyphs if glyphs is not None else list(struct.unpack("<%dH" % (len(text.encode("utf-16-le")) // 2),
                                                                 text.encode("utf-16-le")))
    string = struct.pack("<%dH" % len(units), *units)
    string += b"\0" * (-len(string) % 4)
    fixed = 8 + 16 + 12 + 40
    off_string = fixed
    off_dx = fixed + len(string) if dx else 0
    head = struct.pack("<4iIff", 0, 0, -1, -1, 1, 1.0, 1.0)
    emrtext = struct.pack("<iiIII4iI", x, y, len(units), off_string, options, *rect, off_dx)
    advances = struct.pack("<%di" % len(dx), *dx) if dx else b""
    body = head + emrtext + string + advances
    return struct.pack("<II", 84, 8 + len(body)) + body


def text_fixtures():
    """Text as GDI places it: the advances a record gives, ETO_PDY, glyph
    indices, opaque and clipped rectangles, the text alignments. The GDI
    draws the references; Arial is Liberation Sans for both."""
    TA_BASELINE, TA_RIGHT, TA_CENTER, TA_UPDATECP, TA_BOTTOM = 24, 2, 6, 1, 8
    ETO_OPAQUE, ETO_CLIPPED, ETO_GLYPH_INDEX, ETO_PDY = 2, 4, 0x10, 0x2000
    common = [emr(18, 1), emr(24, 0x000000), emr_font(1, -20), emr(37, 1)]  # transparent, black, 20 px Arial
    word = "Spaced"
    files = {
        # Letter-spaced and justified lines, and each alignment of a Dx string.
        "text_dx": (240, 150, common + [
            emr(22, TA_BASELINE),
            emr_text(10, 30, word, [24] * len(word)),
            emr_text(10, 60, "Justified text", [11, 11, 11, 4, 11, 11, 11, 11, 11, 11, 18, 6, 11, 11]),
            emr(22, TA_RIGHT | TA_BASELINE),
            emr_text(230, 90, word, [20] * len(word)),
            emr(22, TA_CENTER),
            emr_text(120, 95, word, [18] * len(word)),
            emr(22, TA_UPDATECP | TA_BOTTOM),
            emr(27, 10, 145),
            emr_text(0, 0, "Cur", [16, 16, 16]),
            emr_text(0, 0, "pos", [16, 16, 16]),
        ]),
        # Per-character vertical offsets: a staircase, and a wave.
        "text_pdy": (240, 120, common + [
            emr(22, TA_BASELINE),
            emr_text(10, 50, "Stairs", [22, 6] * 6, ETO_PDY),
            emr_text(120, 90, "Wave~~", [18, 8, 18, -8, 18, 8, 18, -8, 18, 8, 18, -8], ETO_PDY),
        ]),
        # Glyph indices (basic Latin sits at its character code less 29 in
        # Arial and in Liberation Sans), with advances and without.
        "text_glyphs": (240, 90, common + [
            emr(22, TA_BASELINE),
            emr_text(10, 35, "", [6, 17, 11, 11, 7, 6, 10], ETO_GLYPH_INDEX, glyphs=[ord(c) - 29 for c in "Imports"]),
            emr_text(10, 75, "", None, ETO_GLYPH_INDEX, glyphs=[ord(c) - 29 for c in "Glyphs"]),
        ]),
        # A yellow opaque box behind text, text cut to its box, and both.
        "text_opaque_clipped": (240, 120, common + [
            emr(25, 0x00FFFF), emr(22, TA_BASELINE),
            emr_text(10, 30, "Opaque", [15] * 6, ETO_OPAQUE, (5, 10, 120, 38)),
            emr_text(10, 70, "Clipped", [15] * 7, ETO_CLIPPED, (5, 58, 60, 66)),
            emr_text(10, 105, "Both", [20] * 4, ETO_OPAQUE | ETO_CLIPPED, (30, 88, 150, 100)),
            emr_text(130, 105, "Box", None, ETO_OPAQUE, (128, 50, 230, 60)),
        ]),
    }
    for name, (width, height, records) in files.items():
        write(name + ".emf", emf_file(width, height, records))
        gdi_reference(name + ".emf", name + ".png", width, height)


def emr_floats(kind, *values):
    body = struct.pack("<%df" % len(values), *values)
    return struct.pack("<II", kind, 8 + len(body)) + body


def emr_pen(index, style, width, colour):
    """EMR_CREATEPEN: a LOGPEN (width 0 is one pixel whatever the mapping)."""
    return emr(38, index, style, width, 0, colour)


def emr_extpen(index, style, width, colour, dashes=()):
    """EMR_EXTCREATEPEN with a solid brush and no bitmap."""
    return emr(95, index, 0, 0, 0, 0, style, width, 0, colour, 0, len(dashes), *dashes)


def emr_brush(index, colour, style=0, hatch=0):
    return emr(39, index, style, colour, hatch)


def emr_select_delete(index, *draw):
    return [emr(37, index)] + list(draw)


def emr_line(x1, y1, x2, y2):
    return emr(27, x1, y1) + emr(54, x2, y2)


def emr_polyline(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return emr(4, min(xs), min(ys), max(xs), max(ys), len(points), *[v for p in points for v in p])


def emr_dib_blt(x, y, w, h, rop, pixels):
    """EMR_BITBLT of a 24-bit bottom-up DIB; `pixels` is rows of 0xRRGGBB, top first."""
    rows = b""
    for row in reversed(pixels):
        line = b"".join(struct.pack("<BBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16) for c in row)
        rows += line + b"\0" * (-len(line) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, len(pixels[0]), len(pixels), 1, 24, 0, len(rows), 0, 0, 0, 0)
    fixed = 8 + 16 + 20 + 8 + 24 + 24
    head = struct.pack("<4i5i2i6f", x, y, x + w - 1, y + h - 1, x, y, w, h, rop, 0, 0, 1, 0, 0, 1, 0, 0)
    head += struct.pack("<6I", 0xFFFFFF, 0, fixed, len(info), fixed + len(info), len(rows))
    body = head + info + rows
    return struct.pack("<II", 76, 8 + len(body)) + body


def emr_patblt(x, y, w, h, rop):
    """EMR_BITBLT without a source: a pattern blit."""
    head = struct.pack("<4i5i2i6f", x, y, x + w - 1, y + h - 1, x, y, w, h, rop, 0, 0, 1, 0, 0, 1, 0, 0)
    head += struct.pack("<6I", 0, 0, 0, 0, 0, 0)
    return struct.pack("<II", 76, 8 + len(head)) + head


def emr_palette(index, colours):
    entries = b"".join(struct.pack("<4B", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in colours)
    body = struct.pack("<IHH", index, 0x300, len(colours)) + entries
    return struct.pack("<II", 49, 8 + len(body)) + body


def stripes(width, height):
    """Red, green, blue and grey bands under what a case draws, and white."""
    out = []
    for i, colour in enumerate((0x0000FF, 0x00C000, 0xFF0000, 0x808080)):
        out += [emr_brush(50 + i, colour), emr(37, 50 + i), emr(37, 0x80000008),
                emr(43, 0, i * height // 5, width, (i + 1) * height // 5)]
    return out


def pen_fixtures():
    """Pens and raster operations as GDI draws them: cosmetic and geometric
    widths under a scaling mapping, caps, joins, dash styles, palette-index
    colours, the binary modes and the ternary blits of masks and patterns."""
    # Wine 8 plays no EMR_EXTCREATEPEN (the pen is left out, and the one
    # selected before draws), so these references use CreatePen only; the
    # extended pens' caps, joins and user styles are checked in the unit tests.
    files = {}
    # Logical units twice the pixels: 0-wide pens stay one pixel, others
    # double; a roof of width 2 is 4 pixels wide. Then a world scale of 1.5
    # for the rounding of odd widths.
    widths = [emr(17, 8), emr(9, 120, 80), emr(11, 240, 160)]
    widths += [emr_pen(1, 0, 0, 0x000000), emr(37, 1), emr_line(5, 5, 55, 5), emr_line(5, 10, 55, 40)]
    for i, w in enumerate((1, 2, 3, 5)):
        widths += [emr_pen(3 + i, 0, w, 0x800000), emr(37, 3 + i), emr_line(5, 18 + 8 * i, 55, 18 + 8 * i)]
    widths += [emr_pen(7, 0, 2, 0x004080), emr(37, 7), emr_polyline([(10, 75), (35, 50), (60, 75)])]
    widths += [emr(17, 1), emr_floats(35, 1.5, 0, 0, 1.5, 0, 0)]
    for i, w in enumerate((1, 2, 3, 5)):
        widths += [emr_pen(10 + i, 0, w, 0x008000), emr(37, 10 + i), emr_line(90, 10 + 10 * i, 150, 10 + 10 * i)]
    widths += [emr_pen(14, 0, 0, 0x0000C0), emr(37, 14), emr_line(90, 60, 150, 100)]
    files["pens_widths"] = (240, 160, widths)
    # A mapping that halves x and keeps y: a pen's width is its x extent
    # transformed (a roof of width 8 is 4 pixels wide, not 8); and a pen
    # selected before the mapping changes.
    mapping = [emr_pen(1, 0, 3, 0x000000), emr(37, 1), emr(17, 8), emr(9, 2, 1), emr(11, 1, 1)]
    mapping += [emr_line(20, 10, 460, 10)]
    mapping += [emr_pen(2, 0, 8, 0x004080), emr(37, 2), emr_polyline([(20, 90), (120, 30), (220, 90)])]
    mapping += [emr_pen(3, 0, 6, 0x800000), emr(37, 3), emr_polyline([(260, 30), (360, 90), (460, 30)])]
    mapping += [emr(11, 1, 2), emr_pen(4, 0, 4, 0x008000), emr(37, 4), emr_line(20, 50, 460, 50)]
    files["pens_mapping"] = (240, 110, mapping)
    # Wide pens' round ends and joins: polylines, a rectangle, a polygon.
    joins = []
    for i, w in enumerate((4, 9, 14)):
        joins += [emr_pen(1 + i, 0, w, 0x804000), emr(37, 1 + i), emr_line(20, 15 + 22 * i, 90, 15 + 22 * i)]
        joins += [emr_polyline([(110 + 40 * i, 60), (125 + 40 * i, 15), (140 + 40 * i, 60)])]
    joins += [emr(37, 0x80000005), emr_pen(5, 0, 7, 0x206020), emr(37, 5), emr(43, 20, 85, 100, 135)]
    joins += [emr(3, 120, 80, 220, 140, 3, 120, 140, 170, 80, 220, 140)]  # EMR_POLYGON
    files["pens_joins"] = (240, 150, joins)
    # Each dash style of a cosmetic pen, across and aslant; a CreatePen
    # wider than one is solid whatever its style.
    styles = [emr(18, 1)]
    for i, style in enumerate((1, 2, 3, 4)):
        styles += [emr_pen(1 + 3 * i, style, 0, 0x000000), emr(37, 1 + 3 * i), emr_line(5, 10 + 12 * i, 235, 10 + 12 * i)]
        styles += [emr_pen(2 + 3 * i, style, 3, 0x008000), emr(37, 2 + 3 * i), emr_line(5, 60 + 10 * i, 115, 60 + 10 * i)]
        styles += [emr_pen(3 + 3 * i, style, 0, 0x0000C0), emr(37, 3 + 3 * i), emr_line(125, 60 + 8 * i, 235, 90 + 8 * i)]
    styles += [emr(18, 2), emr(25, 0x00FFFF), emr(37, 1), emr_line(5, 120, 235, 120)]  # opaque gaps
    files["pens_styles"] = (240, 135, styles)
    # Palette-index colours: the default palette before one is selected, the
    # metafile's own after, and an index past its end.
    palette = [emr_brush(1, 0x0100000D), emr(37, 1), emr(43, 10, 10, 70, 50)]
    palette += [emr_palette(2, [0x2080C0, 0xC08020, 0x20C040, 0x7030A0]), emr(48, 2), emr(52)]
    for i in range(4):
        palette += [emr_brush(3 + i, 0x01000000 | i), emr(37, 3 + i), emr(43, 80 + 38 * i, 10, 114 + 38 * i, 50)]
    palette += [emr_pen(8, 0, 4, 0x01000001), emr(37, 8), emr_brush(9, 0x01000009), emr(37, 9), emr(43, 10, 60, 110, 100)]
    files["palette_index"] = (240, 110, palette)
    # The binary raster operations, each over the four bands and white.
    rop2 = stripes(240, 100) + [emr(37, 0x80000008)]
    for i, mode in enumerate((13, 6, 7, 9, 15, 1, 16, 11, 10, 14)):
        rop2 += [emr(20, mode), emr_brush(20 + i, 0x40C0E0), emr(37, 20 + i), emr(43, 5 + 23 * i, 5, 25 + 23 * i, 98)]
    rop2 += [emr(20, 7), emr_pen(40, 0, 5, 0xFFFF00), emr(37, 40), emr_line(0, 50, 240, 90)]
    files["rop2"] = (240, 100, rop2)
    # A mask pair (AND then OR, and AND then XOR), pattern and destination
    # inversions and the other ternary blits real files use.
    def sprite(inside, outside):
        return [[inside if (x - 8) ** 2 + (y - 8) ** 2 < 49 else outside for x in range(16)] for y in range(16)]
    blits = stripes(240, 120) + [emr_brush(20, 0x20A0F0), emr(37, 20)]
    image, mask = sprite(0xF0C020, 0x000000), sprite(0x000000, 0xFFFFFF)
    for i, (first, second) in enumerate(((0x008800C6, 0x00EE0086), (0x008800C6, 0x00660046))):
        for j in range(3):
            blits += [emr_dib_blt(10 + 30 * j + 100 * i, 10 + 38 * j, 16, 16, first, mask),
                      emr_dib_blt(10 + 30 * j + 100 * i, 10 + 38 * j, 16, 16, second, image)]
    for i, rop in enumerate((0x005A0049, 0x00550009, 0x00F00021, 0x00000042, 0x00FF0062)):
        blits += [emr_patblt(200, 4 + 23 * i, 36, 18, rop)]
    for i, rop in enumerate((0x00C000CA, 0x00330008, 0x00CC0020, 0x00660046)):
        blits += [emr_dib_blt(60 + 34 * i, 98, 16, 16, rop, image)]
    files["rop_blits"] = (240, 120, blits)
    for name, (width, height, records) in files.items():
        write(name + ".emf", emf_file(width, height, records, handles=64))
        gdi_reference(name + ".emf", name + ".png", width, height)


def compressed():
    """PNG and JPEG pictures of every colour type and coding ImageMagick writes,
    damaged ones, and, for the JPEG files, ImageMagick's reading (through the
    same libjpeg) as the reference; a PNG is its own reference."""
    def im(*args):
        """ImageMagick, without the times it would write into a PNG."""
        run(CONVERT, *args[:-1], "-define", "png:exclude-chunks=date,time", args[-1])

    base = "compressed_base.png"
    im("-size", "33x21", "xc:", "-sparse-color", "bilinear",
        "0,0 red 32,0 yellow 0,20 blue 32,20 green", "-fill", "white", "-draw", "rectangle 4,4 9,8", base)
    alpha = ["(", "-size", "21x33", "gradient:white-black", "-rotate", "90", ")",
             "-alpha", "off", "-compose", "CopyOpacity", "-composite"]
    im(base, "PNG24:png_rgb.png")
    im(base, *alpha, "PNG32:png_rgba.png")
    im(base, "-colors", "16", "-transparent", "white", "PNG8:png_palette_transparent.png")
    im(base, "-colorspace", "Gray", "-define", "png:color-type=0", "PNG:png_gray.png")
    im(base, "-depth", "16", "PNG48:png_rgb16.png")
    im(base, *alpha, "-interlace", "PNG", "PNG32:png_interlaced.png")
    # Larger than the test screen (1024 x 768): only its top-left part is held.
    im("-size", "1100x800", "pattern:checkerboard", "-fill", "red", "-draw", "rectangle 1000,700 1099,799",
        "PNG8:png_large.png")
    for name, options in (("jpeg_baseline", []), ("jpeg_progressive", ["-interlace", "JPEG"]),
                          ("jpeg_gray", ["-colorspace", "Gray"]), ("jpeg_cmyk", ["-colorspace", "CMYK"])):
        im(base, *options, "-quality", "95", name + ".jpg")
        im(name + ".jpg", "-colorspace", "sRGB", "-type", "TrueColor", "PNG24:" + name + ".png")
    im("-size", "1100x800", "gradient:white-navy", "-quality", "60", "jpeg_large.jpg")
    im("jpeg_large.jpg", "-crop", "1024x768+0+0", "+repage", "-type", "TrueColor", "PNG24:jpeg_large.png")
    os.remove(base)

    png = open("png_rgb.png", "rb").read()
    jpeg = open("jpeg_baseline.jpg", "rb").read()
    write("png_empty.png", b"")
    write("jpeg_empty.jpg", b"")
    write("png_cut.png", png[:len(png) // 2])
    write("jpeg_cut.jpg", jpeg[:len(jpeg) // 2])
    idat = png.index(b"IDAT")
    bad = bytearray(png); bad[idat + 6] ^= 0x55; write("png_crc_damaged.png", bytes(bad))
    write("png_named.jpg", png)
    bad = bytearray(png); struct.pack_into(">II", bad, 16, 20000, 20000); write("png_pixel_count_over_limit.png", bytes(bad))
    bad = bytearray(png); struct.pack_into(">II", bad, 16, 40000, 10); write("png_width_over_limit.png", bytes(bad))
    sof = jpeg.index(b"\xff\xc0")
    bad = bytearray(jpeg); struct.pack_into(">HH", bad, sof + 5, 10, 40000); write("jpeg_width_over_limit.jpg", bytes(bad))
    bad = bytearray(jpeg); struct.pack_into(">HH", bad, sof + 5, 0, 33); write("jpeg_height_zero.jpg", bytes(bad))


if __name__ == "__main__":
    steps = {"bitmaps": bitmaps, "icons": icons, "metafiles": metafiles, "gradients": gradients,
             "compressed": compressed, "text": text_fixtures, "pens": pen_fixtures}
    for step in sys.argv[1:] or steps:
        steps[step]()
