#include <gtest/gtest.h>

#include <string>

#include "platform/PlatformAccess.h"
#include "platform/cairo/PangoText.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TFont.h"

namespace automenu {
namespace {

class FontTest : public ::testing::Test {
protected:
    platform::HeadlessPlatform m_platform;
    ScopedPlatform m_installed{m_platform};
};

TEST(MulDivTest, RoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {1, 1, 2, 1}, {-1, 1, 2, -1}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {1, 1, 3, 0}, {2, 1, 3, 1},
        {8, 96, 72, 11}, {-11, 72, 96, -8}, {5, 7, -2, -18}, {1, 1, 0, -1},
        {2147483647, 2, 1, -1}, {2147483647, 2, 2, 2147483647}, {-2147483647 - 1, 1, 1, -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST_F(FontTest, SizeToHeightAndBack) {
    struct Case {
        int points, height;
    } cases[] = {
        {8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {18, -24},
        {0, 0}, {-8, 11},  // 0 asks for the default height, negative for a cell height
    };
    // The headless screen's 96 pixels per inch.
    for (const Case& c : cases) {
        TFont font;
        font.SetSize(c.points);
        EXPECT_EQ(font.Height(), c.height) << c.points << " pt";
        EXPECT_EQ(font.Size(), c.points) << c.points << " pt";
    }
}

TEST_F(FontTest, NewFontTakesTheDefaults) {
    TFont font;
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Style(), 0);
    EXPECT_EQ(font.Description().charset, DEFAULT_CHARSET);
}

TEST_F(FontTest, EqualDescriptionsShareOneRecord) {
    TFont a, b;
    EXPECT_EQ(&a.Description(), &b.Description());
    a.SetSize(12);
    EXPECT_NE(&a.Description(), &b.Description());
    b.SetStyle(fsBold);
    b.SetSize(12);
    b.SetStyle(0);
    EXPECT_EQ(&a.Description(), &b.Description());
    // The platform font is made once per record and shared.
    EXPECT_EQ(&a.Handle(), &b.Handle());
}

TEST_F(FontTest, NoticeOnlyWhenSomethingChanges) {
    TFont font;
    int notices = 0;
    font.OnChange = [&] { ++notices; };
    struct Step {
        const char* what;
        std::function<void()> set;
        int notices_after;
    } steps[] = {
        {"same size", [&] { font.SetSize(8); }, 0},
        {"same height", [&] { font.SetHeight(-11); }, 0},
        {"same name", [&] { font.SetName("MS Sans Serif"); }, 0},
        {"empty name", [&] { font.SetName(""); }, 0},
        {"same style", [&] { font.SetStyle(0); }, 0},
        {"same colour", [&] { font.SetColor(clWindowText); }, 0},
        {"same charset", [&] { font.SetCharset(DEFAULT_CHARSET); }, 0},
        {"new size", [&] { font.SetSize(12); }, 1},
        {"new name", [&] { font.SetName("Arial"); }, 2},
        {"bold", [&] { font.SetStyle(fsBold); }, 3},
        {"colour", [&] { font.SetColor(0x0000FF); }, 4},
        {"size again", [&] { font.SetSize(12); }, 4},
        {"bold again", [&] { font.SetStyle(fsBold); }, 4},
        {"colour again", [&] { font.SetColor(0x0000FF); }, 4},
    };
    for (const Step& s : steps) {
        s.set();
        EXPECT_EQ(notices, s.notices_after) << s.what;
    }
    EXPECT_EQ(font.Height(), -16);
    EXPECT_EQ(font.Style(), fsBold);
}

TEST_F(FontTest, NameRules) {
    TFont font;
    font.SetName(std::string(40, 'x'));
    EXPECT_EQ(font.Name(), std::string(31, 'x'));
    font.SetName("");
    EXPECT_EQ(font.Name(), std::string(31, 'x'));
    // 31 characters, as a LOGFONTW holds them, of any script; one beyond
    // U+FFFF takes two of them and is left out when only one is left.
    std::string gothic;
    for (int i = 0; i < 40; ++i) gothic += "\xE3\x82\xB4";  // ゴ
    font.SetName(gothic);
    EXPECT_EQ(font.Name(), gothic.substr(0, 31 * 3));
    font.SetName(std::string(30, 'x') + "\xF0\xA0\x80\x8B");
    EXPECT_EQ(font.Name(), std::string(30, 'x'));
    // "Default" in any case stands for the default face when the platform
    // font is made; the description keeps the name as given.
    font.SetName("dEfAuLt");
    EXPECT_EQ(font.Name(), "dEfAuLt");
    EXPECT_EQ(font.Handle().Description().name, "MS Sans Serif");
}

TEST_F(FontTest, StylesAreIndependent) {
    TFont font;
    font.SetStyle(fsBold | fsItalic | fsUnderline);
    font.SetStyle(font.Style() & ~fsBold);
    EXPECT_EQ(font.Style(), fsItalic | fsUnderline);
    font.SetStyle(0xFF);  // bits beyond the four styles are dropped
    EXPECT_EQ(font.Style(), fsBold | fsItalic | fsUnderline | fsStrikeOut);
}

// The window layout scales every control when the text "0" in its font is not
// 13 pixels high, so the default font must give exactly that.
TEST_F(FontTest, PlatformHeights) {
    auto cell = [&](int height) {
        FontDescription d;
        d.height = height;
        d.name = "MS Sans Serif";
        auto f = m_platform.CreateFont(d);
        TRect r = m_platform.ScreenCanvas().DrawText(*f, {}, "0", {0, 0, 0, 0}, DT_CALCRECT);
        EXPECT_EQ(r.Height(), platform::MetricsOf(*f).cell_height);
        return r.Height();
    };
    EXPECT_EQ(cell(-11), 13);
    EXPECT_EQ(cell(0), 16);  // 0: the GDI's default, a 16-pixel cell
    for (int h : {9, 13, 20, 31}) EXPECT_EQ(cell(h), h) << "cell height " << h;
    EXPECT_LT(cell(-11), cell(-16));
}

// Height 0 (a size of 0 points: a missing size key) draws what the GDI
// draws for it in every face: the font of a 16-pixel cell, not the window's
// 8 points.
TEST_F(FontTest, HeightZeroIsTheFontOfASixteenPixelCell) {
    auto measure = [&](const char* name, int height) {
        FontDescription d;
        d.height = height;
        d.name = name;
        auto f = m_platform.CreateFont(d);
        return m_platform.ScreenCanvas().DrawText(*f, {}, "Installation", {0, 0, 0, 0}, DT_CALCRECT);
    };
    for (const char* name : {"Arial", "MS Sans Serif", "Times New Roman", "Courier New", "Verdana"}) {
        const TRect zero = measure(name, 0);
        EXPECT_EQ(zero.Height(), 16) << name;
        EXPECT_EQ(zero.Width(), measure(name, 16).Width()) << name;
        EXPECT_GT(zero.Width(), measure(name, -11).Width()) << name;
    }
}

TEST_F(FontTest, BoldIsWider) {
    TFont regular, bold;
    bold.SetStyle(fsBold);
    auto width = [&](const TFont& f) {
        return m_platform.ScreenCanvas().DrawText(f.Handle(), {}, "Installation", {}, DT_CALCRECT).Width();
    };
    EXPECT_GT(width(bold), width(regular));
}

}  // namespace
}  // namespace automenu
