#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "config/KeySchema.h"
#include "config/ValueRules.h"
#include "menu/DesignIcons.h"
#include "menu/MenuTestSupport.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/LanguageCorpus.h"

namespace automenu {
namespace {

using testing::AutorunText;
using testing::Gates;
using testing::LookupRecorder;
using testing::MenuTest;
using testing::PictureFixture;
using testing::PrefixThrough;
using testing::StartupLookups;

TColor Colour(const char* name) { return *ColourFromName(name); }

class StartupTest : public MenuTest {
public:
    // Runs the construction on a window of our own, so that what the pass
    // left behind can be examined when it fails.
    std::unique_ptr<TInstallationForm> Construct(const AutorunText& text, std::string* error = nullptr) {
        Write(text);
        auto form = std::make_unique<TInstallationForm>();
        InstallationForm = form.get();
        try {
            form->Create();
        } catch (const Exception& e) {
            if (error) *error = e.Message();
        }
        return form;
    }
};

// The Linux menu reads its own targets after the two hundred, which keep
// their order; the Windows menu reads none of them.
TEST_F(StartupTest, EveryGateOpenMakesTheTwoHundredLookupsInOrder) {
    for (const auto system : {platform::TargetSystem::Linux, platform::TargetSystem::Windows}) {
        const bool linux_menu = system == platform::TargetSystem::Linux;
        desktop.SetSystem(system);
        LookupRecorder recorder;
        Restart();
        EXPECT_EQ(recorder.seen.size(), linux_menu ? 208u : 200u);
        EXPECT_EQ(recorder.seen, StartupLookups({.linux_targets = linux_menu}));
        const testing::Lookups spec = StartupLookups({.linux_targets = false});
        EXPECT_TRUE(std::equal(spec.begin(), spec.end(), recorder.seen.begin()));
    }
}

TEST_F(StartupTest, GatesDecideWhatIsShownAndWhatIsLookedUp) {
    const struct {
        const char* name;
        std::function<void(AutorunText&)> edit;
        Gates gates;
    } cases[] = {
        {"all open", [](AutorunText&) {}, {}},
        {"no logo", [](AutorunText& t) { t.Set(KeyId::LogoUse, "NO"); }, {.logo = false}},
        {"background in lower case",
         [](AutorunText& t) { t.Set(KeyId::BackgroundUse, "yes"); },
         {.background = false}},
        {"no title", [](AutorunText& t) { t.Remove(KeyId::TitleUse); },
         {.title = false}},
        {"no exit entry", [](AutorunText& t) { t.Set(KeyId::ExitUse, "Yes"); }, {.exit = false}},
        {"counts 0", [](AutorunText& t) {
             t.Set(KeyId::TextLineCount, "0");
             t.Set(KeyId::EntryCount, "0");
         }, {.lines = 0, .entries = 0}},
        {"counts 2", [](AutorunText& t) {
             t.Set(KeyId::TextLineCount, "2");
             t.Set(KeyId::EntryCount, "2");
         }, {.lines = 2, .entries = 2}},
        {"counts 9", [](AutorunText& t) {
             t.Set(KeyId::TextLineCount, "9");
             t.Set(KeyId::EntryCount, "9");
         }, {.lines = 8, .entries = 8}},
        {"counts -1", [](AutorunText& t) {
             t.Set(KeyId::TextLineCount, "-1");
             t.Set(KeyId::EntryCount, "-1");
         }, {.lines = 0, .entries = 0}},
        {"entries 3, lines missing", [](AutorunText& t) {
             t.Remove(KeyId::TextLineCount);
             t.Set(KeyId::EntryCount, "3");
         }, {.lines = 0, .entries = 3}},
    };
    for (const auto& c : cases) {
        AutorunText text = AutorunText::Full();
        c.edit(text);
        LookupRecorder recorder;
        auto form = Construct(text);
        EXPECT_EQ(recorder.seen, StartupLookups(c.gates)) << c.name;
        EXPECT_EQ(form->BackGroundImage->Visible(), c.gates.background) << c.name;
        EXPECT_EQ(form->BackGroundImage->Picture().Graphic() != nullptr, c.gates.background) << c.name;
        EXPECT_EQ(form->Icon().Data() != DesignIconData(), c.gates.logo) << c.name;
        EXPECT_EQ(form->TitleMessageLabel->Visible(), c.gates.title) << c.name;
        EXPECT_EQ(form->ExitLabel->Visible(), c.gates.exit) << c.name;
        for (int n = 1; n <= 8; ++n) {
            EXPECT_EQ(form->NormalMessageLabel(n)->Visible(), n <= c.gates.lines) << c.name << " line " << n;
            EXPECT_EQ(form->InstallationMessageLabel(n)->Visible(), n <= c.gates.entries) << c.name << " entry " << n;
            const std::string value = text.Get(KeyId::EntryFilePath, n);
            EXPECT_EQ(form->LaunchTarget(n), folder.Path() + "/" + value) << c.name << ": set whatever the count";
        }
    }
}

TEST_F(StartupTest, ExitEntrySwitchedOffReadsNoneOfItsKeysAtStartOrLater) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::ExitUse, "NO");
    LookupRecorder recorder;
    Start(text);
    MoveTo({600, 440});  // the background picture
    ASSERT_FALSE(Form().ExitLabel->Visible());
    for (const auto& lookup : recorder.seen)
        if (lookup.first == KeyOf(KeyId::ExitUse).section) {
            EXPECT_EQ(lookup, testing::LookupOf(KeyId::ExitUse));
        }
}

// Each entry's hover reads its own keys, not another's.
TEST_F(StartupTest, EveryHoverReadsTheKeysOfItsControl) {
    LookupRecorder recorder;
    Start();
    for (int n = 1; n <= 8; ++n) MoveOver(Entry(n));
    MoveOver(*Form().ExitLabel);
    MoveTo({600, 440});
    testing::Lookups expected = StartupLookups({});
    for (int n = 1; n <= 8; ++n) testing::AddEntryRefresh(expected, n, testing::Font::Second, 8);
    testing::AddExitRefresh(expected, testing::Font::Second, true);
    std::ranges::copy(testing::BackgroundLookups(8, true), std::back_inserter(expected));
    EXPECT_EQ(recorder.seen, expected);
}

TEST_F(StartupTest, EmptyOrAbsentFileHidesEverythingAndKeepsAUsableWindow) {
    for (const bool absent : {true, false}) {
        if (absent)
            folder.Remove("AUTORUN.INF");
        else
            folder.Write("AUTORUN.INF", "");
        LookupRecorder recorder;
        app->CreateForm(InstallationForm);
        TInstallationForm& form = Form();
        EXPECT_EQ(recorder.seen, StartupLookups({false, false, false, false, 0, 0})) << absent;
        const TSize minimum = desktop.MinimumCaptionedSize();
        EXPECT_EQ(form.Width(), minimum.cx) << "0 is raised to what a captioned window can have";
        EXPECT_EQ(form.Height(), minimum.cy);
        EXPECT_EQ(form.Icon().Data(), DesignIconData()) << "the design-time icon stays";
        for (const auto& control : form.Controls()) EXPECT_FALSE(control->Visible()) << control->Name();
        for (int n = 1; n <= 8; ++n) EXPECT_EQ(form.LaunchTarget(n), folder.Path() + "/0");
        app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
    }
}

TEST_F(StartupTest, WindowSizeStaysBetweenACaptionedWindowAndTheScreenPlusFrame) {
    const TSize minimum = desktop.MinimumCaptionedSize();
    const TSize screen = desktop.ScreenSize();
    const struct {
        const char* width;
        const char* height;
        TSize outer;
    } cases[] = {
        {"640", "480", {640, 480}},
        {"100000", "70000", {screen.cx + 6, screen.cy + 25}},  // left + right, caption + bottom of the frame
        {"20000", "20000", {screen.cx + 6, screen.cy + 25}},
        {"2147483647", "-2147483648", {screen.cx + 6, minimum.cy}},
        {"0", "-5", {minimum.cx, minimum.cy}},
    };
    for (const auto& c : cases) {
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::FormWidth, c.width);
        text.Set(KeyId::FormHeight, c.height);
        Restart(text);
        const TSize outer{Form().Width(), Form().Height()};
        EXPECT_EQ(outer, c.outer) << c.width << " x " << c.height;
        EXPECT_EQ(desktop.ClientSize(Window()), (TSize{Form().ClientWidth(), Form().ClientHeight()}));
    }
}

// Sizes, positions and font sizes at the int limits, and those whose point
// to pixel conversion lands on them: the window is made and hovered, and the
// sanitizer run of this test finds any overflow.
TEST_F(StartupTest, EveryNumberAtTheLimitsIsTakenWithoutOverflow) {
    // Every size, position and font size of the file set to the value.
    const auto with_numbers = [](const std::string& value) {
        std::istringstream lines(AutorunText::Full().Text());
        std::string text, line;
        while (std::getline(lines, line)) {
            const std::size_t eq = line.find('=');
            const std::string key = line.substr(0, eq);
            for (const char* suffix : {"Size", "Top", "Left", "Height", "Width"})
                if (eq != std::string::npos && key.ends_with(suffix)) line = key + "=" + value;
            text += line + "\n";
        }
        return AutorunText::Parse(text);
    };
    for (const char* value : {"2147483647", "-2147483648", "-1610612736", "1610612736", "-1000000"}) {
        Restart(with_numbers(value));
        EXPECT_TRUE(desktop.Boxes().empty()) << value << ": " << desktop.Boxes().front().text;
        // Wherever the labels went: points across the window.
        for (TPoint p : {TPoint{1, 1}, TPoint{20, 180}, TPoint{300, 200}, TPoint{600, 440}}) MoveTo(p);
        EXPECT_GE(Form().Width(), desktop.MinimumCaptionedSize().cx) << value;
    }
}

TEST_F(StartupTest, MissingLabelKeysGiveTheDefaults) {
    AutorunText text = AutorunText::Full();
    for (KeyId id : {KeyId::TitleCaption, KeyId::TitleFontName, KeyId::TitleFontColor, KeyId::TitleFontBold,
                     KeyId::TitleFontItalic, KeyId::TitleFontUnderline, KeyId::TitleFontSize})
        text.Remove(id);
    Start(text);
    const TLabel& title = *Form().TitleMessageLabel;
    EXPECT_TRUE(title.Visible());
    EXPECT_EQ(title.Caption(), "0");
    EXPECT_EQ(title.Font().Name(), "0");
    EXPECT_EQ(title.Font().Color(), Form().Font().Color()) << "no colour name: the colour stays";
    EXPECT_EQ(title.Font().Style(), Form().Font().Style()) << "the design-time style stays";
    EXPECT_EQ(title.Font().Size(), 0);
}

// Each value of the label procedure is applied before the next key is looked
// up: show, caption, top, left, name, colour, bold, italic, underline, size.
TEST_F(StartupTest, LabelProcedureAppliesEachValueInItsTurn) {
    struct Snapshot {
        bool visible;
        std::string caption;
        int top, left;
        std::string name;
        TColor colour;
        TFontStyles style;
        int size;
    };
    std::map<testing::Lookup, Snapshot> at;  // the title as each of its keys is looked up
    auto snapshot = [] {
        const TLabel& l = *InstallationForm->TitleMessageLabel;
        return Snapshot{l.Visible(), l.Caption(), l.Top(), l.Left(), l.Font().Name(),
                        l.Font().Color(), l.Font().Style(), l.Font().Size()};
    };
    ScopedLookUpObserver observer([&](std::string_view section, std::string_view key) {
        at[{std::string(section), std::string(key)}] = snapshot();
    });
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::TitleFontItalic, "YES");
    text.Set(KeyId::TitleFontUnderline, "YES");
    Start(text);
    auto when = [&](KeyId id) { return at[testing::LookupOf(id)]; };
    EXPECT_FALSE(when(KeyId::TitleUse).visible);
    EXPECT_TRUE(when(KeyId::TitleCaption).visible);
    EXPECT_EQ(when(KeyId::TitleTop).caption, "Welcome to the Example Suite 2.0 installation");
    EXPECT_NE(when(KeyId::TitleTop).top, 24);
    EXPECT_EQ(when(KeyId::TitleLeft).top, 24);
    EXPECT_NE(when(KeyId::TitleLeft).left, 32);
    EXPECT_EQ(when(KeyId::TitleFontName).left, 32);
    EXPECT_NE(when(KeyId::TitleFontName).name, "Arial");
    EXPECT_EQ(when(KeyId::TitleFontColor).name, "Arial");
    EXPECT_NE(when(KeyId::TitleFontColor).colour, Colour("clNavy"));
    EXPECT_EQ(when(KeyId::TitleFontBold).colour, Colour("clNavy"));
    EXPECT_EQ(when(KeyId::TitleFontBold).style, 0);
    EXPECT_EQ(when(KeyId::TitleFontItalic).style, fsBold);
    EXPECT_EQ(when(KeyId::TitleFontUnderline).style, fsBold | fsItalic);
    EXPECT_EQ(when(KeyId::TitleFontSize).style, fsBold | fsItalic | fsUnderline);
    EXPECT_NE(when(KeyId::TitleFontSize).size, 16);
    EXPECT_EQ(when(KeyId::ExitUse).size, 16);
}

// A bad integer ends the pass at its key: everything before it is applied,
// nothing after, and the launch targets are still empty.
TEST_F(StartupTest, BadIntegerStopsThePassAtItsKey) {
    const struct {
        KeyId key;
        int number;
        std::function<void(TInstallationForm&)> check;
    } cases[] = {
        {KeyId::FormHeight, 0,
         [](TInstallationForm& f) {
             EXPECT_NE(f.Icon().Data(), DesignIconData()) << "the icon comes first";
             EXPECT_NE(f.Height(), 480);
         }},
        {KeyId::FormWidth, 0,
         [](TInstallationForm& f) {
             EXPECT_EQ(f.Height(), 480);
             EXPECT_FALSE(f.BackGroundImage->Visible());
         }},
        {KeyId::BackgroundWidth, 0,
         [](TInstallationForm& f) {
             EXPECT_TRUE(f.BackGroundImage->Visible());
             EXPECT_NE(f.BackGroundImage->Picture().Graphic(), nullptr);
             EXPECT_EQ(f.BackGroundImage->Height(), 454);
             EXPECT_NE(f.BackGroundImage->Width(), 634);
         }},
        {KeyId::TitleTop, 0,
         [](TInstallationForm& f) {
             EXPECT_TRUE(f.TitleMessageLabel->Visible());
             EXPECT_EQ(f.TitleMessageLabel->Caption(), "Welcome to the Example Suite 2.0 installation");
             EXPECT_NE(f.TitleMessageLabel->Top(), 24);
             EXPECT_NE(f.TitleMessageLabel->Font().Name(), "Arial");
         }},
        {KeyId::TitleFontSize, 0,
         [](TInstallationForm& f) {
             const TFont& font = f.TitleMessageLabel->Font();
             EXPECT_EQ(f.TitleMessageLabel->Left(), 32);
             EXPECT_EQ(font.Name(), "Arial");
             EXPECT_EQ(font.Color(), Colour("clNavy"));
             EXPECT_EQ(font.Style(), fsBold);
             EXPECT_NE(font.Size(), 16);
             EXPECT_FALSE(f.ExitLabel->Visible());
         }},
        {KeyId::ExitLeft, 0,
         [](TInstallationForm& f) {
             EXPECT_TRUE(f.ExitLabel->Visible());
             EXPECT_EQ(f.ExitLabel->Caption(), "Exit");
             EXPECT_EQ(f.ExitLabel->Top(), 400);
             EXPECT_NE(f.ExitLabel->Left(), 560);
             EXPECT_NE(f.ExitLabel->Font().Name(), "Tahoma");
         }},
        {KeyId::TextLineCount, 0,
         [](TInstallationForm& f) {
             EXPECT_TRUE(f.ExitLabel->Visible());
             for (int n = 1; n <= 8; ++n) EXPECT_FALSE(f.NormalMessageLabel(n)->Visible()) << n;
         }},
        {KeyId::TextLineLeft, 3,
         [](TInstallationForm& f) {
             EXPECT_EQ(f.NormalMessageLabel(2)->Font().Size(), 9);
             EXPECT_TRUE(f.NormalMessageLabel(3)->Visible());
             EXPECT_EQ(f.NormalMessageLabel(3)->Top(), 120);
             EXPECT_NE(f.NormalMessageLabel(3)->Left(), 32);
             EXPECT_FALSE(f.NormalMessageLabel(4)->Visible());
         }},
        {KeyId::EntryCount, 0,
         [](TInstallationForm& f) {
             EXPECT_TRUE(f.NormalMessageLabel(8)->Visible());
             for (int n = 1; n <= 8; ++n) EXPECT_FALSE(f.InstallationMessageLabel(n)->Visible()) << n;
         }},
        {KeyId::EntryFirstFontSize, 5,
         [](TInstallationForm& f) {
             EXPECT_EQ(f.InstallationMessageLabel(4)->Font().Size(), 11);
             const TFont& font = f.InstallationMessageLabel(5)->Font();
             EXPECT_EQ(font.Name(), "Tahoma");
             EXPECT_EQ(font.Color(), Colour("clBlue"));
             EXPECT_NE(font.Size(), 11);
             EXPECT_FALSE(f.InstallationMessageLabel(6)->Visible());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(KeyOf(c.key, c.number).key);
        AutorunText text = AutorunText::Full();
        const char* bad = c.key == KeyId::TextLineCount || c.key == KeyId::EntryCount ? "three" : "abc";
        text.Set(c.key, c.number, bad);
        LookupRecorder recorder;
        std::string error;
        auto form = Construct(text, &error);
        EXPECT_EQ(error, std::string("'") + bad + "' is not a valid integer value");
        EXPECT_EQ(recorder.seen, PrefixThrough(StartupLookups({}), c.key, c.number));
        c.check(*form);
        for (int n = 1; n <= 8; ++n) EXPECT_EQ(form->LaunchTarget(n), "") << n;
    }
}

TEST_F(StartupTest, FailedConstructionShowsOneBoxAndNeverRunsTheLoop) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::FormHeight, "abc");
    Write(text);
    try {
        app->CreateForm(InstallationForm);
        app->Run();
        FAIL() << "construction should have failed";
    } catch (const Exception& e) {
        app->ShowException(e);
    }
    EXPECT_EQ(InstallationForm, nullptr);
    EXPECT_TRUE(desktop.Windows().empty());
    ASSERT_EQ(desktop.Boxes().size(), 1u);
    EXPECT_EQ(desktop.Boxes()[0].caption, "Automenu");
    EXPECT_EQ(desktop.Boxes()[0].text, "'abc' is not a valid integer value.");
    EXPECT_EQ(desktop.WaitCount(), 1) << "only the box waited, for its answer";
}

TEST_F(StartupTest, PictureThatFailsToLoadStopsThePassAfterTheImageIsShown) {
    const struct {
        const char* name;
        const char* fixture;  // nullptr: no such file
        std::string message;
    } cases[] = {
        {"missing.bmp", nullptr, "Cannot open file " + folder.File("missing.bmp")},
        {"bad.bmp", "not_bm_signature.bmp", "Bitmap image is not valid"},
        {"cut.bmp", "palette_cut.bmp", "Stream read error"},
        {"picture.jpg", "rgb24_v3.bmp", "JPEG image is not valid"},
        {"picture.gif", "rgb24_v3.bmp", "Unknown picture file extension (.gif)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fixture) testing::WriteWholeFile(folder.File(c.name), PictureFixture(c.fixture));
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::BackgroundName, c.name);
        LookupRecorder recorder;
        std::string error;
        auto form = Construct(text, &error);
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(recorder.seen, PrefixThrough(StartupLookups({}), KeyId::BackgroundName));
        EXPECT_TRUE(form->BackGroundImage->Visible());
        EXPECT_NE(form->BackGroundImage->Height(), 454) << "bounds come after the picture";
        EXPECT_FALSE(form->TitleMessageLabel->Visible());
        EXPECT_EQ(form->LaunchTarget(1), "");
    }
}

TEST_F(StartupTest, IconIsLoadedButTheDialogShowsNone) {
    Start();
    const std::string file = PictureFixture("dib24.ico");
    EXPECT_EQ(Form().Icon().Data(), std::vector<std::uint8_t>(file.begin(), file.end()));
    const PixelImage* shown = desktop.Icon(Window());
    const PixelImage design = ApplicationIcon();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pixels, design.pixels) << "the window keeps its application icon";
}

TEST_F(StartupTest, APictureThatFailsToDrawIsReportedOnceAndTheMenuStaysUsable) {
    // The header is sound, so the picture loads; its image lies outside the
    // file, so building it fails at the first paint.
    folder.Write("damaged.ico", PictureFixture("entry_offset_outside.ico"));
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::BackgroundName, "damaged.ico");
    Start(text);
    ASSERT_EQ(desktop.Boxes().size(), 1u);
    EXPECT_EQ(desktop.Boxes()[0].text, "Out of system resources.");

    // Each box the desktop closes exposes the window again; hovers repaint.
    for (int i = 0; i < 3; ++i) {
        desktop.Invalidate(Window(), {0, 0, Form().ClientWidth(), Form().ClientHeight()});
        MoveOver(Entry(1));
        MoveTo({600, 440});
    }
    EXPECT_EQ(desktop.Boxes().size(), 1u) << "no second box for the same picture";
    EXPECT_TRUE(Entry(1).Visible()) << "the labels still paint";
    desktop.RequestClose(Window());
    desktop.SetWhenIdle([] { FAIL() << "the close request was not handled"; });
    app->Run();
    EXPECT_TRUE(app->Terminated());
}

TEST_F(StartupTest, MissingIconFileStopsThePass) {
    AutorunText text = AutorunText::Full();
    text.Set(KeyId::LogoName, "missing.ico");
    std::string error;
    auto form = Construct(text, &error);
    EXPECT_EQ(error, "Cannot open file " + folder.File("missing.ico"));
    EXPECT_EQ(form->Icon().Data(), DesignIconData());
}

// Files written on Windows: backslashes separate, and a name that does not
// exist as written is found whatever its case.
TEST_F(StartupTest, PicturePathsWrittenOnWindowsAreFound) {
    const struct {
        const char* on_disk;
        std::string path;
        const char* name;
    } cases[] = {
        {"back.bmp", "NOW", "BACK.BMP"},
        {"pics/back.bmp", "NOW", "pics\\back.bmp"},
        {"Pics/Back.bmp", "NOW", "PICS\\BACK.BMP"},
        {"pics/back.bmp", folder.Path() + "\\pics", "back.bmp"},
        {"pics/back.bmp", folder.Path() + "\\PICS\\", "back.bmp"},
        // Longer than any fixed path buffer would hold.
        {"a-directory-name-long-enough-to-pass-sixty-four-bytes-on-its-own/Deeper/back.bmp", "NOW",
         "A-DIRECTORY-NAME-LONG-ENOUGH-TO-PASS-SIXTY-FOUR-BYTES-ON-ITS-OWN\\deeper\\back.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " + " + c.name);
        std::filesystem::create_directories(std::filesystem::path(folder.File(c.on_disk)).parent_path());
        testing::WriteWholeFile(folder.File(c.on_disk), PictureFixture("rgb24_v3.bmp"));
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::BackgroundPath, c.path);
        text.Set(KeyId::BackgroundName, c.name);
        std::string error;
        auto form = Construct(text, &error);
        EXPECT_EQ(error, "");
        EXPECT_NE(form->BackGroundImage->Picture().Graphic(), nullptr);
        std::filesystem::remove_all(folder.File(*std::filesystem::path(c.on_disk).begin()));
    }
}

TEST_F(StartupTest, ConfiguredSizeKeepsTheCornerOfTheCentredWindow) {
    // The window is on screen, centred for its design size, when the pass
    // reaches the size keys.
    TPoint corner{-1, -1};
    TSize outer{};
    ScopedLookUpObserver observer([&](std::string_view section, std::string_view key) {
        if (testing::Lookup(section, key) != testing::LookupOf(KeyId::FormHeight)) return;
        corner = desktop.WindowPosition(InstallationForm->Handle());
        outer = {InstallationForm->Width(), InstallationForm->Height()};
    });
    Start();
    const TSize screen = desktop.ScreenSize();
    EXPECT_EQ(corner.x, (screen.cx - outer.cx) / 2);
    EXPECT_EQ(corner.y, (screen.cy - outer.cy) / 2);
    EXPECT_EQ(desktop.WindowPosition(Window()).x, corner.x);
    EXPECT_EQ(desktop.WindowPosition(Window()).y, corner.y);
    EXPECT_EQ(Form().Width(), 640);
    EXPECT_EQ(Form().Height(), 480);
}

TEST_F(StartupTest, AWindowLargerThanTheScreenKeepsItsCaptionAndCloseButtonOnIt) {
    // Screens in design units: high-DPI desktops (1280 x 1024 and 1920 x
    // 1080 at scale 3, 1280 x 1024 at 4) and an ordinary one with a panel.
    const struct {
        const char* what;
        TSize screen;
        TRect work;
        const char* width;
        const char* height;
    } cases[] = {
        {"1280 x 1024 at scale 3", {426, 341}, {0, 0, 426, 341}, "640", "480"},
        {"1920 x 1080 at scale 3", {640, 360}, {0, 0, 640, 360}, "640", "480"},
        {"1280 x 1024 at scale 4", {320, 256}, {0, 0, 320, 256}, "640", "480"},
        {"wider than the screen, centred for the design size", {1280, 1024}, {0, 0, 1280, 1024}, "5000", "480"},
        {"panels above and on the left", {1280, 1024}, {40, 30, 1280, 1024}, "5000", "5000"},
    };
    for (const auto& c : cases) {
        desktop.SetScreen(c.screen, 96);
        desktop.SetWorkArea(c.work);
        AutorunText text = AutorunText::Full();
        text.Set(KeyId::FormWidth, c.width);
        text.Set(KeyId::FormHeight, c.height);
        Restart(text);
        const TPoint at = desktop.WindowPosition(Window());
        const auto frame = desktop.Frame(Window());
        EXPECT_GE(at.y, c.work.top) << c.what << ": the caption's top";
        if (Form().Width() - frame.left - frame.right <= c.work.Width()) {
            EXPECT_GE(at.x + frame.left, c.work.left) << c.what << ": the caption's left end";
        }
        EXPECT_LE(at.x + Form().Width() - frame.right, c.work.right) << c.what << ": the close button";
        desktop.RequestClose(Window());
        Pump();
        EXPECT_TRUE(app->Terminated()) << c.what << ": closed by its close button";
    }
}

// A menu of each of ten languages, started from each of its four files in
// the language's locale: the captions it shows, the picture and the target
// named in the language.
TEST_F(StartupTest, EveryLanguageShowsItsTextAndOpensItsNames) {
    const std::string picture = testing::FileBytes(std::string(AUTOMENU_TEST_DATA) + "/pictures/pal1.bmp");
    for (const auto& language : testing::CorpusLanguages()) {
        platform::ScopedEnvironmentVariable locale("LC_ALL", language.locale);
        const std::string target = language.Value("Installation Message Label 1 File Path");
        folder.Write(target, "");
        folder.Write(language.Value("BackGround Image Name"), picture);
        for (const char* encoding : testing::kCorpusEncodings) {
            SCOPED_TRACE(language.name + "/" + encoding);
            folder.Write("AUTORUN.INF", language.File(encoding));
            const std::size_t boxes = desktop.Boxes().size(), opens = desktop.ShellOpens().size();
            app.reset();
            InstallationForm = nullptr;
            app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
            app->CreateForm(InstallationForm);
            Pump();
            ASSERT_EQ(desktop.Boxes().size(), boxes) << desktop.Boxes().back().text;
            EXPECT_EQ(Form().TitleMessageLabel->Caption(), language.Value("Title Message Label Caption"));
            EXPECT_EQ(Form().NormalMessageLabel(1)->Caption(), language.Value("Normal Message Label 1 Caption"));
            EXPECT_EQ(Entry(2).Caption(), language.Value("Installation Message Label 2 Caption"));
            EXPECT_EQ(Form().ExitLabel->Caption(), language.Value("Exit Label Caption"));
            Click(Entry(1));
            ASSERT_EQ(desktop.ShellOpens().size(), opens + 1);
            EXPECT_EQ(desktop.ShellOpens().back(), folder.File(target));
        }
    }
}

}  // namespace
}  // namespace automenu
