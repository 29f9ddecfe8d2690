// The framework's error box on the headless desktop, which has no box of its
// own: its window, layout, look and the ways it is dismissed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/HeadlessFixture.h"
#include "ui/StopIcon.h"
#include "ui/TErrorDialog.h"

namespace automenu {
namespace {

using platform::WindowId;
using testing::HeadlessTest;

TEST(StopIcon, IsARedDiscWithAWhiteCrossOnATransparentSquare) {
    const PixelImage icon = MakeStopIcon(32);
    ASSERT_EQ(icon.width, 32);
    ASSERT_TRUE(icon.has_alpha);
    const auto at = [&](int x, int y) { return icon.pixels[y * 32 + x]; };
    EXPECT_EQ(at(0, 0) >> 24, 0u) << "corner";
    EXPECT_EQ(at(15, 15), 0xFFFFFFFFu) << "the cross's middle";
    const std::uint32_t red = at(15, 4);  // inside the disc, above the cross
    EXPECT_EQ(red >> 24, 255u);
    EXPECT_GT((red >> 16) & 0xFF, 3 * ((red >> 8) & 0xFF)) << std::hex << red;
    int partial = 0;
    for (std::uint32_t p : icon.pixels) partial += (p >> 24) > 0 && (p >> 24) < 255;
    EXPECT_GT(partial, 40) << "the edge is antialiased";
}

class ErrorBoxTest : public HeadlessTest {
public:
    // Shows the application's error box for `text`; `while_up` runs at each
    // wait of its loop, with the box's window.
    void Show(const std::string& text, std::function<void(WindowId)> while_up) {
        desktop.SetOnErrorBox([&](const auto& box) { while_up(box.window); });
        app->ShowException(Exception(text));
    }
};

TEST_F(ErrorBoxTest, IsAModalDialogCaptionedWithTheTitleCentredOnTheScreenAndGoneAfterwards) {
    WindowId seen = platform::kNoWindow;
    Show("x", [&](WindowId box) {
        seen = box;
        EXPECT_EQ(desktop.Kind(box), platform::WindowKind::Dialog);
        EXPECT_TRUE(desktop.IsModal(box));
        EXPECT_EQ(desktop.Caption(box), "Automenu");
        const TSize client = desktop.ClientSize(box);
        const auto frame = desktop.Frame(box);
        const TPoint at = desktop.Position(box);
        EXPECT_EQ(at.x, (1280 - client.cx - frame.left - frame.right) / 2);
        EXPECT_EQ(at.y, (1024 - client.cy - frame.top - frame.bottom) / 2);
    });
    ASSERT_NE(seen, platform::kNoWindow);
    EXPECT_TRUE(desktop.Windows().empty());
    ASSERT_EQ(desktop.Boxes().size(), 1u);
    EXPECT_EQ(desktop.Boxes()[0].text, "x.");
}

TEST_F(ErrorBoxTest, LaysOutIconTextAndButtonLikeASystemBox) {
    const std::string long_text(60, 'w');
    const struct {
        const char* what;
        std::string text;
        int lines;
    } cases[] = {
        {"one line", "'abc' is not a valid integer value.", 1},
        {"line breaks", "one\ntwo\nthree", 3},
        {"long, broken between words", long_text + " " + long_text + " " + long_text, 3},
    };
    for (const auto& c : cases) {
        TErrorDialog box("Automenu", c.text);
        const TLabel& text = box.Message();
        const TButton& ok = box.OkButton();
        const int line = TErrorDialog(" ", "x").Message().Height();
        EXPECT_EQ(text.Height(), c.lines * line) << c.what;
        EXPECT_EQ(box.IconControl().BoundsRect(), (TRect{11, 11, 43, 43})) << c.what;
        EXPECT_EQ(text.Left(), TErrorDialog::kTextLeft) << c.what;
        EXPECT_LE(text.Left() + text.Width(), 1280 * 5 / 8) << c.what;
        if (c.lines == 1) {
            EXPECT_NEAR(2 * text.Top() + text.Height(), 2 * 11 + 32, 1) << c.what << ": level with the icon";
        }
        EXPECT_EQ(ok.Top(), std::max(43, text.Top() + text.Height()) + TErrorDialog::kButtonGap) << c.what;
        EXPECT_EQ(ok.Left(), (box.ClientWidth() - ok.Width()) / 2) << c.what << ": button centred";
        EXPECT_EQ(box.ClientHeight(), ok.Top() + ok.Height() + 11) << c.what;
        EXPECT_GT(box.ClientWidth(), text.Left() + text.Width()) << c.what;
        EXPECT_EQ(ok.Caption(), "OK");
    }
}

// Messages far too long for any screen: each still gives a box, inside the
// work area, with as much of the text as fits and "..." where it is cut,
// while the whole text goes to the platform's report (standard error).
TEST_F(ErrorBoxTest, AnyMessageGivesABoxThatFitsTheWorkAreaCutVisibly) {
    std::string deep_path = "Cannot open file /media/cdrom";
    for (int i = 0; i < 400; ++i) deep_path += "/folder" + std::to_string(i);
    deep_path += "/setup.bmp";
    std::string hundred_lines, many_lines;
    for (int i = 0; i < 100; ++i) hundred_lines += "line " + std::to_string(i) + "\n";
    for (int i = 0; i < 10000; ++i) many_lines += "line " + std::to_string(i) + "\n";
    const struct {
        const char* what;
        std::string text;
        bool cut;
    } messages[] = {
        {"a short message", "'abc' is not a valid integer value.", false},
        {"a path in a deep folder", deep_path, false},
        {"a file name of ten thousand characters", "Cannot open file " + std::string(10000, 'w') + ".bmp", true},
        {"a hundred lines", hundred_lines, true},
        {"ten thousand lines", many_lines, true},
        {"a word of a megabyte", std::string(1 << 20, 'x'), true},
    };
    const struct {
        const char* what;
        TRect work;
    } desktops[] = {
        {"a whole screen", {0, 0, 1280, 1024}},
        {"panels at the top and on the left", {48, 30, 1280, 1024}},
    };
    for (const auto& d : desktops) {
        desktop.SetWorkArea(d.work);
        for (const auto& m : messages) {
            const std::string what = std::string(m.what) + " on " + d.what;
            {
                TErrorDialog box("Automenu", m.text);
                const std::string& shown = box.Message().Caption();
                EXPECT_EQ(shown.size() >= 3 && shown.compare(shown.size() - 3, 3, "...") == 0, m.cut) << what;
                EXPECT_LE(shown.size(), 200000u) << what;
                EXPECT_LE(box.Message().Left() + box.Message().Width(), d.work.Width() * 7 / 8) << what;
                EXPECT_LE(box.Message().Top() + box.Message().Height(), box.OkButton().Top()) << what;
            }
            Show(m.text, [&](WindowId box) {
                const TPoint at = desktop.Position(box);
                const TSize client = desktop.ClientSize(box);
                const auto frame = desktop.Frame(box);
                const TRect outer{at.x, at.y, at.x + client.cx + frame.left + frame.right,
                                  at.y + client.cy + frame.top + frame.bottom};
                EXPECT_EQ(outer.Intersect(d.work), outer) << what << ": inside the work area";
            });
            EXPECT_EQ(desktop.Boxes().back().text.substr(0, m.text.size()), m.text) << what << ": the whole text";
        }
    }
}

TEST_F(ErrorBoxTest, AWideTextTakesTheNarrowestOfWindowsWidthsAtWhichItFits) {
    // Lines of words: a few fit at five eighths of the screen; more need
    // three quarters or seven eighths; more still are cut at seven eighths.
    const auto words = [](int lines) {
        std::string text;
        for (int i = 0; i < lines * 20; ++i) text += "word ";
        return text;
    };
    const int line = TErrorDialog(" ", "x").Message().Height();
    const int five_eighths = 1280 * 5 / 8 - TErrorDialog::kTextLeft - 11;
    const int seven_eighths = 1280 * 7 / 8 - TErrorDialog::kTextLeft - 11;
    int previous_width = 0;
    for (int lines : {5, 60, 70, 80, 200}) {
        TErrorDialog box("Automenu", words(lines));
        const TLabel& text = box.Message();
        EXPECT_GE(text.Width(), previous_width) << lines;
        EXPECT_GT(text.Width(), five_eighths * 9 / 10) << lines;
        EXPECT_LE(text.Width(), seven_eighths) << lines;
        EXPECT_LE(box.ClientHeight() + 27, 1024) << lines;
        if (lines == 5) {
            EXPECT_LE(text.Width(), five_eighths);
        }
        if (lines == 200) {
            EXPECT_GT(text.Width(), 1280 * 6 / 8 - TErrorDialog::kTextLeft - 11);
        }
        EXPECT_EQ(text.Height() % line, 0) << lines;
        previous_width = text.Width();
    }
}

TEST_F(ErrorBoxTest, EnterEscapeSpaceTheButtonAndTheCloseButtonDismissItOtherInputDoesNot) {
    const struct {
        const char* what;
        std::function<void(platform::HeadlessPlatform&, WindowId, TPoint ok)> act;
        bool dismisses;
    } cases[] = {
        {"Enter", [](auto& d, WindowId w, TPoint) { d.PressKey(w, platform::VK_RETURN); }, true},
        {"Escape", [](auto& d, WindowId w, TPoint) { d.PressKey(w, platform::VK_ESCAPE); }, true},
        {"Space",
         [](auto& d, WindowId w, TPoint) {
             d.PressKey(w, platform::VK_SPACE);
             d.ReleaseKey(w, platform::VK_SPACE);
         },
         true},
        {"click on OK",
         [](auto& d, WindowId w, TPoint ok) {
             d.PressLeft(w, ok.x, ok.y);
             d.ReleaseLeft(w, ok.x, ok.y);
         },
         true},
        {"close button", [](auto& d, WindowId w, TPoint) { d.RequestClose(w); }, true},
        {"another key", [](auto& d, WindowId w, TPoint) { d.PressKey(w, 'a'); }, false},
        {"Space held", [](auto& d, WindowId w, TPoint) { d.PressKey(w, platform::VK_SPACE); }, false},
        {"press on OK, release off it",
         [](auto& d, WindowId w, TPoint ok) {
             d.PressLeft(w, ok.x, ok.y);
             d.MoveMouse(w, 2, 2);
             d.ReleaseLeft(w, 2, 2);
         },
         false},
        {"click beside OK",
         [](auto& d, WindowId w, TPoint) {
             d.PressLeft(w, 2, 2);
             d.ReleaseLeft(w, 2, 2);
         },
         false},
    };
    for (const auto& c : cases) {
        int waits = 0;
        Show("x", [&](WindowId box) {
            // The first wait acts; a box still up at the next one is answered with Enter.
            if (++waits > 1) return;
            const TSize client = desktop.ClientSize(box);
            c.act(desktop, box, {client.cx / 2, client.cy - 11 - 12});
        });
        EXPECT_EQ(waits, c.dismisses ? 1 : 2) << c.what;
        EXPECT_TRUE(desktop.Windows().empty()) << c.what;
    }
}

TEST_F(ErrorBoxTest, TheButtonLooksPressedWhileHeldWithThePointerOnIt) {
    // The top-left of the face: the raised edge's highlight, or the sunken
    // edge's shadow.
    std::vector<Rgb> edge;
    int waits = 0;
    Show("x", [&](WindowId box) {
        const TSize client = desktop.ClientSize(box);
        const TPoint ok{client.cx / 2, client.cy - 11 - 12};
        const TPoint corner{(client.cx - 75) / 2 + 1, client.cy - 11 - 23 + 1};
        edge.push_back(desktop.Pixel(box, corner.x, corner.y));
        if (++waits == 1) desktop.PressLeft(box, ok.x, ok.y);
        if (waits == 2) desktop.MoveMouse(box, 2, 2);
        if (waits == 3) desktop.MoveMouse(box, ok.x, ok.y);
    });
    EXPECT_EQ(edge, (std::vector<Rgb>{{255, 255, 255}, {160, 160, 160}, {255, 255, 255}, {160, 160, 160}}));
}

// The box and its button in the colours a current Windows gives them in its
// default theme, whatever the desktop's own theme.
TEST_F(ErrorBoxTest, IsPaintedInTheColoursOfACurrentWindows) {
    Show("x", [&](WindowId box) {
        const TSize client = desktop.ClientSize(box);
        const int left = (client.cx - 75) / 2, top = client.cy - 11 - 23;
        const struct {
            const char* what;
            TPoint at;
            Rgb expected;
        } cases[] = {
            {"the face", {2, 2}, {240, 240, 240}},
            {"the face beside the button", {left - 2, top + 10}, {240, 240, 240}},
            {"the default button's frame", {left, top}, {100, 100, 100}},
            {"the raised edge's highlight", {left + 1, top + 1}, {255, 255, 255}},
            {"its inner light", {left + 2, top + 2}, {227, 227, 227}},
            {"its inner shadow", {left + 75 - 3, top + 23 - 3}, {160, 160, 160}},
            {"its dark shadow", {left + 75 - 2, top + 23 - 2}, {105, 105, 105}},
            {"the button's face", {left + 4, top + 4}, {240, 240, 240}},
        };
        for (const auto& c : cases) EXPECT_EQ(desktop.Pixel(box, c.at.x, c.at.y), c.expected) << c.what;
    });
}

TEST_F(ErrorBoxTest, AQuitMessageWhileItIsUpEndsItAndTheApplication) {
    int waits = 0;
    Show("x", [&](WindowId) {
        ++waits;
        desktop.PostQuitMessage(0);
    });
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(desktop.Windows().empty());
}

}  // namespace
}  // namespace automenu
