#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/GraphicsTestSupport.h"
#include "support/BmpHeader.h"
#include "support/HeadlessFixture.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TCustomForm.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace automenu::test {
namespace {

// A 24-bit bitmap file whose pixel (x, y) is PatternColour(x, y).
Rgb PatternColour(int x, int y) {
    return {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
            static_cast<std::uint8_t>((x + y) | 0x80)};
}

std::string WritePatternBitmap(int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> b = testing::BmpHeader(width, height, 24);
    b.resize(54 + static_cast<std::size_t>(stride) * height);
    testing::Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    testing::Put32(b, 10, 54);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = PatternColour(x, y);
            std::uint8_t* p = &b[54 + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    // Named by process: ctest runs each test in a process of its own, and two
    // at once must not write the same file.
    const std::string path = ::testing::TempDir() + "pattern" + std::to_string(width) + "x" + std::to_string(height) +
                             "-" + std::to_string(::getpid()) + ".bmp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return path;
}

// Loads the pattern into `picture` and takes the file away again.
void LoadPatternBitmap(TPicture& picture, int width, int height) {
    const std::string path = WritePatternBitmap(width, height);
    picture.LoadFromFile(path);
    std::filesystem::remove(path);
}

// The menu's window with the picture control at 0, 0, 632 x 453.
class ImageControl : public testing::HeadlessFormTest {
protected:
    ImageControl() {
        m_image = &form->AddControl<TImage>();
        m_image->SetBounds(0, 0, 632, 453);
        Pump();
        m_face = desktop.SysColor(COLOR_BTNFACE);
    }
    Rgb Pixel(int x, int y) { return desktop.Pixel(Window(), x, y); }

    TImage* m_image = nullptr;
    Rgb m_face;
};

TEST_F(ImageControl, LargerPictureShowsItsTopLeftPart) {
    LoadPatternBitmap(m_image->Picture(), 640, 480);
    Pump();
    // Inside the control: the picture's own pixel at the same place.
    for (TPoint p : {TPoint{0, 0}, TPoint{631, 0}, TPoint{0, 452}, TPoint{631, 452}, TPoint{300, 200}})
        EXPECT_EQ(Pixel(p.x, p.y), PatternColour(p.x, p.y)) << p.x << "," << p.y;
    // Outside it (the window is 2 wider and 1 higher): the window colour, not the picture.
    for (TPoint p : {TPoint{632, 0}, TPoint{633, 452}, TPoint{0, 453}, TPoint{633, 453}})
        EXPECT_EQ(Pixel(p.x, p.y), m_face) << p.x << "," << p.y;
}

TEST_F(ImageControl, PictureLargerThanTheScreenShowsTheSamePixels) {
    // Only a screen's worth is held; what is drawn of it is in place.
    desktop.SetScreen({320, 240}, 96);
    LoadPatternBitmap(m_image->Picture(), 640, 480);
    Pump();
    for (TPoint p : {TPoint{0, 0}, TPoint{319, 0}, TPoint{0, 239}, TPoint{319, 239}, TPoint{150, 100}})
        EXPECT_EQ(Pixel(p.x, p.y), PatternColour(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(m_image->Picture().Width(), 640);
}

TEST_F(ImageControl, SmallerPictureSitsTopLeftWithTheWindowColourAround) {
    LoadPatternBitmap(m_image->Picture(), 100, 50);
    Pump();
    EXPECT_EQ(Pixel(0, 0), PatternColour(0, 0));
    EXPECT_EQ(Pixel(99, 49), PatternColour(99, 49));
    for (TPoint p : {TPoint{100, 0}, TPoint{0, 50}, TPoint{100, 50}, TPoint{316, 226}, TPoint{631, 452}})
        EXPECT_EQ(Pixel(p.x, p.y), m_face) << p.x << "," << p.y;
}

TEST_F(ImageControl, EmptyOrNoPictureDrawsNothing) {
    EXPECT_EQ(Pixel(10, 10), m_face);
    m_image->Picture().LoadFromFile(PictureFixture("empty.bmp"));
    Pump();
    EXPECT_EQ(Pixel(10, 10), m_face);
}

TEST_F(ImageControl, IconShowsTheWindowThroughItsMask) {
    m_image->Picture().LoadFromFile(PictureFixture("dib24.ico"));
    Pump();
    const PixelImage reference = LoadReferencePng("dib24.png");
    // Masked pixels: x < 2; opaque ones elsewhere (see make-fixtures.py).
    EXPECT_EQ(Pixel(0, 5), m_face);
    const std::uint32_t px = reference.pixels[5 * 16 + 3];
    EXPECT_EQ(Pixel(3, 5), (Rgb{static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                                static_cast<std::uint8_t>(px)}));
    EXPECT_EQ(Pixel(16, 5), m_face);  // beyond the icon's own 16 x 16
}

TEST_F(ImageControl, TransparentPngShowsTheWindowColourThroughIt) {
    // Premultiplied reference pixels over the window colour.
    auto over_face = [&](std::uint32_t px) {
        const int a = static_cast<int>(px >> 24);
        auto mix = [&](int shift, std::uint8_t face) {
            return static_cast<std::uint8_t>(static_cast<int>((px >> shift) & 0xFF) + (face * (255 - a) + 127) / 255);
        };
        return Rgb{mix(16, m_face.r), mix(8, m_face.g), mix(0, m_face.b)};
    };
    for (const char* file : {"png_rgba.png", "png_palette_transparent.png"}) {
        SCOPED_TRACE(file);
        m_image->Picture().LoadFromFile(PictureFixture(file));
        Pump();
        const PixelImage reference = LoadReferencePng(file);
        for (TPoint p : {TPoint{0, 0}, TPoint{6, 6}, TPoint{16, 10}, TPoint{32, 20}}) {
            const Rgb expected = over_face(reference.pixels[static_cast<std::size_t>(p.y) * reference.width + p.x]);
            const Rgb got = Pixel(p.x, p.y);
            EXPECT_NEAR(got.r, expected.r, 2) << p.x << "," << p.y;
            EXPECT_NEAR(got.g, expected.g, 2) << p.x << "," << p.y;
            EXPECT_NEAR(got.b, expected.b, 2) << p.x << "," << p.y;
        }
        EXPECT_EQ(Pixel(33, 0), m_face);  // beyond the picture
    }
    // The white square of the palette picture is its transparent colour.
    EXPECT_EQ(Pixel(6, 6), m_face);
}

TEST_F(ImageControl, MetafilePlaysAtItsNaturalSize) {
    m_image->Picture().LoadFromFile(PictureFixture("office.wmf"));
    Pump();
    EXPECT_EQ(m_image->Picture().Width(), 632);
    EXPECT_EQ(m_image->Picture().Height(), 453);
    // The title bar, the page colour, and the window colour outside the control.
    EXPECT_EQ(Pixel(400, 20), (Rgb{0x1f, 0x3f, 0x7f}));
    EXPECT_EQ(Pixel(620, 440), (Rgb{0xf4, 0xf4, 0xee}));
    EXPECT_EQ(Pixel(633, 100), m_face);
}

TEST_F(ImageControl, LabelsArePaintedOverThePicture) {
    LoadPatternBitmap(m_image->Picture(), 640, 480);
    TLabel& label = form->AddControl<TLabel>();
    label.SetTransparent(true);
    label.SetBounds(16, 16, 200, 20);
    label.SetCaption("WWWWWWWWWW");
    Pump();
    int text = 0, picture = 0;
    for (int y = 16; y < 30; ++y)
        for (int x = 16; x < 60; ++x) {
            const Rgb p = Pixel(x, y);
            if (p == PatternColour(x, y)) ++picture;
            else ++text;
        }
    EXPECT_GT(text, 20);     // the caption's pixels
    EXPECT_GT(picture, 50);  // the picture between the letters
}

TEST_F(ImageControl, PictureChangeRepaintsAndKeepsTheBounds) {
    Pump();
    LoadPatternBitmap(m_image->Picture(), 100, 50);
    EXPECT_TRUE(desktop.HasPendingPaint(Window()));
    EXPECT_EQ(m_image->Width(), 632);
    EXPECT_EQ(m_image->Height(), 453);
    Pump();
    // A failing load leaves the picture and paints nothing new.
    EXPECT_THROW(m_image->Picture().LoadFromFile(PictureFixture("planes_zero.bmp")), EInvalidGraphic);
    EXPECT_FALSE(desktop.HasPendingPaint(Window()));
    EXPECT_EQ(m_image->Picture().Width(), 100);
}

TEST_F(ImageControl, FilesThePlatformCannotOpen) {
    const std::string folder = ::testing::TempDir() + "folder.bmp";
    std::filesystem::create_directories(folder);
    for (const std::string& name : {folder, ::testing::TempDir() + "no-such-picture.bmp"}) {
        SCOPED_TRACE(name);
        ExpectFailure([&] { m_image->Picture().LoadFromFile(name); }, typeid(EFOpenError), "Cannot open file " + name);
        EXPECT_EQ(m_image->Picture().Graphic(), nullptr);
    }
}

TEST(ImageDefaults, DefaultSizeAndNoPicture) {
    platform::HeadlessPlatform platform;
    ScopedPlatform installed(platform);
    TForm form;
    TImage& image = form.AddControl<TImage>();
    EXPECT_EQ(image.Width(), 105);
    EXPECT_EQ(image.Height(), 105);
    EXPECT_EQ(image.Picture().Graphic(), nullptr);
}

}  // namespace
}  // namespace automenu::test
