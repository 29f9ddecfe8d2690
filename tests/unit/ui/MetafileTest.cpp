#include <gtest/gtest.h>

#include "support/GraphicsTestSupport.h"
#include "formats/MetafileReader.h"
#include "ui/TMetafile.h"

namespace automenu::test {
namespace {

class MetafileFiles : public PictureTest {};

TEST_F(MetafileFiles, TheContentDecidesTheForm) {
    struct Row {
        const char* file;
        bool enhanced;
        TSize size;
    } rows[] = {
        // The enhanced form is sized by its 1200-dpi reference device:
        // frame 4299 x 3199 (0.01 mm), device 10205 x 13181 px on 216 x 279 mm.
        {"shapes.emf", true, {2031, 1511}},
        {"enhanced_named.wmf", true, {2031, 1511}},
        // The placeable form by the screen: 1999 x 1499 units at 1200 per inch.
        {"shapes.wmf", false, {160, 120}},
        {"placeable_named.emf", false, {160, 120}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TMetafile metafile;
        metafile.LoadFromFile(PictureFixture(row.file));
        EXPECT_EQ(metafile.Bits().enhanced, row.enhanced);
        EXPECT_EQ(metafile.Width(), row.size.cx);
        EXPECT_EQ(metafile.Height(), row.size.cy);
    }
}

TEST_F(MetafileFiles, PlaceableSizeArithmetic) {
    // Bounding box 0..1999 x 0..1499 at 1200 units per inch.
    TMetafile metafile;
    metafile.LoadFromFile(PictureFixture("shapes.wmf"));
    // Kept in hundredths of a millimetre; the natural size follows the screen.
    platform.ppi = 120;
    EXPECT_EQ(metafile.Width(), MulDiv(MulDiv(1999, 2540, 1200), 120, 2540));
    EXPECT_EQ(metafile.Height(), MulDiv(MulDiv(1499, 2540, 1200), 120, 2540));
}

TEST_F(MetafileFiles, FailuresHaveTheirClassAndMessage) {
    // Files shorter than their header states are read errors; the others
    // are not metafiles.
    struct Row {
        const char* file;
        bool short_read;
    } rows[] = {
        {"empty.emf", false},
        {"empty.wmf", false},
        {"placeable_header_cut.wmf", false},
        {"placeable_bad_key.wmf", false},
        {"placeable_bad_checksum.wmf", false},
        {"emf_header_record_too_small.emf", false},
        {"emf_shorter_than_stated.emf", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TMetafile metafile;
        metafile.LoadFromFile(PictureFixture("shapes.emf"));
        ExpectFailure([&] { metafile.LoadFromFile(PictureFixture(row.file)); },
                      row.short_read ? typeid(EReadError) : typeid(EInvalidGraphic),
                      row.short_read ? "Stream read error" : "Metafile is not valid");
        EXPECT_TRUE(metafile.Bits().enhanced);  // the previous content stays
        EXPECT_EQ(metafile.Width(), 2031);
    }
}

TEST(MulDiv, RoundsHalfAwayFromZero) {
    struct Row {
        int a, b, c, expected;
    } rows[] = {
        {10, 1, 4, 3},   {-10, 1, 4, -3}, {10, -1, 4, -3}, {9, 1, 4, 2},  {6, 1, 4, 2},
        {5, 1, 4, 1},    {1, 1, 0, -1},   {4231, 96, 2540, 160},
        {1999, 2540, 1200, 4231},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MulDiv(row.a, row.b, row.c), row.expected) << row.a << "*" << row.b << "/" << row.c;
}

}  // namespace
}  // namespace automenu::test
