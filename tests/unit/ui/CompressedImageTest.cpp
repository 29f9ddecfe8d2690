#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/Exceptions.h"
#include "support/CompressedImageRows.h"
#include "support/GraphicsTestSupport.h"
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
            const std::string renamed = ::testing::TempDir() + "bitmap_named-" + std::to_string(::getpid()) + ".png";
            std::filesystem::copy_file(name, renamed, std::filesystem::copy_options::overwrite_existing);
            name = renamed;
        }
        TPicture picture;
        ExpectFailure([&] { picture.LoadFromFile(name); }, typeid(EInvalidGraphic), InvalidImageMessage(row.format));
        EXPECT_EQ(picture.Graphic(), nullptr);
        if (name != PictureFixture(row.file)) std::filesystem::remove(name);
    }
    // The messages, worded as the other kinds' are.
    EXPECT_EQ(InvalidImageMessage(CompressedImageFormat::Png), "PNG image is not valid");
    EXPECT_EQ(InvalidImageMessage(CompressedImageFormat::Jpeg), "JPEG image is not valid");
}

}  // namespace
}  // namespace automenu::test
