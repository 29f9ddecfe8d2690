#!/usr/bin/python3
"""Writes menu folders whose pictures or AUTORUN.INF are made to hurt: huge
declared sizes, floods of records, transforms far out of range, bombs.

Each folder holds an AUTORUN.INF (the demo's, with the background picture
replaced) and the hostile file. bench_hostile.sh times `render` and `check`
on each. Usage: make-hostile.py OUT_DIR [CASE...] (only the cases named, when
any are)
"""
import os
import shutil
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
DEMO = os.path.join(ROOT, "examples", "demo")


# --- enhanced metafiles --------------------------------------------------

def emr(kind, payload=b""):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def emf(records, handles=16):
    """A 640 x 480 picture (frame 16000 x 12000 hundredths of a millimetre on
    a 1280 x 1024 device of 320 x 256 mm) holding the records."""
    body = b"".join(records) + emr(14, struct.pack("<III", 0, 16, 20))  # EMR_EOF
    size = 108 + len(body)
    header = struct.pack("<II4i4iIIIIHHIIIiiiiIII", 1, 108, 0, 0, 640, 480, 0, 0, 16000, 12000,
                         0x464D4520, 0x10000, size, len(records) + 2, handles, 0, 0, 0, 0,
                         1280, 1024, 320, 256, 0, 0, 0)
    header += struct.pack("<ii", 320000, 256000)
    assert len(header) == 108
    return header + body


def xform(m11, m12, m21, m22, dx, dy):
    return emr(35, struct.pack("<6f", m11, m12, m21, m22, dx, dy))  # EMR_SETWORLDTRANSFORM


def dib_header(width, height, bits=24, compression=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, 0, 0, 0, colours, 0)


def pattern_brush(index, side):
    bmi = dib_header(side, side, 1) + b"\0\0\0\0\xff\xff\xff\0"
    bits = b"\xaa" * 64
    fixed = struct.pack("<IIIIII", index, 0, 32, len(bmi), 32 + len(bmi), len(bits))
    return emr(94, fixed + bmi + bits)  # EMR_CREATEDIBPATTERNBRUSHPT


def stretch_dibits(side):
    bmi = dib_header(side, side, 24)
    bits = b"\x40" * 4096
    fixed = struct.pack("<4i6i4III2i", 0, 0, 640, 480, 0, 0, 0, 0, side, side,
                        80, len(bmi), 80 + len(bmi), len(bits), 0, 0x00CC0020, 640, 480)
    return emr(81, fixed + bmi + bits)  # EMR_STRETCHDIBITS


def poly16(kind, points):
    data = b"".join(struct.pack("<hh", x, y) for x, y in points)
    return emr(kind, struct.pack("<4iI", 0, 0, 640, 480, len(points)) + data)


def zigzag(n):
    return [(i * 7 % 640, (i * 13) % 480) for i in range(n)]


# --- Windows metafiles ---------------------------------------------------

def wmf(records, objects):
    body = b"".join(records) + struct.pack("<IH", 3, 0)  # META_EOF
    words = 9 + len(body) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, words, objects, 8, 0)
    key = struct.pack("<IH4hHI", 0x9AC6CDD7, 0, 0, 0, 640, 480, 96, 0)
    checksum = 0
    for (w,) in struct.iter_unpack("<H", key):
        checksum ^= w
    return key + struct.pack("<H", checksum) + header + body


def mr(function, payload=b""):
    return struct.pack("<IH", 3 + len(payload) // 2, function) + payload


def create_pen(colour):
    return mr(0x02FA, struct.pack("<HhhI", 0, 1, 0, colour))  # META_CREATEPENINDIRECT


def create_font(height, face=b"Arial"):
    logfont = struct.pack("<5h8B", height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0) + face.ljust(32, b"\0")
    return mr(0x02FB, logfont)  # META_CREATEFONTINDIRECT


def text_out(x, y, text):
    padded = text + b"\0" * (len(text) & 1)
    return mr(0x0521, struct.pack("<H", len(text)) + padded + struct.pack("<hh", y, x))  # META_TEXTOUT


# --- bitmaps and icons ---------------------------------------------------

def bmp(info, palette=b"", pixels=b"", file_size=None):
    offset = 14 + len(info) + len(palette)
    size = file_size if file_size is not None else offset + len(pixels)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, offset) + info + palette + pixels


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_icon(side):
    png = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0))
    png += png_chunk(b"IDAT", zlib.compress(b"\0" * 4096)) + png_chunk(b"IEND", b"")
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(png), 22)
    return directory + png


# --- PNG and JPEG pictures ----------------------------------------------

def png(width, height, colour_type, bit_depth, row_bytes, rows=None, extra=b""):
    """A PNG whose rows are all zero bytes, compressed as a stream (a gigabyte
    of rows is a megabyte of file); `rows` cuts the data short."""
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0)
    packer = zlib.compressobj(9)
    row = b"\0" * (1 + row_bytes)
    data = b"".join(packer.compress(row) for _ in range(height if rows is None else rows)) + packer.flush()
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra + png_chunk(b"IDAT", data) +
            png_chunk(b"IEND", b""))


def jpeg_segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def jpeg_table(table_class, symbol):
    """A Huffman table of one symbol, coded by the single bit 0."""
    return jpeg_segment(0xC4, bytes([table_class << 4]) + bytes([1] + [0] * 15) + bytes([symbol]))


def jpeg(width, height, components, progressive=False, scans=0):
    """A flat grey picture: every block a DC difference of 0 and no AC
    coefficients. Baseline: two bits a block. Progressive: a DC scan, then
    for each component an AC scan whose end-of-band runs (16384 blocks each)
    cover all its blocks, and that again `scans` times."""
    ids = bytes(range(1, components + 1))
    out = b"\xff\xd8" + jpeg_segment(0xDB, b"\0" + b"\1" * 64)
    out += jpeg_segment(0xC2 if progressive else 0xC0, struct.pack(">BHHB", 8, height, width, components) +
                        b"".join(bytes([i, 0x11, 0]) for i in ids))
    blocks = ((width + 7) // 8) * ((height + 7) // 8)
    if not progressive:
        out += jpeg_table(0, 0) + jpeg_table(1, 0)
        out += jpeg_segment(0xDA, bytes([components]) + b"".join(bytes([i, 0]) for i in ids) + b"\0\x3f\0")
        return out + b"\0" * (blocks * components * 2 // 8) + b"\xff\xd9"
    out += jpeg_table(0, 0) + jpeg_table(1, 0xE0)  # AC: a run of 2^14 blocks and 14 more bits
    out += jpeg_segment(0xDA, bytes([components]) + b"".join(bytes([i, 0]) for i in ids) + b"\0\0\0")
    out += b"\0" * (blocks * components // 8 + 1)
    for _ in range(1 + scans):
        for i in ids:
            out += jpeg_segment(0xDA, bytes([1, i, 0]) + b"\x01\x3f\0")
            assert blocks % 16384 == 0
            bits = ("0" + "0" * 14) * (blocks // 16384)  # EOB14 runs of 16384 blocks
            bits += "1" * (-len(bits) % 8)
            out += bytes(int(bits[k:k + 8], 2) for k in range(0, len(bits), 8)).replace(b"\xff", b"\xff\0")
    return out + b"\xff\xd9"


# --- AUTORUN.INF ---------------------------------------------------------

def demo_autorun(background):
    text = open(os.path.join(DEMO, "AUTORUN.INF"), newline="").read()
    lines = []
    for line in text.split("\n"):
        if line.startswith("BackGround Image Name="):
            line = "BackGround Image Name=" + background + "\r"
        lines.append(line)
    return "\n".join(lines)


SELECTED = set(sys.argv[2:])


def wanted(name):
    return not SELECTED or name in SELECTED


def make(out, name, background, data, sparse_size=None):
    if not wanted(name):
        return
    folder = os.path.join(out, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for extra in ("readme.txt",):
        shutil.copy(os.path.join(DEMO, extra), folder)
    with open(os.path.join(folder, "AUTORUN.INF"), "w", newline="") as f:
        f.write(demo_autorun(background))
    with open(os.path.join(folder, background), "wb") as f:
        f.write(data)
        if sparse_size:
            f.truncate(sparse_size)


def make_autorun(out, name, text):
    if not wanted(name):
        return
    folder = os.path.join(out, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(DEMO, "BACKGROUND.BMP"), folder)
    with open(os.path.join(folder, "AUTORUN.INF"), "w", newline="") as f:
        f.write(text)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "hostile"
    os.makedirs(out, exist_ok=True)
    box = struct.pack("<4i", 10, 10, 600, 400)

    make(out, "emf-huge-transform", "BACK.EMF",
         emf([xform(1e38, 0, 0, 1e38, 0, 0), emr(42, box), emr(44, box + struct.pack("<2i", 50, 50))]))
    make(out, "emf-pattern-brushes", "BACK.EMF",
         emf([b for i in range(1, 5) for b in (pattern_brush(i, 16384), emr(37, struct.pack("<I", i)),
                                               emr(43, box))]))
    make(out, "emf-stretchdibits", "BACK.EMF", emf([stretch_dibits(16384) for _ in range(20)]))
    make(out, "emf-polyline-2m", "BACK.EMF", emf([poly16(87, zigzag(2_000_000))]))
    make(out, "emf-polygon-200k", "BACK.EMF", emf([poly16(86, zigzag(200_000))]))
    make(out, "emf-path-300k", "BACK.EMF",
         emf([emr(59), emr(27, struct.pack("<2i", 0, 0))] + [poly16(89, zigzag(1000)) for _ in range(300)] +
             [emr(60), emr(63, box)]))
    make(out, "wmf-object-flood", "BACK.WMF", wmf([create_pen(i) for i in range(300_000)], 65535))
    # A window of one unit mapped onto the whole picture: every unit is 640
    # pixels, so a shape of a few thousand units is millions of pixels across.
    make(out, "wmf-window-extent", "BACK.WMF",
         wmf([mr(0x020C, struct.pack("<hh", 1, 1)), mr(0x02FC, struct.pack("<HIH", 0, 0x0000FF, 0)),
              mr(0x012D, struct.pack("<H", 0)), mr(0x0418, struct.pack("<4h", 32000, 32000, -32000, -32000))], 1))
    make(out, "wmf-huge-font", "BACK.WMF",
         wmf([create_font(-32000), mr(0x012D, struct.pack("<H", 0))] +
             [text_out(0, 0, bytes(range(65, 91)) * 4) for _ in range(12)], 1))
    make(out, "wmf-polygon-16k", "BACK.WMF",
         wmf([mr(0x0324, struct.pack("<H", 16000) + b"".join(struct.pack("<hh", x, y) for x, y in zigzag(16000)))], 1))
    big = struct.pack("<4i", -(1 << 26), -(1 << 26), 1 << 26, 1 << 26)
    make(out, "emf-huge-ellipse", "BACK.EMF",
         emf([emr(39, struct.pack("<IIII", 1, 0, 0xFF0000, 0)), emr(37, struct.pack("<I", 1)), emr(42, big),
              emr(45, big + struct.pack("<4i", 0, 0, 100, 0))]))
    make(out, "emf-wide-pen", "BACK.EMF",
         emf([emr(38, struct.pack("<IIiiI", 1, 0, 1 << 26, 0, 0x00FF00)), emr(37, struct.pack("<I", 1)),
              poly16(87, [(10, 10), (600, 400), (10, 400)])]))
    make(out, "emf-object-index", "BACK.EMF",
         emf([emr(39, struct.pack("<IIII", 0x7FFFFFF0 + i, 0, 0xFF0000, 0)) for i in range(4)] +
             [emr(37, struct.pack("<I", 0x7FFFFFF1)), emr(43, box), emr(40, struct.pack("<I", 0x7FFFFFF2))], handles=2))
    text = "\u0057".encode("utf-16-le") * 8
    make(out, "emf-text-count", "BACK.EMF",
         emf([emr(84, struct.pack("<4iIff2iIII4iI", 0, 0, 640, 480, 1, 1, 1, 20, 20, count, 76, 0, 0, 0, 0, 0, dx) + text)
              for count, dx in ((0x7FFFFFFF, 0), (8, 0x7FFFFFF0), (0x40000000, 76))]))
    make(out, "emf-polygon-flat-200k", "BACK.EMF", emf([poly16(86, [(i % 640, i % 2) for i in range(200_000)])]))

    make(out, "bmp-header-only", "BACK.BMP", bmp(dib_header(32767, 8192)))
    palette = b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(256))
    rle = b"\xff\x10" * 400 + b"\x00\x01"
    make(out, "bmp-rle8-16384", "BACK.BMP", bmp(dib_header(16384, 16384, 8, 1, 256), palette, rle))
    make(out, "bmp-1gib-sparse", "BACK.BMP", bmp(dib_header(16384, 16384, 32), file_size=1 << 30),
         sparse_size=1 << 30)
    make(out, "ico-png-16384", "BACK.ICO", png_icon(16384))
    make(out, "ico-damaged", "BACK.ICO",
         open(os.path.join(ROOT, "tests", "data", "pictures", "entry_offset_outside.ico"), "rb").read())

    make(out, "png-rgba-16384", "BACK.PNG", png(16384, 16384, 6, 8, 16384 * 4))
    make(out, "png-rgba-8192", "BACK.PNG", png(8192, 8192, 6, 8, 8192 * 4))
    make(out, "png-rgba16-8192", "BACK.PNG", png(8192, 8192, 6, 16, 8192 * 8))
    make(out, "png-grey1-32767x8192", "BACK.PNG", png(32767, 8192, 0, 1, 4096))
    make(out, "png-rgba-16384-cut", "BACK.PNG", png(16384, 16384, 6, 8, 16384 * 4, rows=16))
    ztxt = png_chunk(b"zTXt", b"bomb\0\0" + zlib.compress(b"\0" * (256 << 20), 9))
    make(out, "png-ztxt-bomb", "BACK.PNG", png(640, 480, 2, 8, 640 * 3, extra=ztxt))
    make(out, "jpeg-grey-32767x8192", "BACK.JPG", jpeg(32767, 8192, 1))
    make(out, "jpeg-colour-16384", "BACK.JPG", jpeg(16384, 16384, 3))
    make(out, "jpeg-colour-8192", "BACK.JPG", jpeg(8192, 8192, 3))
    make(out, "jpeg-progressive-6144", "BACK.JPG", jpeg(6144, 6144, 3, progressive=True))
    make(out, "jpeg-progressive-16384", "BACK.JPG", jpeg(16384, 16384, 3, progressive=True))
    make(out, "jpeg-progressive-8192", "BACK.JPG", jpeg(8192, 8192, 1, progressive=True))
    make(out, "jpeg-progressive-5000-scans", "BACK.JPG", jpeg(4096, 4096, 1, progressive=True, scans=5000))

    demo = open(os.path.join(DEMO, "AUTORUN.INF"), newline="").read()
    junk = "".join("[Junk Section %d]\r\nJunk Key %d=some value that fills the line\r\n" % (i, i)
                   for i in range(260_000))
    make_autorun(out, "ini-16mib-many-lines", (junk + demo)[-(16 << 20):])
    same = "[Installation Form Size Setup]\r\n" + "Form Height=480\r\n" * 1_000_000
    make_autorun(out, "ini-1m-same-key", (same + demo)[: 16 << 20])
    # Larger than the menu reads: the menu's own keys come after 16 MiB.
    make_autorun(out, "ini-64mib", (junk * 4 + demo)[-(64 << 20):])
    make_autorun(out, "ini-1gib-sparse", demo)
    if wanted("ini-1gib-sparse"):
        with open(os.path.join(out, "ini-1gib-sparse", "AUTORUN.INF"), "r+b") as f:
            f.truncate(1 << 30)


if __name__ == "__main__":
    main()
