#include <gtest/gtest.h>

#include <string>

#include "menu/TInstallationForm.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/PlatformAccess.h"
#include "ui/TApplication.h"
#include "ui/THintWindow.h"
#include "support/MenuFolder.h"

namespace automenu {
namespace {

// The hints of the menu window's design layout, shown by resting the pointer
// on each label in turn.
TEST(MenuHintTest, EachLabelShowsItsDesignHint) {
    platform::HeadlessPlatform platform;
    SetPlatform(&platform);
    {
        testing::MenuFolder folder("[Installation Form Size Setup]\nForm Height=479\nForm Width=640\n");
        TApplication app(platform, "automenu");
        app.CreateForm(InstallationForm);
        TInstallationForm& form = *InstallationForm;
        form.BackGroundImage->SetVisible(true);
        form.BackGroundImage->OnMouseMove = nullptr;
        struct Case {
            TLabel* label;
            const char* hint;  // "" for none
        } cases[] = {
            {form.TitleMessageLabel, ""},
            {form.NormalMessageLabel1, ""},
            {form.ExitLabel, "Press to exit."},
            {form.InstallationMessageLabel1, "Press to install."},
            {form.InstallationMessageLabel6, "Press to install."},
            {form.InstallationMessageLabel7, "Press to open."},
            {form.InstallationMessageLabel8, "Press to install."},
        };
        for (const Case& c : cases) {
            // Only the hints are under test here, not the hover handlers.
            c.label->OnMouseMove = nullptr;
            c.label->SetVisible(true);
        }
        auto pump = [&] {
            while (app.ProcessMessage()) {
            }
        };
        for (const Case& c : cases) {
            platform.MoveMouse(form.Handle(), 300, 440);  // the background picture: any hint goes
            pump();
            platform.MoveMouse(form.Handle(), c.label->Left() + 2, c.label->Top() + 2);
            pump();
            platform.AdvanceTime(500);
            pump();
            const THintWindow* window = app.Hints().Window();
            const bool showing = window && window->Visible();
            EXPECT_EQ(showing ? window->Text() : std::string(), c.hint) << c.label->Name();
        }
        InstallationForm = nullptr;
    }
    SetPlatform(nullptr);
}

}  // namespace
}  // namespace automenu
