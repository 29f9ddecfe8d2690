#include <gtest/gtest.h>

#include <filesystem>

#include "CompressedImageRows.h"
#include "GraphicsTestSupport.h"
#include "base/Exceptions.h"
#include "ui/TCompressedImage.h"
#include "ui/TPicture.h"

namespace automenu::test {
namespace {

class CompressedPictures : public PictureTest {};

TEST_F(CompressedPictures, DecodeAtTheirNaturalSizeWithTheirTransparency) {
    ASSERT_EQ(platform.ScreenSize(), kCompressedTestScreen);
    for (const DecodedRow& row : kDecodedRows) {
        SCOPED_TRACE(row.file);
        TPicture picture;
        picture.LoadFromFile(PictureFixture(row.file));
        auto* image = dynamic_cast<TCompressedImage*>(picture.Graphic());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(picture.Width(), row.natural.cx);
        EXPECT_EQ(picture.Height(), row.natural.cy);
        EXPECT_EQ(image->Image().has_alpha, row.alpha);
        const PixelImage expected = TopLeft(LoadReferencePng(row.reference), kCompressedTestScreen);
        ASSERT_EQ(image->Image().width, expected.width);
        ASSERT_EQ(image->Image().height, expected.height);
        EXPECT_EQ(MismatchShare(image->Image(), expected, row.tolerance), 0.0);
    }
}

TEST_F(CompressedPictures, DamagedOrOversizedFilesFailWithTheirKindsMessage) {
    for (const RefusedRow& row : kRefusedRows) {
        SCOPED_TRACE(row.file);
        // A file of another kind is given the row's extension.
        std::string name = PictureFixture(row.file);
        if (name.ends_with(".bmp")) {
            const std::string renamed = ::testing::TempDir() + "bitmap_named.png";
            std::filesystem::copy_file(name, renamed, std::filesystem::copy_options::overwrite_existing);
            name = renamed;
        }
        TPicture picture;
        ExpectFailure([&] { picture.LoadFromFile(name); }, typeid(EInvalidGraphic), InvalidImageMessage(row.format));
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
    // The messages, worded as the other kinds' are.
    EXPECT_EQ(InvalidImageMessage(CompressedImageFormat::Png), "PNG image is not valid");
    EXPECT_EQ(InvalidImageMessage(CompressedImageFormat::Jpeg), "JPEG image is not valid");
}

TEST(CompressedImageSize, IsReadFromTheHeaderBeforeAnyDecoding) {
    struct Row {
        std::vector<std::uint8_t> bytes;
        CompressedImageFormat format;
        TSize size;  // {0, 0}: refused
    } rows[] = {
        {{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0, 0, 0, 2},
         CompressedImageFormat::Png, {256, 2}},
        // The first chunk must be the image header.
        {{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'D', 'A', 'T', 0, 0, 1, 0, 0, 0, 0, 2},
         CompressedImageFormat::Png, {}},
        {{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0x80, 0, 0, 1, 0, 0, 0, 1},
         CompressedImageFormat::Png, {}},
        // Markers before the frame are stepped over; fill bytes and markers without length too.
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xFF, 0xD0, 0xFF, 0xC2, 0, 11, 8, 0, 7, 0, 9},
         CompressedImageFormat::Jpeg, {9, 7}},
        {{0xFF, 0xD8, 0xFF, 0xC4, 0, 2, 0xFF, 0xC1, 0, 11, 8, 1, 0, 1, 0}, CompressedImageFormat::Jpeg, {256, 256}},
        // Image data before any frame, a length under 2, a length past the end.
        {{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}, CompressedImageFormat::Jpeg, {}},
        {{0xFF, 0xD8, 0xFF, 0xE1, 0, 1}, CompressedImageFormat::Jpeg, {}},
        {{0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0, 0}, CompressedImageFormat::Jpeg, {}},
        {{0xFF, 0xD9}, CompressedImageFormat::Jpeg, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.bytes));
        if (row.size.cx == 0) {
            EXPECT_THROW(ReadCompressedImageSize(row.format, row.bytes), EInvalidGraphic);
        } else {
            EXPECT_EQ(ReadCompressedImageSize(row.format, row.bytes), row.size);
        }
    }
}

}  // namespace
}  // namespace automenu::test
