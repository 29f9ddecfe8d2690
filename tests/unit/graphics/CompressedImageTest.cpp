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

// PNG pieces with their checksums (computed by zlib's crc32).
using Bytes = std::vector<std::uint8_t>;
const Bytes kPngSignature = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
const Bytes kHeader256x2 = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0, 0, 0, 2,
                            8, 2, 0, 0, 0, 0x38, 0xAF, 0x95, 0x8E};
const Bytes kHeaderTooWide = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0x80, 0, 0, 0, 0, 0, 0, 1,
                              8, 2, 0, 0, 0, 0xDF, 0xDF, 0x1D, 0xF7};
const Bytes kEmptyData = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
const Bytes kEnd = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes WithByteFlipped(Bytes b, std::size_t at) {
    b[at] ^= 0x01;
    return b;
}

TEST(CompressedImageSize, IsReadFromTheHeaderOfAWholeFileBeforeAnyDecoding) {
    struct Row {
        const char* what;
        Bytes bytes;
        CompressedImageFormat format;
        TSize size;  // {0, 0}: refused
    } rows[] = {
        {"PNG", Join({kPngSignature, kHeader256x2, kEmptyData, kEnd}), CompressedImageFormat::Png, {256, 2}},
        {"PNG, bytes after its end", Join({kPngSignature, kHeader256x2, kEnd, {1, 2, 3}}), CompressedImageFormat::Png,
         {256, 2}},
        {"PNG, image header not first", Join({kPngSignature, kEmptyData, kHeader256x2, kEnd}),
         CompressedImageFormat::Png, {}},
        {"PNG, width past 31 bits", Join({kPngSignature, kHeaderTooWide, kEnd}), CompressedImageFormat::Png, {}},
        {"PNG without its end chunk", Join({kPngSignature, kHeader256x2, kEmptyData}), CompressedImageFormat::Png, {}},
        {"PNG, header checksum wrong", WithByteFlipped(Join({kPngSignature, kHeader256x2, kEnd}), 20),
         CompressedImageFormat::Png, {}},
        {"PNG, data checksum wrong", WithByteFlipped(Join({kPngSignature, kHeader256x2, kEmptyData, kEnd}), 41),
         CompressedImageFormat::Png, {}},
        {"PNG, chunk longer than the file", Join({kPngSignature, kHeader256x2, {0, 0, 1, 0, 'I', 'D', 'A', 'T'}}),
         CompressedImageFormat::Png, {}},
        // Markers before the frame are stepped over; fill bytes and markers without length too.
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xFF, 0xD0, 0xFF, 0xC2, 0, 11, 8, 0, 7, 0, 9, 0xFF, 0xD9},
         CompressedImageFormat::Jpeg, {9, 7}},
        {"JPEG, tables first", {0xFF, 0xD8, 0xFF, 0xC4, 0, 2, 0xFF, 0xC1, 0, 11, 8, 1, 0, 1, 0, 0xFF, 0xD9, 0},
         CompressedImageFormat::Jpeg, {256, 256}},
        {"JPEG without its end marker", {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 7, 0, 9, 0xFF, 0xDA, 0xFF, 0},
         CompressedImageFormat::Jpeg, {}},
        {"JPEG, data before any frame", {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0xFF, 0xD9}, CompressedImageFormat::Jpeg, {}},
        {"JPEG, length under 2", {0xFF, 0xD8, 0xFF, 0xE1, 0, 1}, CompressedImageFormat::Jpeg, {}},
        {"JPEG, length past the end", {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0, 0}, CompressedImageFormat::Jpeg, {}},
        {"JPEG end only", {0xFF, 0xD9}, CompressedImageFormat::Jpeg, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.size.cx == 0) {
            EXPECT_THROW(ReadCompressedImageSize(row.format, row.bytes), EInvalidGraphic);
        } else {
            EXPECT_EQ(ReadCompressedImageSize(row.format, row.bytes), row.size);
        }
    }
}

}  // namespace
}  // namespace automenu::test
