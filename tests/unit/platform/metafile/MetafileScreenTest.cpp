// The metafile a platform's own player is given: only what playback here
// draws or applies, up to where it stops, with its header made to agree.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/GraphicsTestSupport.h"
#include "support/MetafileBuilders.h"
#include "formats/ByteReader.h"
#include "platform/cairo/MetafilePlayer.h"
#include "platform/metafile/MetafileScreen.h"

namespace automenu::test {
namespace {

using platform::ScreenMetafile;

constexpr TSize kScreen{1280, 1024};
constexpr std::int64_t kStock = 0x80000000;
constexpr std::int64_t kBlackBrush = kStock | 4, kNullPen = kStock | 8;
enum : std::uint32_t {
    EMR_EOF = 14,
    EMR_SETMAPMODE = 17,
    EMR_SETROP2 = 20,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_SELECTPALETTE = 48,
    EMR_CREATEPALETTE = 49,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
};
enum : std::uint16_t {
    META_SETMAPMODE = 0x0103, META_SETWINDOWEXT = 0x020C, META_RECTANGLE = 0x041B, META_SELECTOBJECT = 0x012D,
    META_CREATEBRUSHINDIRECT = 0x02FC, META_CREATEPALETTE = 0x00F7, META_CREATEREGION = 0x06FF,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
};

MetafileBits Screen(const MetafileBits& bits) { return ScreenMetafile(bits, {0, 0, 100, 100}, {100, 100}, kScreen); }

// The record types after the header, the end-of-file record included.
std::vector<std::uint32_t> Types(const MetafileBits& bits) {
    std::vector<std::uint32_t> types;
    ByteReader r(bits.records);
    if (bits.enhanced) {
        r.Seek(4);
        std::size_t at = r.U32();
        while (at + 8 <= bits.records.size()) {
            r.Seek(at);
            types.push_back(r.U32());
            at += r.U32();
        }
    } else {
        std::size_t at = 18;
        while (at + 6 <= bits.records.size()) {
            r.Seek(at);
            const std::uint32_t words = r.U32();
            types.push_back(r.U16());
            at += std::size_t{words} * 2;
        }
    }
    return types;
}

// A 16384 x 16384 1-bit DIB pattern brush at index 1, of a few bytes.
std::vector<std::int64_t> HugePatternBrush() {
    return {1, 0, 32, 48, 80, 8, 40, 16384,    16384,      (1 << 16) | 1,
            0, 0, 0,  0,  0,  0, 0,  0xFFFFFF, 0x55AA55AA, 0x55AA55AA};
}

TEST(MetafileScreen, EnhancedRecordsKeptLeftOutOrStoodIn) {
    constexpr std::int64_t kPast = (1 << 27) + 1'000'000, kBig = 1 << 20;
    std::vector<std::int64_t> zigzag = {0, 0, 100, 100, 2'000'000};
    for (int i = 0; i < 2'000'000; ++i) zigzag.push_back((i % 2 ? 90 << 16 : 10 << 16) | (i % 100));
    std::vector<std::int64_t> flat = {0, 0, 100, 100, 20'000};
    for (int i = 0; i < 20'000; ++i) flat.push_back((i % 2) << 16 | (i % 100));
    // One wide letter whose advances (offset 0x7FFFFFF0) lie past the record.
    const std::vector<std::int64_t> text = {0, 0, 100, 100, 1, 0, 0, 20, 20, 1, 76, 0, 0, 0, 0, 0, 0x7FFFFFF0, 'W'};
    struct Row {
        const char* why;
        Emf emf;
        std::vector<std::uint32_t> types;
    };
    const Row rows[] = {
        {"what is drawn stays, in order",
         Emf().Record(EMR_SELECTOBJECT, {kBlackBrush}).Record(EMR_RECTANGLE, {10, 10, 50, 50}),
         {EMR_SELECTOBJECT, EMR_RECTANGLE, EMR_EOF}},
        {"unknown and short records are left out",
         Emf().Record(0x4321, {1}).Record(EMR_RECTANGLE, {10, 10}).Record(EMR_ELLIPSE, {10, 10, 50, 50}),
         {EMR_ELLIPSE, EMR_EOF}},
        {"a refused map mode is left out", Emf().Record(EMR_SETMAPMODE, {99}).Record(EMR_SETMAPMODE, {8}),
         {EMR_SETMAPMODE, EMR_EOF}},
        {"drawing modes not used here stay for the platform, when whole",
         Emf().Record(EMR_SETROP2, {7}).Raw(EMR_SETROP2, 8, {}), {EMR_SETROP2, EMR_EOF}},
        {"a shape past 27 bits is left out", Emf().Record(EMR_RECTANGLE, {10, 10, kPast, 50}), {EMR_EOF}},
        {"an ellipse millions of pixels wide is drawn here, but not handed on",
         Emf().Record(EMR_ELLIPSE, {-kBig, -kBig, kBig, kBig}).Record(EMR_RECTANGLE, {-kBig, 10, kBig, 50}),
         {EMR_RECTANGLE, EMR_EOF}},
        {"objects inside the header's table stay, outside it (or 0) are left out",
         Emf().Handles(3)
             .Record(EMR_CREATEBRUSHINDIRECT, {2, 0, 0xFF, 0})
             .Record(EMR_CREATEBRUSHINDIRECT, {3, 0, 0xFF, 0})
             .Record(EMR_CREATEBRUSHINDIRECT, {0, 0, 0xFF, 0})
             .Record(EMR_SELECTOBJECT, {0x7FFFFFF0})
             .Record(EMR_SELECTOBJECT, {2})
             .Record(EMR_SELECTOBJECT, {kNullPen})
             .Record(EMR_DELETEOBJECT, {5})
             .Record(EMR_DELETEOBJECT, {2}),
         {EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_EOF}},
        // Both systems paint palette-index colours through the palette.
        {"a palette and its selection are handed on",
         Emf().Handles(4).Record(EMR_CREATEPALETTE, {1, 0x300 | (1 << 16), 0}).Record(EMR_SELECTPALETTE, {1}),
         {EMR_CREATEPALETTE, EMR_SELECTPALETTE, EMR_EOF}},
        {"a palette whose entries run past the record is left out",
         Emf().Handles(4).Record(EMR_CREATEPALETTE, {1, 0x300 | (9 << 16), 0}), {EMR_EOF}},
        {"a pattern brush whose bitmap is larger than the screen is made white",
         Emf().Handles(4).Record(EMR_CREATEDIBPATTERNBRUSHPT, HugePatternBrush()).Record(EMR_SELECTOBJECT, {1}),
         {EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_EOF}},
        {"an outline 2^26 pixels wide is left out",
         Emf().Handles(4)
             .Record(EMR_CREATEPEN, {1, 0, 1 << 26, 0, 0})
             .Record(EMR_SELECTOBJECT, {1})
             .Record(EMR_POLYLINE16, {0, 0, 100, 100, 2, 10 << 16 | 10, 90 << 16 | 90}),
         {EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_EOF}},
        {"a filled shape of 20,000 corners is left out", Emf().Record(EMR_POLYGON16, flat), {EMR_EOF}},
        {"text whose advances lie past the record is left out", Emf().Record(EMR_EXTTEXTOUTW, text), {EMR_EOF}},
        {"where the budget ends, so does the metafile",
         Emf().Record(EMR_POLYLINE16, zigzag).Record(EMR_RECTANGLE, {10, 10, 50, 50}), {EMR_EOF}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Emf emf = row.emf;
        EXPECT_EQ(Types(Screen(emf.Bits())), row.types);
    }
}

TEST(MetafileScreen, WindowsRecordsKeepTheirObjectSlots) {
    struct Row {
        const char* why;
        Wmf wmf;
        std::vector<std::uint32_t> types;
    };
    // A 16384 x 16384 1-bit packed DIB.
    const std::initializer_list<std::int16_t> huge_pattern = {5, 0, 40, 0, 16384, 0, 16384, 0, 1, 1, 0, 0, 0, 0,
                                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0xFF, 0x55, 0x55};
    const Row rows[] = {
        {"the player's own mapping is not handed on",
         Wmf().Record(META_SETMAPMODE, {8}).Record(META_SETWINDOWEXT, {10, 10}).Record(META_RECTANGLE, {5, 5, 0, 0}),
         {META_SETWINDOWEXT, META_RECTANGLE, 0}},
        {"a region takes its slot as an empty palette",
         Wmf()
             .Record(META_CREATEREGION, {0, 0})
             .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
             .Record(META_SELECTOBJECT, {1}),
         {META_CREATEPALETTE, META_CREATEBRUSHINDIRECT, META_SELECTOBJECT, 0}},
        {"a pattern brush of a refused bitmap is made white in its slot",
         Wmf().Record(META_DIBCREATEPATTERNBRUSH, huge_pattern).Record(META_SELECTOBJECT, {0}),
         {META_CREATEBRUSHINDIRECT, META_SELECTOBJECT, 0}},
        {"a full table makes nothing, and no slot outside it is selected",
         Wmf(1)
             .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
             .Record(META_CREATEBRUSHINDIRECT, {0, 0, 0, 0})
             .Record(META_SELECTOBJECT, {0})
             .Record(META_SELECTOBJECT, {7}),
         {META_CREATEBRUSHINDIRECT, META_SELECTOBJECT, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Wmf wmf = row.wmf;
        EXPECT_EQ(Types(Screen(wmf.Bits())), row.types);
    }
}

// The header agrees with what is left: the reader accepts it as it stands,
// and the sizes and counts are those of the records.
TEST(MetafileScreen, HeadersAgreeWithTheRecordsLeft) {
    Emf emf;
    emf.Record(0x4321, {1}).Record(EMR_RECTANGLE, {10, 10, 50, 50});
    const MetafileBits screened = Screen(emf.Bits());
    ByteReader h(screened.records);
    h.Seek(4);
    EXPECT_EQ(h.U32(), 88u);
    h.Seek(48);
    EXPECT_EQ(h.U32(), screened.records.size());
    EXPECT_EQ(h.U32(), 3u);  // header, rectangle, end of file
    EXPECT_NO_THROW(ReadMetafile(screened.records));

    Wmf wmf;
    wmf.Record(META_SETMAPMODE, {8}).Record(META_RECTANGLE, {5, 5, 0, 0});
    const MetafileBits wmf_screened = Screen(wmf.Bits());
    ByteReader w(wmf_screened.records);
    w.Seek(6);
    EXPECT_EQ(w.U32() * 2, wmf_screened.records.size());
    w.Seek(12);
    EXPECT_EQ(w.U32(), 7u);  // the rectangle's words
}

// Files that use no more than what is drawn here look the same after screening.
TEST(MetafileScreen, ScreenedPicturesDrawAsBefore) {
    for (const char* name :
         {"office.emf", "office.wmf", "shapes.emf", "shapes.wmf", "gradients.emf", "text_dx.emf", "text_pdy.emf"}) {
        SCOPED_TRACE(name);
        const MetafileBits original = ReadMetafile(ReadFixture(name)).bits;
        const MetafileBits screened = ScreenMetafile(original, {0, 0, 631, 452}, {632, 453}, kScreen);
        const PixelImage before = platform::RenderMetafileImage(original, {0, 0, 631, 452}, {632, 453}, kScreen);
        const PixelImage after = platform::RenderMetafileImage(screened, {0, 0, 631, 452}, {632, 453}, kScreen);
        ASSERT_EQ(before.pixels.size(), after.pixels.size());
        EXPECT_TRUE(before.pixels == after.pixels);
    }
}

}  // namespace
}  // namespace automenu::test
