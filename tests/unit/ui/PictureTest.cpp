#include <gtest/gtest.h>

#include "support/GraphicsTestSupport.h"
#include "ui/TBitmap.h"
#include "ui/TCompressedImage.h"
#include "ui/TFileFormatsList.h"
#include "ui/TIcon.h"
#include "ui/TMetafile.h"
#include "ui/TPicture.h"

namespace automenu::test {
namespace {

class PictureLoading : public PictureTest {};

TEST(FileFormats, ExtensionRule) {
    struct Row {
        const char* name;
        const char* extension;
    } rows[] = {
        {"back.bmp", "bmp"},          {"BACK.BMP", "BMP"},           {"a.b.Bmp", "Bmp"},
        {"back", ""},                 {"C:\\pics.old\\back", ""},    {"/srv/pics.old/back", ""},
        {"D:back", ""},               {"D:.bmp", "bmp"},             {"dir\\back.", ""},
        {"C:\\menu\\back.jpg", "jpg"}, {"./pics/back.wmf", "wmf"},
    };
    for (const Row& row : rows) EXPECT_EQ(PictureFileExtension(row.name), row.extension) << row.name;
}

TEST_F(PictureLoading, ExtensionChoosesTheGraphicKindCaseInsensitively) {
    struct Row {
        const char* file;
        const char* kind;
    } rows[] = {
        {"pal4.bmp", "bitmap"},     {"PAL4.BMP", "bitmap"}, {"pal4.Bmp", "bitmap"},
        {"dib4.ico", "icon"},       {"shapes.emf", "metafile"}, {"shapes.wmf", "metafile"},
        {"png_rgb.png", "compressed"}, {"PNG_RGB.PNG", "compressed"}, {"jpeg_baseline.jpg", "compressed"},
        {"JPEG_BASELINE.JPG", "compressed"},
    };
    // The fixtures are lower-case; map the name's case away only for opening.
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string alias = ::testing::TempDir() + row.file;
        std::filesystem::remove(alias);
        std::string source = row.file;
        for (char& c : source) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::filesystem::copy_file(PictureFixture(source), alias);
        TPicture picture;
        picture.LoadFromFile(alias);
        TGraphic* g = picture.Graphic();
        ASSERT_NE(g, nullptr);
        const std::string kind = dynamic_cast<TCompressedImage*>(g) ? "compressed"
                                 : dynamic_cast<TBitmap*>(g)   ? "bitmap"
                                 : dynamic_cast<TIcon*>(g)   ? "icon"
                                 : dynamic_cast<TMetafile*>(g) ? "metafile"
                                                               : "?";
        EXPECT_EQ(kind, row.kind);
        std::filesystem::remove(alias);
    }
}

TEST_F(PictureLoading, FailuresKeepThePreviousGraphic) {
    struct Row {
        std::string file;
        const std::type_info& type;
        std::string message;
    } rows[] = {
        {"back.gif", typeid(EInvalidGraphic), "Unknown picture file extension (.gif)"},
        {"back.GIF", typeid(EInvalidGraphic), "Unknown picture file extension (.GIF)"},
        {"back.jpe", typeid(EInvalidGraphic), "Unknown picture file extension (.jpe)"},
        {"back", typeid(EInvalidGraphic), "Unknown picture file extension (.)"},
        {"C:\\pics.old\\back", typeid(EInvalidGraphic), "Unknown picture file extension (.)"},
        {PictureFixture("missing.bmp"), typeid(EFOpenError), "Cannot open file " + PictureFixture("missing.bmp")},
        {"pics/../missing.bmp", typeid(EFOpenError), "Cannot open file pics/../missing.bmp"},
        {std::string(AUTOMENU_TEST_DATA) + "/pictures.bmp", typeid(EFOpenError),
         "Cannot open file " + std::string(AUTOMENU_TEST_DATA) + "/pictures.bmp"},
        {PictureFixture("planes_zero.bmp"), typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {PictureFixture("header_cut.ico"), typeid(EReadError), "Stream read error"},
        {PictureFixture("empty.wmf"), typeid(EInvalidGraphic), "Metafile is not valid"},
    };
    // A directory named like a picture cannot be opened either.
    const std::string dir_picture = ::testing::TempDir() + "folder.bmp";
    std::filesystem::create_directories(dir_picture);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TPicture picture;
        picture.LoadFromFile(PictureFixture("pal1.bmp"));
        TGraphic* before = picture.Graphic();
        int changes = 0;
        picture.SetOnChange([&] { ++changes; });
        ExpectFailure([&] { picture.LoadFromFile(row.file); }, row.type, row.message);
        EXPECT_EQ(picture.Graphic(), before);
        EXPECT_EQ(changes, 0);
    }
    TPicture picture;
    ExpectFailure([&] { picture.LoadFromFile(dir_picture); }, typeid(EFOpenError), "Cannot open file " + dir_picture);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
}

TEST_F(PictureLoading, OwnerIsToldOfEveryChange) {
    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    picture.LoadFromFile(PictureFixture("pal8.bmp"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 17);
    // A change of the graphic itself reaches the owner too.
    picture.Graphic()->LoadFromFile(PictureFixture("pal4.bmp"));
    EXPECT_EQ(changes, 2);
    picture.LoadFromFile(PictureFixture("empty.bmp"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(picture.Width(), 0);
}

}  // namespace
}  // namespace automenu::test
