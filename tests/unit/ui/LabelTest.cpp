#include <gtest/gtest.h>

#include "LabelFixture.h"
#include "platform/SystemColors.h"

namespace automenu {
namespace {

using testing::LabelFixture;

class LabelTest : public LabelFixture {};

TEST_F(LabelTest, NewLabelDefaults) {
    TLabel& label = form->AddControl<TLabel>();
    EXPECT_EQ(label.BoundsRect(), (TRect{0, 0, 65, 17}));
    EXPECT_EQ(label.Font().Height(), -11);
    EXPECT_EQ(label.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(label.Caption(), "");
}

TEST_F(LabelTest, AutoSizeFollowsTheCaption) {
    TLabel& label = AddLabel(16, 40, "x");
    struct Case {
        const char* caption;
        const char* measured_as;  // without prefix processing
    } cases[] = {
        {"Short", "Short"},
        {"A much longer caption than before", "A much longer caption than before"},
        {"Short", "Short"},
        {"", " "},  // one line high and a space wide
        {"&", " "},
        {"&Setup", "Setup"},
        {"A && B", "A & B"},
        {"two\r\nlines", "two\nlines"},
    };
    for (const Case& c : cases) {
        label.SetCaption(c.caption);
        const TRect expected = desktop.ScreenCanvas().DrawText(label.Font().Handle(), {}, c.measured_as, {},
                                                                  DT_CALCRECT | DT_NOPREFIX);
        EXPECT_EQ(label.BoundsRect(), TRect::FromBounds(16, 40, expected.Width(), expected.Height())) << c.caption;
    }
    label.SetCaption("");
    EXPECT_EQ(label.Height(), 13);
    EXPECT_GT(label.Width(), 0);
}

TEST_F(LabelTest, NarrowerCaptionUncoversTheBackground) {
    TLabel& label = AddLabel(16, 16, "WWWWWWWWWWWW");
    Pump();
    const int wide = label.Width();
    auto dark_columns_from = [&](int x0) {
        int dark = 0;
        for (int x = x0; x < 16 + wide; ++x)
            for (int y = 16; y < 16 + label.Height(); ++y)
                if (desktop.Pixel(Window(), x, y) == Rgb{0, 0, 0}) ++dark;
        return dark;
    };
    ASSERT_GT(dark_columns_from(16 + wide / 2), 0);
    label.SetCaption("W");
    Pump();
    EXPECT_LT(label.Width(), wide / 4);
    EXPECT_EQ(dark_columns_from(16 + label.Width()), 0);
    EXPECT_EQ(desktop.Pixel(Window(), 16 + wide - 2, 20), platform::DefaultSystemColor(COLOR_BTNFACE));
}

TEST_F(LabelTest, FontSizeChangeResizesOnce) {
    TLabel& label = AddLabel(16, 176, "Install");
    Pump();
    const TRect small = label.BoundsRect();
    label.Font().SetSize(12);
    EXPECT_EQ(label.Font().Height(), -16);
    EXPECT_GT(label.Width(), small.Width());
    EXPECT_GT(label.Height(), small.Height());
    Pump();

    const int invalidations = desktop.InvalidateCount();
    const int paints = desktop.PaintCount();
    label.Font().SetSize(12);
    Pump();
    EXPECT_EQ(desktop.InvalidateCount(), invalidations);
    EXPECT_EQ(desktop.PaintCount(), paints);
}

// What a hover handler does on every mouse move: set every property of a label
// to what it already is. Nothing may be repainted.
TEST_F(LabelTest, HoverStyleUpdateWithSameValuesDoesNothing) {
    std::vector<TLabel*> labels;
    for (int i = 0; i < 9; ++i) {
        TLabel& l = AddLabel(16, 176 + 16 * i, "Entry " + std::to_string(i));
        l.Font().SetName("Arial");
        l.Font().SetColor(0x00FF0000);
        l.Font().SetStyle(fsBold | fsUnderline);
        l.Font().SetSize(10);
        labels.push_back(&l);
    }
    Pump();
    const int invalidations = desktop.InvalidateCount();
    const int paints = desktop.PaintCount();
    int notices = 0;
    for (TLabel* l : labels) {
        auto previous = std::move(l->Font().OnChange);
        l->Font().OnChange = [&notices, previous] {
            ++notices;
            previous();
        };
    }
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            TLabel& l = *labels[i];
            l.SetVisible(true);
            l.SetCaption("Entry " + std::to_string(i));
            l.SetTop(176 + 16 * static_cast<int>(i));
            l.SetLeft(16);
            l.Font().SetName("Arial");
            l.Font().SetColor(0x00FF0000);
            l.Font().SetStyle(l.Font().Style() | fsBold);
            l.Font().SetStyle(l.Font().Style() & ~fsItalic);
            l.Font().SetStyle(l.Font().Style() | fsUnderline);
            l.Font().SetSize(10);
        }
    }
    Pump();
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(desktop.InvalidateCount(), invalidations);
    EXPECT_EQ(desktop.PaintCount(), paints);
}

TEST_F(LabelTest, FollowsTheWindowFontUntilItsOwnIsSet) {
    TLabel& label = AddLabel(16, 16, "Title");
    form->Font().SetSize(10);
    EXPECT_EQ(label.Font().Height(), -13);
    EXPECT_EQ(label.Height(), Measure(label, "Title").Height());

    label.Font().SetColor(0x000000FF);
    form->Font().SetSize(14);
    EXPECT_EQ(label.Font().Height(), -13);
    EXPECT_EQ(label.Font().Color(), TColor{0x000000FF});
}

TEST_F(LabelTest, OtherSettersAreNoOpsForTheSameValue) {
    TLabel& label = AddLabel(16, 16, "Title");
    Pump();
    const int invalidations = desktop.InvalidateCount();
    label.SetAutoSize(true);
    label.SetTransparent(true);
    label.SetBounds(label.Left(), label.Top(), label.Width(), label.Height());
    EXPECT_EQ(desktop.InvalidateCount(), invalidations);
    EXPECT_FALSE(desktop.HasPendingPaint(Window()));
}

TEST_F(LabelTest, AutoSizeOffKeepsTheBounds) {
    TLabel& label = AddLabel(16, 16, "Title");
    label.SetAutoSize(false);
    label.SetBounds(16, 16, 30, 30);
    label.SetCaption("A much longer title");
    EXPECT_EQ(label.BoundsRect(), TRect::FromBounds(16, 16, 30, 30));
    label.SetAutoSize(true);
    EXPECT_EQ(label.Width(), Measure(label, "A much longer title").Width());
}

TEST_F(LabelTest, HiddenLabelResizesWithoutRepainting) {
    TLabel& label = AddLabel(16, 16, "Title", false);
    Pump();
    const int invalidations = desktop.InvalidateCount();
    label.SetCaption("Another title");
    EXPECT_EQ(label.Width(), Measure(label, "Another title").Width());
    EXPECT_EQ(desktop.InvalidateCount(), invalidations);
    label.SetVisible(true);
    EXPECT_GT(desktop.InvalidateCount(), invalidations);
}

}  // namespace
}  // namespace automenu
