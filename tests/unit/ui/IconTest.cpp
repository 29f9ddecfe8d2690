#include <gtest/gtest.h>

#include "support/GraphicsTestSupport.h"
#include "formats/IcoDecoder.h"
#include "support/BmpHeader.h"
#include "ui/TIcon.h"

namespace automenu::test {
namespace {

class IconFiles : public PictureTest {};

// Compares premultiplied pixels; fully transparent pixels match whatever
// colour the reference keeps under them.
double IconMismatch(const PixelImage& got, const PixelImage& expected) {
    if (got.width != expected.width || got.height != expected.height) return 1.0;
    std::size_t bad = 0;
    for (std::size_t i = 0; i < got.pixels.size(); ++i) {
        const std::uint32_t e = (expected.pixels[i] >> 24) == 0 ? 0 : expected.pixels[i];
        if (PixelDistance(got.pixels[i], e) > 2) ++bad;
    }
    return static_cast<double>(bad) / static_cast<double>(got.pixels.size());
}

TEST_F(IconFiles, ImagesDecodeWithMaskOrAlpha) {
    struct Row {
        const char* icon;
        TSize requested;
        const char* reference;
        TSize size;
    } rows[] = {
        {"dib1.ico", {16, 16}, "dib1.png", {16, 16}},
        {"dib4.ico", {16, 16}, "dib4.png", {16, 16}},
        {"dib8.ico", {16, 16}, "dib8.png", {16, 16}},
        {"dib24.ico", {16, 16}, "dib24.png", {16, 16}},
        {"im_alpha.ico", {16, 16}, "im_alpha_16.png", {16, 16}},
        {"im_alpha.ico", {0, 0}, "im_alpha_32.png", {32, 32}},  // the large-icon size
        {"im_alpha.ico", {48, 48}, "im_alpha_48.png", {48, 48}},
        {"pil_png.ico", {32, 32}, "pil_png_32.png", {32, 32}},  // PNG images
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reference);
        TIcon icon;
        icon.SetRequestedSize(row.requested);
        icon.LoadFromFile(PictureFixture(row.icon));
        const PixelImage& image = icon.Image();
        EXPECT_EQ(icon.Width(), row.size.cx);
        EXPECT_EQ(icon.Height(), row.size.cy);
        EXPECT_TRUE(image.has_alpha);
        EXPECT_EQ(IconMismatch(image, LoadReferencePng(row.reference)), 0.0);
    }
}

TEST_F(IconFiles, SizeReadsAsTheLargeIconSizeUntilBuilt) {
    platform.large_icon = {48, 48};
    TIcon icon;
    icon.SetRequestedSize({16, 16});
    icon.LoadFromFile(PictureFixture("im_alpha.ico"));
    EXPECT_EQ(icon.Width(), 48);
    icon.Image();
    EXPECT_EQ(icon.Width(), 16);
}

TEST_F(IconFiles, TypeZeroIsTheStandardApplicationIcon) {
    TIcon icon;
    icon.LoadFromFile(PictureFixture("type0.ico"));
    const PixelImage& image = icon.Image();
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.pixels, StandardApplicationIcon({32, 32}).pixels);
}

TEST_F(IconFiles, HeaderFailuresAtLoad) {
    struct Row {
        const char* file;
        const std::type_info& type;
        std::string message;
    } rows[] = {
        {"header_cut.ico", typeid(EReadError), "Stream read error"},
        {"empty.bmp", typeid(EReadError), "Stream read error"},
        {"cursor_type2.ico", typeid(EInvalidGraphic), "Icon image is not valid"},
        {"no-such.ico", typeid(EFOpenError), "Cannot open file " + PictureFixture("no-such.ico")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TIcon icon;
        icon.LoadFromFile(PictureFixture("dib4.ico"));
        ExpectFailure([&] { icon.LoadFromFile(PictureFixture(row.file)); }, row.type, row.message);
        EXPECT_EQ(icon.Image().width, 16);  // the previous icon stays
    }
}

TEST_F(IconFiles, DamagedImagesLoadAndFailWhenBuilt) {
    for (const char* file : {"entry_offset_outside.ico", "count_exceeds_file.ico"}) {
        SCOPED_TRACE(file);
        TIcon icon;
        icon.LoadFromFile(PictureFixture(file));
        EXPECT_FALSE(icon.Empty());
        ExpectFailure([&] { icon.Image(); }, typeid(EOutOfResources), "Out of system resources");
    }
}

// An icon file of one image, its directory entry saying 256 x 256.
std::vector<std::uint8_t> OneImageIcon(const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> b = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
    for (std::uint32_t v : {static_cast<std::uint32_t>(image.size()), 22u})
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    b.insert(b.end(), image.begin(), image.end());
    return b;
}

// The PNG signature and an IHDR chunk declaring the size; nothing after it.
std::vector<std::uint8_t> PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height})
        for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});  // 8-bit RGBA, CRC
    return b;
}

// A whole PNG of the size, as cairo writes it.
std::vector<std::uint8_t> Png(int width, int height) {
    return platform::EncodePngWithCairo(
        {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height), true});
}

// A 24-bit icon image of white pixels whose mask hides the top-left pixel
// (rows bottom-up, so in the mask's last row).
std::vector<std::uint8_t> WhiteDibImage(int width, int height) {
    std::vector<std::uint8_t> b = testing::BmpHeader(width, 2 * height, 24);
    b.erase(b.begin(), b.begin() + 14);  // no file header in an icon
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t mask_stride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    b.resize(b.size() + stride * height, 0xFF);
    b.resize(b.size() + mask_stride * height, 0);
    b[b.size() - mask_stride] = 0x80;
    return b;
}

TEST_F(IconFiles, ImagesLargerThanTheScreen) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> image;
        bool builds;
    } rows[] = {
        {"PNG declaring 16384 x 16384", PngHeaderOnly(16384, 16384), false},
        {"PNG 1100 x 700", Png(1100, 700), false},
        {"PNG 1024 x 768", Png(1024, 768), true},
        {"DIB declaring 2000 x 1500, no pixels", WhiteDibImage(2000, 1500), true},
        {"DIB 1030 x 770 with mask", WhiteDibImage(1030, 770), true},
    };
    rows[3].image.resize(40);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIcon icon;
        icon.LoadFromBytes(OneImageIcon(row.image));
        if (!row.builds) {
            ExpectFailure([&] { icon.Image(); }, typeid(EOutOfResources), "Out of system resources");
            continue;
        }
        const PixelImage& held = icon.Image();
        EXPECT_EQ(icon.Width(), 256);
        EXPECT_LE(held.width, 1024);
        EXPECT_LE(held.height, 768);
        EXPECT_EQ(held.pixels.size(), static_cast<std::size_t>(held.width) * held.height);
    }
    // The mask's rows and the colour rows meet at the held top-left corner.
    TIcon icon;
    icon.LoadFromBytes(OneImageIcon(WhiteDibImage(1030, 770)));
    const PixelImage& held = icon.Image();
    ASSERT_EQ(held.width, 1024);
    EXPECT_EQ(held.pixels[0], 0u);
    EXPECT_EQ(held.pixels[1], 0xFFFFFFFFu);
    EXPECT_EQ(held.pixels.back(), 0xFFFFFFFFu);
}

IconDirEntry Entry(int w, int h, std::uint32_t colours) { return {w, h, colours, 0, 0}; }

TEST(IconSelection, ChoosesAsSpecified) {
    struct Row {
        const char* why;
        std::vector<IconDirEntry> entries;
        TSize requested;
        int screen_bits;
        std::size_t expected;
    } rows[] = {
        {"exact size wins", {Entry(16, 16, 0), Entry(32, 32, 0), Entry(48, 48, 0)}, {32, 32}, 32, 1},
        {"closer but wider than a narrower choice loses", {Entry(16, 16, 0), Entry(48, 48, 0)}, {40, 40}, 32, 0},
        {"closer and narrower replaces", {Entry(48, 48, 0), Entry(16, 16, 0)}, {20, 20}, 32, 1},
        {"closer, wider, over a wider choice", {Entry(64, 64, 0), Entry(48, 48, 0)}, {40, 40}, 32, 1},
        {"equal distance keeps the smaller", {Entry(24, 24, 0), Entry(40, 40, 0)}, {32, 32}, 32, 0},
        {"equal distance, smaller comes later", {Entry(40, 40, 0), Entry(24, 24, 0)}, {32, 32}, 32, 1},
        {"identical later entry replaces", {Entry(32, 32, 16), Entry(32, 32, 16)}, {32, 32}, 32, 1},
        {"more colours replace", {Entry(32, 32, 16), Entry(32, 32, 256)}, {32, 32}, 32, 1},
        {"fewer colours never replace", {Entry(32, 32, 256), Entry(32, 32, 16)}, {32, 32}, 32, 0},
        {"unlimited colours (0) beat 256", {Entry(32, 32, 256), Entry(32, 32, 0)}, {32, 32}, 32, 1},
        {"colour limit of an 8-bit screen", {Entry(32, 32, 16), Entry(32, 32, 0), Entry(32, 32, 256)}, {32, 32}, 8, 2},
        {"colour limit of a 4-bit screen", {Entry(32, 32, 16), Entry(32, 32, 256)}, {32, 32}, 4, 0},
        {"entry 0 kept whatever its colours", {Entry(32, 32, 0), Entry(32, 32, 16)}, {32, 32}, 4, 0},
        {"closer but fewer colours loses", {Entry(16, 16, 256), Entry(32, 32, 16)}, {32, 32}, 32, 0},
        {"width and height judged apart", {Entry(32, 16, 0), Entry(16, 32, 0)}, {32, 32}, 32, 0},
        {"both closer", {Entry(16, 16, 0), Entry(24, 32, 0)}, {32, 32}, 32, 1},
        {"256 (a 0 byte) for a 48 request", {Entry(32, 32, 0), Entry(256, 256, 0)}, {48, 48}, 32, 0},
        {"small icon request", {Entry(48, 48, 0), Entry(32, 32, 0), Entry(16, 16, 0)}, {16, 16}, 32, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(SelectIconImage(row.entries, row.requested, IconColourLimit(row.screen_bits)), row.expected);
    }
}

TEST_F(IconFiles, ScreenColourBitsLimitTheChoice) {
    // six_images.ico holds 32-bit images only: a 4-bit screen still gets entry 0.
    platform.color_bits = 4;
    TIcon icon;
    icon.LoadFromFile(PictureFixture("six_images.ico"));
    icon.Image();
    EXPECT_EQ(icon.Width(), 256);
}

}  // namespace
}  // namespace automenu::test
