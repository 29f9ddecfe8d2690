#include <gtest/gtest.h>

#include <algorithm>

#include "LabelFixture.h"
#include "platform/SystemColors.h"
#include "ui/THintWindow.h"
#include "ui/TImage.h"

namespace automenu {
namespace {

using platform::WindowKind;

// The menu's arrangement: a background picture, a text line without a hint,
// entries with hints and the exit entry.
class HintTest : public testing::LabelFixture {
protected:
    HintTest() {
        TImage& image = form->AddControl<TImage>();
        image.SetBounds(0, 0, 632, 453);
        image.SetVisible(true);
        m_text_line = &AddLabel(16, 40, "Plain text");
        m_install = &AddLabel(16, 176, "Install");
        m_install->SetHint("Press to install.");
        m_install->SetShowHint(true);
        m_open = &AddLabel(16, 272, "Open");
        m_open->SetHint("Press to open.|Opens the folder on the disc");
        m_open->SetShowHint(true);
        m_exit = &AddLabel(552, 408, "Exit");
        m_exit->SetHint("Press to exit.");
        m_exit->SetShowHint(true);
        Pump();
    }

    THintController& Hints() { return app->Hints(); }
    bool Showing() { return Hints().Showing(); }
    std::string ShownText() { return Showing() ? Hints().Window()->Text() : std::string(); }
    void MoveTo(const TLabel& label, int dx = 3, int dy = 3) {
        desktop.MoveMouse(Window(), label.Left() + dx, label.Top() + dy);
        Pump();
    }
    void Wait(unsigned ms) {
        desktop.AdvanceTime(ms);
        Pump();
    }

    TLabel* m_text_line = nullptr;
    TLabel* m_install = nullptr;
    TLabel* m_open = nullptr;
    TLabel* m_exit = nullptr;
};

TEST_F(HintTest, AppearsAfterTheDelayBelowThePointerAndHides) {
    MoveTo(*m_install, 5, 4);
    Wait(499);
    EXPECT_FALSE(Showing());
    Wait(1);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(ShownText(), "Press to install.");

    const THintWindow& window = *Hints().Window();
    EXPECT_EQ(desktop.Kind(window.Handle()), WindowKind::Tooltip);
    EXPECT_TRUE(desktop.IsWindowVisible(window.Handle()));
    const TPoint cursor = desktop.CursorPos();
    EXPECT_EQ(desktop.WindowPosition(window.Handle()), (TPoint{cursor.x, cursor.y + desktop.CursorHeight()}));
    // Text size plus the edge and padding: 6 wider, 6 taller.
    const TRect text = desktop.ScreenCanvas().DrawText(Hints().Window()->Font().Handle(), {}, "Press to install.",
                                                          {0, 0, 1280, 0}, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(desktop.ClientSize(window.Handle()), (TSize{text.Width() + 6, text.Height() + 6}));

    Wait(2499);
    EXPECT_TRUE(Showing());
    Wait(1);
    EXPECT_FALSE(Showing());
    // Resting or moving within the same label does not bring it back.
    MoveTo(*m_install, 10, 6);
    Wait(5000);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, NextHintedLabelShowsAtOnce) {
    MoveTo(*m_install);
    Wait(500);
    ASSERT_EQ(ShownText(), "Press to install.");
    MoveTo(*m_open);
    EXPECT_EQ(ShownText(), "Press to open.");  // the part before "|"
    MoveTo(*m_exit);
    EXPECT_EQ(ShownText(), "Press to exit.");
    // Also after the display time ran out, the next label needs no delay.
    Wait(2500);
    EXPECT_FALSE(Showing());
    MoveTo(*m_install);
    EXPECT_EQ(ShownText(), "Press to install.");
}

TEST_F(HintTest, MovingOntoSomethingWithoutHintRemovesIt) {
    struct Case {
        const char* where;
        int x, y;
    } cases[] = {
        {"background picture", 300, 100},
        {"text line without hint", 20, 43},
        {"bare window", 633, 453},
    };
    for (const Case& c : cases) {
        MoveTo(*m_install);
        Wait(500);
        ASSERT_TRUE(Showing()) << c.where;
        desktop.MoveMouse(Window(), c.x, c.y);
        Pump();
        EXPECT_FALSE(Showing()) << c.where;
        // Back on the label the full delay applies again.
        MoveTo(*m_install);
        Wait(499);
        EXPECT_FALSE(Showing()) << c.where;
        desktop.MoveMouse(Window(), 300, 100);
        Pump();
    }
}

TEST_F(HintTest, KeysAndButtonsRemoveIt) {
    MoveTo(*m_install);
    Wait(500);
    ASSERT_TRUE(Showing());
    desktop.PressKey(Window(), 'A');
    Pump();
    EXPECT_FALSE(Showing());

    // Cancelled, so resting on the label again shows it again.
    MoveTo(*m_install, 4, 4);
    Wait(500);
    ASSERT_TRUE(Showing());
    desktop.PressLeft(Window(), m_install->Left() + 4, m_install->Top() + 4);
    Pump();
    EXPECT_FALSE(Showing());
    desktop.ReleaseLeft(Window(), m_install->Left() + 4, m_install->Top() + 4);
    Pump();
    Wait(3000);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, MovingWithinALabelRestartsAPendingDelay) {
    MoveTo(*m_install, 2, 2);
    Wait(300);
    MoveTo(*m_install, 8, 3);
    Wait(300);
    EXPECT_FALSE(Showing());
    Wait(200);
    EXPECT_TRUE(Showing());
}

TEST_F(HintTest, NothingWhileAnotherProgramIsActive) {
    desktop.SetProgramActive(false);
    MoveTo(*m_install);
    Wait(3000);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, IdleCancelsWhenThePointerLeavesTheProgram) {
    MoveTo(*m_install);
    Wait(500);
    ASSERT_TRUE(Showing());
    app->Idle();  // pointer still over the window
    EXPECT_TRUE(Showing());
    desktop.MoveMouse(Window(), -200, -200);  // queued, not yet handled
    app->Idle();
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, KeptOnTheDesktop) {
    // A desktop that ends just right of and below the exit entry.
    const TPoint exit_on_screen = desktop.ClientToScreen(Window(), {m_exit->Left(), m_exit->Top()});
    desktop.SetScreen({exit_on_screen.x + 30, exit_on_screen.y + 30}, 96);
    MoveTo(*m_exit, 2, 2);
    Wait(500);
    ASSERT_TRUE(Showing());
    const TRect bounds = Hints().Window()->BoundsRect();
    EXPECT_EQ(bounds.right, exit_on_screen.x + 30);
    EXPECT_EQ(bounds.bottom, exit_on_screen.y + 30);
    EXPECT_EQ(desktop.WindowPosition(Hints().Window()->Handle()), (TPoint{bounds.left, bounds.top}));
}

// Every monitor is desktop: a window on one left of the screen shows its
// hint below the pointer there, and the hint stays inside the whole desktop.
TEST_F(HintTest, KeptOnTheWholeDesktopOfEveryMonitor) {
    desktop.SetVirtualDesktop({-1280, -200, 1280, 1024});
    const struct {
        const char* what;
        TPoint window;
        bool at_pointer;
    } cases[] = {
        {"a monitor left of the screen", {-900, 100}, true},
        {"a monitor above it", {100, -150}, true},
        {"beyond the desktop's left edge", {-1400, 100}, false},
    };
    for (const auto& c : cases) {
        desktop.MoveWindow(Window(), c.window);
        desktop.MoveMouse(Window(), 300, 300);
        Pump();
        MoveTo(*m_install, 2, 2);
        Wait(500);
        ASSERT_TRUE(Showing()) << c.what;
        const TRect bounds = Hints().Window()->BoundsRect();
        const TPoint pointer = desktop.ClientToScreen(Window(), {m_install->Left() + 2, m_install->Top() + 2});
        if (c.at_pointer) {
            EXPECT_EQ(bounds.left, pointer.x) << c.what;
            EXPECT_EQ(bounds.top, pointer.y + desktop.CursorHeight()) << c.what;
        } else {
            EXPECT_EQ(bounds.left, -1280) << c.what;
        }
    }
}

TEST_F(HintTest, TakesTheSystemsStatusBarFont) {
    FontDescription status;
    status.height = -12;
    status.name = "Segoe UI";
    desktop.SetStatusFont(status);
    MoveTo(*m_install);
    Wait(500);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(Hints().Window()->Font().Name(), "Segoe UI");
    EXPECT_EQ(Hints().Window()->Font().Height(), -12);
}

TEST_F(HintTest, PaintsEdgeBackgroundAndText) {
    MoveTo(*m_install);
    Wait(500);
    ASSERT_TRUE(Showing());
    const platform::WindowId w = Hints().Window()->Handle();
    const TSize size = desktop.ClientSize(w);
    EXPECT_EQ(desktop.Pixel(w, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(desktop.Pixel(w, size.cx - 1, size.cy - 1), (Rgb{105, 105, 105}));
    EXPECT_EQ(desktop.Pixel(w, 1, size.cy - 2), platform::DefaultSystemColor(COLOR_INFOBK));
    int text_pixels = 0;
    for (int y = 3; y < size.cy - 3; ++y)
        for (int x = 3; x < size.cx - 3; ++x)
            if (desktop.Pixel(w, x, y).g < 100) ++text_pixels;
    EXPECT_GT(text_pixels, 20);
}

TEST_F(HintTest, EmptyShortHintShowsNoWindow) {
    m_install->SetHint("|Only a long hint");
    MoveTo(*m_install);
    Wait(1000);
    EXPECT_FALSE(Showing());
    EXPECT_EQ(THintController::ShortHint("a|b|c"), "a");
    EXPECT_EQ(THintController::ShortHint("plain"), "plain");
}

TEST_F(HintTest, HintsOffDestroysTheWindow) {
    MoveTo(*m_install);
    Wait(500);
    ASSERT_TRUE(Showing());
    const platform::WindowId w = Hints().Window()->Handle();
    Hints().SetEnabled(false);
    EXPECT_EQ(Hints().Window(), nullptr);
    const auto windows = desktop.Windows();
    EXPECT_EQ(std::count(windows.begin(), windows.end(), w), 0);
    MoveTo(*m_open);
    Wait(1000);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, DestroyingTheFormForgetsItsControls) {
    MoveTo(*m_install);
    Wait(200);
    // The show timer would reach the destroyed label (the sanitizer build
    // sees that) if the controller kept it.
    form.reset();
    desktop.AdvanceTime(1000);
    Pump();
    EXPECT_FALSE(Showing());
}

}  // namespace
}  // namespace automenu
