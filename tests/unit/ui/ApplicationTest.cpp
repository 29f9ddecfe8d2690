#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

#include "support/HeadlessFixture.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace automenu {
namespace {

using testing::HeadlessTest;

TEST(ApplicationTitle, ComesFromTheProgramFileName) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"MENU.EXE", "Menu"},
        {"my.menu.exe", "my"},
        {"Start.Exe", "Start"},
        {"automenu", "Automenu"},
        {"/usr/bin/automenu", "Automenu"},
        {"D:\\setup\\AUTORUN.EXE", "Autorun"},
        {"/opt/x.y/Menu", "Menu"},
        // Characters, not bytes: letters of any script are lower-cased.
        {"E:\\MENÜ.EXE", "Menü"},
        {"E:\\ÉCOLE.EXE", "École"},
        {"/media/école", "École"},
        {"D:\\МЕНЮ.exe", "Меню"},
        // A file named in Japanese: ソフト (Shift-JIS 0x83 0x5C 0x83 0x74 ...)
        // holds no backslash and no letter to change.
        {"D:\\ソフト.EXE", "ソフト"},
    };
    for (const auto& c : cases) EXPECT_EQ(TApplication::TitleFromProgramPath(c.path), c.title) << c.path;
}

TEST(ErrorDisplay, AppendsAFullStopAfterCharactersSortingAfterIt) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Cannot open file back.bmp", "Cannot open file back.bmp."},
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Stream read error.", "Stream read error."},
        {"Unknown picture file extension (.jpg)", "Unknown picture file extension (.jpg)"},
        {"Why?", "Why?."},
        {"Code: 5", "Code: 5."},
        {"Done:", "Done:."},
        {"Stop!", "Stop!"},
        {"a,", "a,"},
        {"a-", "a-"},
        {"trailing ", "trailing "},
        {"", ""},
        {"caf\xC3\xA9", "caf\xC3\xA9."},
    };
    for (const auto& c : cases) EXPECT_EQ(TApplication::ErrorText(c.message), c.shown) << c.message;
}

// A form whose construction shows its window, then fails.
class FailingForm : public TForm {
public:
    static inline FailingForm* seen_during_create = nullptr;
    static inline FailingForm** reference = nullptr;
    static inline std::function<void()> fail = [] { throw EConvertError("'abc' is not a valid integer value"); };
    void Create() override {
        SetCaption("Installation");
        SetClientSize({200, 100});
        Show();
        seen_during_create = *reference;
        fail();
    }
};

TEST_F(HeadlessTest, FailedConstructionClearsTheReferenceAndShowsOneBoxWithoutALoop) {
    FailingForm* form = nullptr;
    FailingForm::reference = &form;
    try {
        app->CreateForm(form);
        app->Run();
        FAIL() << "construction should have failed";
    } catch (const Exception& e) {
        app->ShowException(e);
    }
    EXPECT_NE(FailingForm::seen_during_create, nullptr) << "the reference is set before construction runs";
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(app->MainForm(), nullptr);
    EXPECT_TRUE(desktop.Windows().empty()) << "the half-built window is destroyed";
    ASSERT_EQ(desktop.Boxes().size(), 1u);
    EXPECT_EQ(desktop.Boxes()[0].caption, "Automenu");
    EXPECT_EQ(desktop.Boxes()[0].text, "'abc' is not a valid integer value.");
    EXPECT_EQ(desktop.WaitCount(), 1) << "the loop never ran: only the box waited, for its answer";
}

TEST_F(HeadlessTest, FailuresOfTheSystemAtStartUpAreShownOnceAndEndTheProgram) {
    const struct {
        const char* what;
        bool no_window;
        std::function<void()> fail;
        const char* text;
    } cases[] = {
        {"no window", true, [] {}, "Cannot create the window."},
        {"out of memory", false, [] { throw std::bad_alloc(); }, "Out of memory."},
    };
    const auto restore = FailingForm::fail;
    for (const auto& c : cases) {
        desktop.SetWindowCreationFails(c.no_window);
        FailingForm::fail = c.fail;
        app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
        FailingForm* form = nullptr;
        FailingForm::reference = &form;
        const std::size_t boxes = desktop.Boxes().size();
        try {
            app->CreateForm(form);
            ADD_FAILURE() << c.what << ": construction should have failed";
        } catch (...) {
            app->HandleException();
        }
        EXPECT_EQ(form, nullptr) << c.what;
        ASSERT_EQ(desktop.Boxes().size(), boxes + 1) << c.what;
        EXPECT_EQ(desktop.Boxes().back().text, c.text) << c.what;
        // The program's status tells a start that never got a window from
        // an error its box showed.
        EXPECT_EQ(app->ErrorBoxFailed(), c.no_window) << c.what;
    }
    FailingForm::fail = restore;
}

// A form with a picture and two overlapping labels, recording its events.
class RoutingForm : public TForm {
public:
    TImage* image = nullptr;
    TLabel* lower = nullptr;
    TLabel* upper = nullptr;
    TLabel* silent = nullptr;  // no handlers at all
    std::vector<std::string> events;

    void Create() override {
        SetCaption("Routing");
        SetClientSize({300, 200});
        image = &AddControl<TImage>();
        image->SetBounds(0, 0, 300, 200);
        lower = &AddControl<TLabel>();
        upper = &AddControl<TLabel>();
        silent = &AddControl<TLabel>();
        for (auto* l : {lower, upper, silent}) l->SetAutoSize(false);
        lower->SetBounds(10, 10, 100, 20);
        upper->SetBounds(50, 10, 100, 20);
        silent->SetBounds(10, 100, 100, 20);
        Record(*image, "image");
        Record(*lower, "lower");
        Record(*upper, "upper");
        Show();
    }
    void Record(TControl& c, const std::string& name) {
        c.OnMouseMove = [this, name](TObject*, TShiftState, int x, int y) {
            events.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y));
        };
        c.OnClick = [this, name](TObject*) { events.push_back(name + " click"); };
        c.OnDblClick = [this, name](TObject*) { events.push_back(name + " dblclick"); };
    }
};

class RoutingTest : public HeadlessTest {
public:
    RoutingTest() {
        app->CreateForm(form);
        wid = form->Handle();
        Pump();
    }
    std::vector<std::string> Take() {
        Pump();
        auto e = form->events;
        form->events.clear();
        return e;
    }
    RoutingForm* form = nullptr;
    platform::WindowId wid = 0;
};

using Events = std::vector<std::string>;

TEST_F(RoutingTest, MovesGoToTheTopmostVisibleControlInItsOwnCoordinates) {
    const auto moves = [this](std::initializer_list<TPoint> points) {
        Events all;
        for (TPoint p : points) {
            desktop.MoveMouse(wid, p.x, p.y);
            for (auto& e : Take()) all.push_back(e);
        }
        return all;
    };
    // Lower and upper overlap at (60, 15).
    EXPECT_EQ(moves({{60, 15}, {20, 15}, {200, 150}}),
              (Events{"upper move 10,5", "lower move 10,5", "image move 200,150"}));

    form->upper->SetVisible(false);
    form->image->SetVisible(false);
    EXPECT_EQ(moves({{60, 15}, {200, 150}}), (Events{"lower move 50,5"})) << "the bare window calls nobody";
}

TEST_F(RoutingTest, ABurstOfMovesIsOneMoveToTheLatestPosition) {
    for (int i = 0; i < 100; ++i) desktop.MoveMouse(wid, 20 + i % 2, 15);
    desktop.MoveMouse(wid, 200, 150);
    desktop.PressLeft(wid, 20, 15);
    desktop.MoveMouse(wid, 21, 15);
    desktop.MoveMouse(wid, 22, 15);
    desktop.ReleaseLeft(wid, 22, 15);
    EXPECT_EQ(Take(), (Events{"image move 200,150", "lower move 12,5", "lower click"}))
        << "the press and release keep their places between the moves";
}

TEST_F(RoutingTest, AControlWithoutHandlersStillTakesTheMessage) {
    desktop.MoveMouse(wid, 20, 105);
    desktop.PressLeft(wid, 20, 105);
    desktop.ReleaseLeft(wid, 20, 105);
    EXPECT_EQ(Take(), Events{}) << "nothing falls through to the picture beneath";
}

TEST_F(RoutingTest, PressCapturesAndOnlyAReleaseInsideClicks) {
    desktop.PressLeft(wid, 20, 15);
    desktop.MoveMouse(wid, 200, 150);  // captured: still the label
    desktop.ReleaseLeft(wid, 200, 150);
    desktop.MoveMouse(wid, 200, 150);
    EXPECT_EQ(Take(), (Events{"lower move 190,140", "image move 200,150"}));
    EXPECT_EQ(desktop.Capture(), platform::kNoWindow);

    desktop.AdvanceTime(500);  // not a double click
    desktop.PressLeft(wid, 20, 15);
    desktop.MoveMouse(wid, 200, 150);
    desktop.ReleaseLeft(wid, 25, 12);  // back inside before release
    EXPECT_EQ(Take(), (Events{"lower move 190,140", "lower click"}));
}

// The system taking the capture away (another window taking it, a cancelled
// mode) ends the press: moves go where the pointer is again, and the release
// clicks nothing, wherever it falls.
TEST_F(RoutingTest, LosingTheCaptureEndsThePress) {
    const struct {
        const char* what;
        bool lost;
        Events events;
    } cases[] = {
        {"kept", false, {"lower move 190,140", "lower click"}},
        {"lost", true, {"image move 200,150"}},
    };
    for (const auto& c : cases) {
        desktop.AdvanceTime(500);  // never a double click
        desktop.PressLeft(wid, 20, 15);
        if (c.lost) {
            Pump();
            desktop.TakeCapture(wid);
        }
        desktop.MoveMouse(wid, 200, 150);
        desktop.ReleaseLeft(wid, 25, 12);  // back on the label
        EXPECT_EQ(Take(), c.events) << c.what;
        EXPECT_EQ(desktop.Capture(), platform::kNoWindow) << c.what;
    }
}

TEST_F(RoutingTest, TwoClicksClickTwiceADoubleClickOnce) {
    desktop.PressLeft(wid, 20, 15);
    desktop.ReleaseLeft(wid, 20, 15);
    desktop.AdvanceTime(500);  // the double-click time has passed
    desktop.PressLeft(wid, 20, 15);
    desktop.ReleaseLeft(wid, 20, 15);
    EXPECT_EQ(Take(), (Events{"lower click", "lower click"}));

    desktop.DoubleClick(wid, 20, 15);
    EXPECT_EQ(Take(), (Events{"lower click", "lower dblclick"}));
}

TEST_F(RoutingTest, EveryWayOfClosingTheMainWindowEndsTheLoop) {
    const struct {
        const char* how;
        std::function<void(RoutingTest&)> close;
    } ways[] = {
        {"close request", [](RoutingTest& t) { t.desktop.RequestClose(t.wid); }},
        {"Close() from a click", [](RoutingTest& t) {
             t.form->lower->OnClick = [&t](TObject*) { t.form->Close(); };
             t.desktop.PressLeft(t.wid, 20, 15);
             t.desktop.ReleaseLeft(t.wid, 20, 15);
         }},
        {"terminate", [](RoutingTest& t) { t.app->Terminate(); }},
    };
    for (const auto& way : ways) {
        way.close(*this);
        desktop.SetWhenIdle([] { FAIL() << "the loop waited instead of ending"; });
        app->Run();
        EXPECT_TRUE(app->Terminated()) << way.how;
        EXPECT_TRUE(desktop.IsWindowVisible(wid)) << "the window stays until program end: " << way.how;
        // A fresh application for the next way.
        app = std::make_unique<TApplication>(desktop, "automenu");
        app->CreateForm(form);
        wid = form->Handle();
        Pump();
    }
}

TEST_F(RoutingTest, AnExceptionInAHandlerIsShownAndTheLoopGoesOn) {
    int moves = 0;
    form->lower->OnMouseMove = [&](TObject*, TShiftState, int, int) {
        ++moves;
        throw EConvertError("'x' is not a valid integer value");
    };
    form->upper->OnMouseMove = [](TObject*, TShiftState, int, int) { throw EAbort("quiet"); };
    form->image->OnMouseMove = [](TObject*, TShiftState, int, int) { throw std::runtime_error("boom"); };
    const TPoint points[] = {{20, 15}, {20, 16}, {120, 15}, {200, 150}};
    std::size_t next = 0;
    desktop.SetWhenIdle([&] {
        // One move at a time, as a hand makes them: a burst would be one move.
        if (next < std::size(points)) {
            desktop.MoveMouse(wid, points[next].x, points[next].y);
            ++next;
        } else if (next++ == std::size(points)) {
            desktop.RequestClose(wid);
        }
    });
    app->Run();
    EXPECT_EQ(moves, 2);
    ASSERT_EQ(desktop.Boxes().size(), 3u);
    EXPECT_EQ(desktop.Boxes()[0].text, "'x' is not a valid integer value.");
    EXPECT_EQ(desktop.Boxes()[1].text, "'x' is not a valid integer value.");
    EXPECT_EQ(desktop.Boxes()[2].caption, "Application Error");
    EXPECT_NE(desktop.Boxes()[2].text.find("Exception std::runtime_error"), std::string::npos);
}

TEST_F(RoutingTest, TheErrorBoxDisablesTheProgramsWindowsWhileItIsUp) {
    bool enabled_during_box = true;
    desktop.SetOnErrorBox([&](const auto&) { enabled_during_box = desktop.IsEnabled(wid); });
    app->ShowException(Exception("x"));
    EXPECT_FALSE(enabled_during_box);
    EXPECT_TRUE(desktop.IsEnabled(wid));
}

// Shown during an event, the box leaves the window that was active before it
// active again, not some other window of the desktop.
TEST_F(RoutingTest, TheWindowActiveBeforeTheBoxIsActiveAfterIt) {
    ASSERT_EQ(desktop.ActiveWindow(), wid);
    platform::WindowId during = platform::kNoWindow;
    desktop.SetOnErrorBox([&](const auto& box) { during = box.window; });
    app->ShowException(Exception("x"));
    EXPECT_NE(during, wid);
    EXPECT_EQ(desktop.ActiveWindow(), wid);
}

TEST_F(RoutingTest, InputForTheDisabledWindowsNeverArrivesNotEvenAfterTheBox) {
    desktop.MoveMouse(wid, 20, 15);  // queued before the box, taken while it is up
    bool sent = false;
    desktop.SetOnErrorBox([&](const auto&) {
        if (!std::exchange(sent, true)) {
            desktop.PressLeft(wid, 20, 15);
            desktop.ReleaseLeft(wid, 20, 15);
            desktop.RequestClose(wid);
        }
    });
    app->ShowException(Exception("x"));
    EXPECT_EQ(Take(), Events{});
    EXPECT_FALSE(app->Terminated()) << "the close request was dropped";
}

TEST_F(RoutingTest, TheLoopBlocksWhenIdleInsteadOfSpinning) {
    for (int i = 0; i < 5; ++i) desktop.MoveMouse(wid, 20 + i, 15);
    int idle = 0;
    desktop.SetWhenIdle([&] {
        if (++idle == 1) {
            desktop.MoveMouse(wid, 30, 15);
        } else {
            desktop.RequestClose(wid);
        }
    });
    app->Run();
    EXPECT_EQ(desktop.WaitCount(), 2) << "one wait per empty queue, no busy polling";
}

}  // namespace
}  // namespace automenu
