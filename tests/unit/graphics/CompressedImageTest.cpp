#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "GraphicsTestSupport.h"
#include "base/Exceptions.h"
#include "ui/TCompressedImage.h"
#include "ui/TPicture.h"

namespace automenu::test {
namespace {

class CompressedPictures : public PictureTest {};

// The top-left part of an image.
PixelImage Crop(const PixelImage& image, TSize size) {
    PixelImage out;
    out.width = std::min(size.cx, image.width);
    out.height = std::min(size.cy, image.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.pixels.push_back(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
    return out;
}

TEST_F(CompressedPictures, DecodeAtTheirNaturalSizeWithTheirTransparency) {
    struct Row {
        const char* file;
        const char* reference;  // a PNG read by cairo; JPEG files: ImageMagick's reading through libjpeg
        TSize natural;
        bool alpha;
        int tolerance;  // per channel
    } rows[] = {
        {"png_rgb.png", "png_rgb.png", {33, 21}, false, 0},
        {"png_rgba.png", "png_rgba.png", {33, 21}, true, 1},
        {"png_palette_transparent.png", "png_palette_transparent.png", {33, 21}, true, 0},
        {"png_gray.png", "png_gray.png", {33, 21}, false, 1},  // 16-bit grey
        {"png_rgb16.png", "png_rgb16.png", {33, 21}, false, 1},
        {"png_interlaced.png", "png_interlaced.png", {33, 21}, true, 1},
        {"jpeg_baseline.jpg", "jpeg_baseline.png", {33, 21}, false, 2},
        {"jpeg_progressive.jpg", "jpeg_progressive.png", {33, 21}, false, 2},
        {"jpeg_gray.jpg", "jpeg_gray.png", {33, 21}, false, 2},
        {"jpeg_cmyk.jpg", "jpeg_cmyk.png", {33, 21}, false, 3},
        // Larger than the screen (1024 x 768): its natural size, its top-left part held.
        {"png_large.png", "png_large.png", {1100, 800}, false, 0},
        {"jpeg_large.jpg", "jpeg_large.png", {1100, 800}, false, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TPicture picture;
        picture.LoadFromFile(PictureFixture(row.file));
        auto* image = dynamic_cast<TCompressedImage*>(picture.Graphic());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(picture.Width(), row.natural.cx);
        EXPECT_EQ(picture.Height(), row.natural.cy);
        EXPECT_EQ(image->Image().has_alpha, row.alpha);
        const PixelImage expected = Crop(LoadReferencePng(row.reference), platform.ScreenSize());
        ASSERT_EQ(image->Image().width, expected.width);
        ASSERT_EQ(image->Image().height, expected.height);
        EXPECT_EQ(MismatchShare(image->Image(), expected, row.tolerance), 0.0);
    }
}

TEST_F(CompressedPictures, DamagedOrOversizedFilesFailWithTheirKindsMessage) {
    struct Row {
        const char* file;
        const std::type_info& type;
        const char* message;
    } rows[] = {
        {"png_empty.png", typeid(EInvalidGraphic), "PNG image is not valid"},
        {"png_cut.png", typeid(EInvalidGraphic), "PNG image is not valid"},
        {"png_crc_damaged.png", typeid(EInvalidGraphic), "PNG image is not valid"},
        {"png_width_over_limit.png", typeid(EInvalidGraphic), "PNG image is not valid"},
        {"png_pixel_count_over_limit.png", typeid(EInvalidGraphic), "PNG image is not valid"},
        {"jpeg_empty.jpg", typeid(EInvalidGraphic), "JPEG image is not valid"},
        {"jpeg_cut.jpg", typeid(EInvalidGraphic), "JPEG image is not valid"},
        {"jpeg_width_over_limit.jpg", typeid(EInvalidGraphic), "JPEG image is not valid"},
        {"jpeg_height_zero.jpg", typeid(EInvalidGraphic), "JPEG image is not valid"},
        // The extension decides the kind: a PNG named .jpg is no JPEG.
        {"png_named.jpg", typeid(EInvalidGraphic), "JPEG image is not valid"},
        {"rgb24_v3.bmp", typeid(EInvalidGraphic), "PNG image is not valid"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        // Under a .png name where the row does not name the kind by its own.
        std::string name = row.file;
        if (name.ends_with(".bmp")) {
            name = ::testing::TempDir() + "bitmap_named.png";
            std::filesystem::copy_file(PictureFixture(row.file), name, std::filesystem::copy_options::overwrite_existing);
        } else {
            name = PictureFixture(row.file);
        }
        TPicture picture;
        ExpectFailure([&] { picture.LoadFromFile(name); }, row.type, row.message);
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
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
