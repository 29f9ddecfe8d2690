#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/TextDecoding.h"
#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/PangoText.h"

namespace automenu::platform {
namespace {

class TextTest : public ::testing::Test {
protected:
    TextTest() {
        FontDescription d;
        d.height = -11;
        d.name = "MS Sans Serif";
        m_font = CreatePangoFont(d);
        m_cell = MetricsOf(*m_font).cell_height;
    }
    TRect Measure(std::string_view text, unsigned flags = DT_EXPANDTABS, TRect from = {0, 0, 0, 0}) {
        return DrawTextOnCairo(m_measure.Context(), *m_font, {}, text, from, flags | DT_CALCRECT);
    }
    // Draws black text on white and returns the image.
    CairoSurfacePtr Render(std::string_view text, unsigned flags, TRect rect, int w = 80, int h = 40) {
        CairoSurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
        CairoContextPtr cr(cairo_create(s.get()));
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        DrawTextOnCairo(cr.get(), *m_font, {0, 0, 0}, text, rect, flags);
        cairo_surface_flush(s.get());
        return s;
    }
    static bool Dark(cairo_surface_t* s, int x, int y) {
        const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        std::uint32_t px;
        std::memcpy(&px, row + 4 * x, 4);
        return (px & 0xFF) < 128;
    }

    CairoSurfacePtr m_measure_surface{cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)};
    CairoCanvas m_measure{CairoContextPtr(cairo_create(m_measure_surface.get()))};
    std::shared_ptr<IFont> m_font;
    int m_cell = 0;
};

TEST_F(TextTest, PrefixAndLineRules) {
    struct Case {
        const char* text;
        const char* same_as;  // measured without prefix processing
        int lines;
    } cases[] = {
        {"&Setup", "Setup", 1},
        {"A && B", "A & B", 1},
        {"Trailing&", "Trailing", 1},
        {"a&&&b", "a&b", 1},
        {"one\r\ntwo", "one\ntwo", 2},
        {"one\rtwo", "one\ntwo", 2},
        {"one\n\ntwo", "one\r\n\r\ntwo", 3},
        {"&\nx", "\nx", 2},
    };
    for (const Case& c : cases) {
        TRect r = Measure(c.text);
        TRect plain = Measure(c.same_as, DT_EXPANDTABS | DT_NOPREFIX);
        EXPECT_EQ(r.Width(), plain.Width()) << c.text;
        EXPECT_EQ(r.Height(), c.lines * m_cell) << c.text;
    }
    // Without prefix processing the ampersands stay.
    EXPECT_GT(Measure("A && B", DT_NOPREFIX).Width(), Measure("A & B").Width());
}

TEST_F(TextTest, MeasuringRules) {
    EXPECT_EQ(Measure("", 0, {3, 4, 50, 60}), (TRect{3, 4, 50, 60}));  // empty text: rectangle unchanged
    EXPECT_EQ(Measure("&", 0, {3, 4, 50, 60}), (TRect{3, 4, 3, 4 + m_cell}));
    TRect r = Measure("Hello", 0, {10, 20, 11, 21});
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.Height(), m_cell);
    EXPECT_EQ(Measure("ab\0cd").Width(), Measure("ab").Width());  // a C string ends at NUL
    EXPECT_EQ(Measure(std::string_view("ab\0cd", 5)).Width(), Measure("ab").Width());
    // Nothing wraps without DT_WORDBREAK.
    EXPECT_EQ(Measure("alpha beta gamma", 0, {0, 0, 20, 0}).Height(), m_cell);
    EXPECT_EQ(Measure("alpha beta gamma", DT_WORDBREAK, {0, 0, 40, 0}).Height(), 3 * m_cell);
}

TEST_F(TextTest, TabsStopEveryEightAverageCharacters) {
    const int step = 8 * MetricsOf(*m_font).average_char_width;
    const int x_width = Measure("X").Width();
    EXPECT_EQ(Measure("\tX").Width(), step + x_width);
    EXPECT_EQ(Measure("i\tX").Width(), step + x_width);
    EXPECT_EQ(Measure("\t\tX").Width(), 2 * step + x_width);
    EXPECT_EQ(Measure("\t\t\tX").Width(), 3 * step + x_width);
}

TEST_F(TextTest, AmpersandUnderlinesTheNextCharacterOnly) {
    const TRect rect{0, 0, 80, 40};
    auto marked = Render("&Setup", 0, rect);
    auto plain = Render("Setup", 0, rect);
    const int s_width = Measure("S").Width();
    const int total = Measure("Setup").Width();
    // Find rows that differ: the underline, below the baseline, under "S" only.
    int differing_rows = 0;
    for (int y = 0; y < 40; ++y) {
        bool differs = false;
        for (int x = 0; x < 80; ++x) {
            if (Dark(marked.get(), x, y) != Dark(plain.get(), x, y)) {
                differs = true;
                EXPECT_LT(x, s_width + 1) << "underline reaches past S at " << x << "," << y;
            }
        }
        if (differs) {
            ++differing_rows;
            EXPECT_GE(y, MetricsOf(*m_font).ascent - 1);
            EXPECT_TRUE(Dark(marked.get(), s_width / 2, y));
        }
    }
    EXPECT_GE(differing_rows, 1);
    EXPECT_LT(s_width, total);
}

TEST_F(TextTest, ClippedToTheRectangleAndTransparent) {
    auto s = Render("WWWWWWWWWW", 0, {0, 0, 20, 40});
    bool inside = false;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (x >= 20) {
                EXPECT_FALSE(Dark(s.get(), x, y)) << x << "," << y;
            }
            inside = inside || Dark(s.get(), x, y);
        }
    }
    EXPECT_TRUE(inside);
    // Lines below the rectangle are not drawn either.
    auto two = Render("W\nW", 0, {0, 0, 80, m_cell});
    for (int y = m_cell; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) EXPECT_FALSE(Dark(two.get(), x, y));
    }
}

TEST_F(TextTest, AlignmentPlacesEachLine) {
    const int w = Measure("ab").Width();
    auto right = Render("ab", DT_RIGHT, {0, 0, 60, 20});
    auto centre = Render("ab", DT_CENTER, {0, 0, 60, 20});
    auto first_dark_column = [](cairo_surface_t* s) {
        for (int x = 0; x < 80; ++x)
            for (int y = 0; y < 20; ++y)
                if (Dark(s, x, y)) return x;
        return -1;
    };
    EXPECT_GE(first_dark_column(right.get()), 60 - w);
    EXPECT_NEAR(first_dark_column(centre.get()), (60 - w) / 2, 2);
}

TEST(TextDecodingTest, Utf8OrWindows1252) {
    struct Case {
        std::string bytes;
        bool valid;
        std::string decoded;
    } cases[] = {
        {"plain", true, "plain"},
        {"Caf\xC3\xA9", true, "Caf\xC3\xA9"},
        {"Caf\xE9", false, "Caf\xC3\xA9"},
        {"\x80 5", false, "\xE2\x82\xAC 5"},          // euro sign
        {"\x81", false, "\xC2\x81"},                  // unassigned: the C1 control
        {"\xC0\xAF", false, "\xC3\x80\xC2\xAF"},      // overlong
        {"\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // surrogate
        {"\xE2\x82", false, "\xC3\xA2\xE2\x80\x9A"},  // truncated
        {"\xF4\x90\x80\x80", false, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // past U+10FFFF
        {"\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
        EXPECT_EQ(DecodeCaptionBytes(c.bytes), c.decoded) << c.bytes;
        EXPECT_TRUE(IsValidUtf8(DecodeCaptionBytes(c.bytes)));
    }
}

TEST_F(TextTest, Windows1252CaptionsMeasureLikeTheirUtf8) {
    EXPECT_EQ(Measure("Caf\xE9 na\xEFve").Width(), Measure("Caf\xC3\xA9 na\xC3\xAFve").Width());
}

// A caption reads left to right whatever its script, as DrawText without
// DT_RTLREADING lays it out: the right-to-left words keep their place at the
// left, and what follows them goes to their right.
TEST_F(TextTest, RightToLeftCaptionsKeepALeftToRightLabel) {
    const struct {
        const char* words;
        const char* after;
    } cases[] = {
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "."},               // Hebrew
        {"\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", "!"},       // Arabic
        {"\xD8\xAA\xD8\xAB\xD8\xA8\xD9\x8A\xD8\xAA", " (x64)"},  // Arabic
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        const int width = Measure(c.words).Width();
        ASSERT_GT(width, 0);
        const std::string longer = std::string(c.words) + c.after;
        CairoSurfacePtr alone = Render(c.words, 0, {0, 0, 200, 40}, 200, 40);
        CairoSurfacePtr followed = Render(longer, 0, {0, 0, 200, 40}, 200, 40);
        int same = 0, differ_left = 0;
        for (int y = 0; y < m_cell; ++y)
            for (int x = 0; x < width; ++x) {
                const bool a = Dark(alone.get(), x, y), b = Dark(followed.get(), x, y);
                same += a && b;
                differ_left += a != b;
            }
        EXPECT_GT(same, 0);
        EXPECT_EQ(differ_left, 0) << "the words moved: the label was laid out right to left";
        bool dark_after = false;
        for (int y = 0; y < m_cell; ++y)
            for (int x = width; x < 200; ++x) dark_after |= Dark(followed.get(), x, y);
        EXPECT_TRUE(dark_after);
    }
}

}  // namespace
}  // namespace automenu::platform
