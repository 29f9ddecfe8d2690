// The menu window built from its design layout alone, on the headless desktop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigurationPaths.h"
#include "support/TempDir.h"
#include "menu/TInstallationForm.h"
#include "support/HeadlessFixture.h"
#include "ui/TFont.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace automenu {
namespace {

// The design values, written out here rather than taken from the layout data.
struct DesignControl {
    const char* cls;
    const char* name;
    int left, top, width, height;
    const char* hint;  // "" for none
    bool on_click;
    bool on_mouse_move;
};

constexpr DesignControl kDesign[] = {
    {"TImage", "BackGroundImage", 0, 0, 632, 453, "", false, true},
    {"TLabel", "TitleMessageLabel", 16, 16, 89, 13, "", false, false},
    {"TLabel", "ExitLabel", 552, 408, 43, 13, "Press to exit.", true, true},
    {"TLabel", "NormalMessageLabel1", 16, 40, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel2", 16, 56, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel3", 16, 72, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel4", 16, 88, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel5", 16, 104, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel6", 16, 120, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel7", 16, 136, 108, 13, "", false, false},
    {"TLabel", "NormalMessageLabel8", 16, 152, 108, 13, "", false, false},
    {"TLabel", "InstallationMessageLabel1", 16, 176, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel2", 16, 192, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel3", 16, 208, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel4", 16, 224, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel5", 16, 240, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel6", 16, 256, 125, 13, "Press to install.", true, true},
    {"TLabel", "InstallationMessageLabel7", 16, 272, 125, 13, "Press to open.", true, true},
    {"TLabel", "InstallationMessageLabel8", 16, 288, 125, 13, "Press to install.", true, true},
};
static_assert(std::size(kDesign) == 19);

// Builds the menu window in an empty folder and looks at it when the layout
// step is complete: the start-up configuration asks for the current
// directory before it reads anything, and the test looks then.
class InstallationFormLayoutTest : public testing::HeadlessTest {
protected:
    ~InstallationFormLayoutTest() override {
        app.reset();
        InstallationForm = nullptr;
    }

    // Creates the menu window through the application; `check` runs on the
    // window as the layout left it.
    void BuildAndCheck(const std::function<void(TInstallationForm&)>& check) {
        bool checked = false;
        ScopedCurrentDirectorySource directory{[&]() -> std::string {
            if (!checked && InstallationForm) {
                checked = true;
                check(*InstallationForm);
            }
            return folder.Path();
        }};
        app->CreateForm(InstallationForm);
        ASSERT_NE(InstallationForm, nullptr);
        if (!checked) {
            // No configuration step ran: the layout is all there is.
            checked = true;
            check(*InstallationForm);
        }
    }

    // Height of "0" in the window's font, as the layout measures it.
    int MeasuredTextHeight(const TInstallationForm& form) {
        TRect r = desktop.ScreenCanvas().DrawText(form.Font().Handle(), {}, "0", {0, 0, 0, 0},
                                                  DT_CALCRECT | DT_NOPREFIX);
        return r.Height();
    }

    testing::TempDir folder;
};

TEST_F(InstallationFormLayoutTest, WindowIsShownCentredWithItsDesignPropertiesAndNothingElse) {
    BuildAndCheck([&](TInstallationForm& built) {
        TInstallationForm* form = &built;
        EXPECT_EQ(form->Name(), "InstallationForm");
        EXPECT_EQ(form->Color(), clBtnFace);
        EXPECT_EQ(form->ClientWidth(), 634);
        EXPECT_EQ(form->ClientHeight(), 454);
        EXPECT_EQ(app->MainForm(), nullptr) << "the main window is set after construction";

        ASSERT_TRUE(form->HandleAllocated());
        const platform::WindowId w = form->Handle();
        EXPECT_TRUE(desktop.IsWindowVisible(w)) << "shown at the end of the layout step";
        EXPECT_EQ(desktop.Caption(w), "Installation");
        EXPECT_EQ(desktop.ClientSize(w), (TSize{634, 454}));
        const platform::FrameExtents f = desktop.Frame(w);
        const int outer_w = 634 + f.left + f.right, outer_h = 454 + f.top + f.bottom;
        EXPECT_EQ(desktop.WindowPosition(w), (TPoint{(1280 - outer_w) / 2, (1024 - outer_h) / 2}));

        // The window's font, which every label follows.
        EXPECT_EQ(form->Font().Height(), -11);
        EXPECT_EQ(form->Font().Name(), "MS Sans Serif");
        EXPECT_EQ(form->Font().Style(), 0);
        EXPECT_EQ(form->Font().Color(), clWindowText);
        EXPECT_EQ(form->Font().Description().charset, DEFAULT_CHARSET);

        // The design icon: one 32 x 32 image at 8 bits per pixel, 2238 bytes.
        const std::vector<std::uint8_t>& icon = form->Icon().Data();
        ASSERT_EQ(icon.size(), 2238u);
        EXPECT_EQ(icon[2], 1);   // type: icon
        EXPECT_EQ(icon[4], 1);   // one image
        EXPECT_EQ(icon[6], 32);  // width
        EXPECT_EQ(icon[7], 32);  // height
        EXPECT_EQ(form->Icon().Image().width, 32);
        EXPECT_EQ(form->Icon().Image().height, 32);
    });
    EXPECT_EQ(app->MainForm(), InstallationForm);
    // Only the face colour: no control paints anything (nor does the
    // configuration of an empty folder).
    Pump();
    const platform::WindowId w = InstallationForm->Handle();
    // A current Windows' dialog face, not the desktop's theme.
    const Rgb face{240, 240, 240};
    const TSize client = desktop.ClientSize(w);
    for (int y = 0; y < client.cy; ++y)
        for (int x = 0; x < client.cx; ++x) ASSERT_EQ(desktop.Pixel(w, x, y), face) << x << "," << y;
}

TEST_F(InstallationFormLayoutTest, ControlsFollowTheDesignTableInCreationOrder) {
    BuildAndCheck([&](TInstallationForm& built) {
        TInstallationForm* form = &built;
        const auto& controls = form->Controls();
        ASSERT_EQ(controls.size(), std::size(kDesign));
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const DesignControl& want = kDesign[i];
            const TControl& c = *controls[i];
            SCOPED_TRACE(want.name);
            EXPECT_EQ(c.Name(), want.name);
            EXPECT_FALSE(c.Visible());
            EXPECT_EQ(c.Left(), want.left);
            EXPECT_EQ(c.Top(), want.top);
            EXPECT_EQ(c.Hint(), want.hint);
            // Hints show on the nine hinted labels.
            const bool hinted = *want.hint != '\0';
            EXPECT_EQ(c.ShowHint(), hinted);
            EXPECT_EQ(static_cast<bool>(c.OnClick), want.on_click);
            EXPECT_EQ(static_cast<bool>(c.OnMouseMove), want.on_mouse_move);
            EXPECT_FALSE(static_cast<bool>(c.OnDblClick));
            const auto* label = dynamic_cast<const TLabel*>(&c);
            EXPECT_EQ(label != nullptr, std::string_view(want.cls) == "TLabel");
            if (label) {
                // Captions are the names; the label sizes itself to it, single line.
                EXPECT_EQ(label->Caption(), want.name);
                EXPECT_EQ(label->Font().Height(), -11);
                EXPECT_EQ(label->Font().Name(), "MS Sans Serif");
                EXPECT_GT(label->Width(), 0);
                EXPECT_GT(label->Height(), 0);
            } else {
                EXPECT_NE(dynamic_cast<const TImage*>(&c), nullptr);
                EXPECT_EQ(c.Width(), want.width);
                EXPECT_EQ(c.Height(), want.height);
            }
        }
    });
}

TEST_F(InstallationFormLayoutTest, PublishedFieldsAreTheControlsOfTheSameName) {
    BuildAndCheck([&](TInstallationForm& built) {
        TInstallationForm* form = &built;
        struct Field {
            const TControl* control;
            const char* name;
        };
        const Field fields[] = {
            {form->BackGroundImage, "BackGroundImage"},
            {form->TitleMessageLabel, "TitleMessageLabel"},
            {form->ExitLabel, "ExitLabel"},
            {form->NormalMessageLabel1, "NormalMessageLabel1"},
            {form->NormalMessageLabel8, "NormalMessageLabel8"},
            {form->InstallationMessageLabel1, "InstallationMessageLabel1"},
            {form->InstallationMessageLabel7, "InstallationMessageLabel7"},
            {form->InstallationMessageLabel8, "InstallationMessageLabel8"},
        };
        for (const Field& f : fields) {
            ASSERT_NE(f.control, nullptr) << f.name;
            EXPECT_EQ(f.control, form->FindControl(f.name)) << f.name;
        }
        for (int n = 1; n <= 8; ++n) {
            EXPECT_EQ(form->NormalMessageLabel(n)->Name(), "NormalMessageLabel" + std::to_string(n));
            EXPECT_EQ(form->InstallationMessageLabel(n)->Name(), "InstallationMessageLabel" + std::to_string(n));
            EXPECT_EQ(form->LaunchTarget(n), "") << "launch targets start empty";
        }
    });
}

TEST_F(InstallationFormLayoutTest, ExitLabelClickClosesTheMainWindow) {
    BuildAndCheck([](TInstallationForm&) {});
    InstallationForm->ExitLabel->OnClick(InstallationForm->ExitLabel);
    Pump();
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallationFormLayoutTest, DesignFontMeasuresTheStoredTextHeightSoNothingIsScaled) {
    BuildAndCheck([&](TInstallationForm& built) {
        TInstallationForm* form = &built;
        // The layout stores TextHeight 13 for its font; at 96 ppi our font
        // stand-in must measure the same, or every menu would come out scaled.
        EXPECT_EQ(MeasuredTextHeight(*form), 13);
        EXPECT_EQ(form->BackGroundImage->BoundsRect(), (TRect{0, 0, 632, 453}));
    });
}

// At 120 ppi the font height is rescaled, then every control and the client
// area follow the measured height of "0" against the stored 13.
TEST_F(InstallationFormLayoutTest, AdaptsToTheScreenResolution) {
    desktop.SetScreen({1280, 1024}, 120);
    BuildAndCheck([&](TInstallationForm& built) {
        TInstallationForm* form = &built;
        EXPECT_EQ(form->Font().Height(), MulDiv(-11, 120, 96));
        EXPECT_EQ(form->Font().Height(), -14);

        const int measured = MeasuredTextHeight(*form);
        ASSERT_GT(measured, 13) << "a 14-pixel font measures taller than the stored 13";
        auto scaled = [measured](int v) { return MulDiv(v, measured, 13); };
        EXPECT_EQ(form->ClientWidth(), scaled(634));
        EXPECT_EQ(form->ClientHeight(), scaled(454));
        EXPECT_EQ(desktop.ClientSize(form->Handle()), (TSize{scaled(634), scaled(454)}));
        const auto& controls = form->Controls();
        ASSERT_EQ(controls.size(), std::size(kDesign));
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const DesignControl& want = kDesign[i];
            const TControl& c = *controls[i];
            SCOPED_TRACE(want.name);
            EXPECT_EQ(c.Left(), scaled(want.left));
            EXPECT_EQ(c.Top(), scaled(want.top));
            if (dynamic_cast<const TImage*>(&c)) {
                EXPECT_EQ(c.Width(), scaled(want.width));
                EXPECT_EQ(c.Height(), scaled(want.height));
            } else {
                EXPECT_EQ(static_cast<const TLabel&>(c).Font().Height(), -14) << "labels follow the window's font";
            }
        }
        // Centred for the scaled outer size.
        const platform::FrameExtents f = desktop.Frame(form->Handle());
        const int outer_w = scaled(634) + f.left + f.right, outer_h = scaled(454) + f.top + f.bottom;
        EXPECT_EQ(desktop.WindowPosition(form->Handle()), (TPoint{(1280 - outer_w) / 2, (1024 - outer_h) / 2}));
    });
}

}  // namespace
}  // namespace automenu
