#include <gtest/gtest.h>

#include <string>

#include "menu/TInstallationForm.h"
#include "support/HeadlessFixture.h"
#include "support/MenuFolder.h"
#include "ui/THintWindow.h"

namespace automenu {
namespace {

// The hints of the menu window's design layout, shown by resting the pointer
// on each label in turn.
class MenuHintTest : public testing::HeadlessTest {};

TEST_F(MenuHintTest, EachLabelShowsItsDesignHint) {
    testing::MenuFolder folder("[Installation Form Size Setup]\nForm Height=479\nForm Width=640\n");
    app->CreateForm(InstallationForm);
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
    for (const Case& c : cases) {
        desktop.MoveMouse(form.Handle(), 300, 440);  // the background picture: any hint goes
        Pump();
        desktop.MoveMouse(form.Handle(), c.label->Left() + 2, c.label->Top() + 2);
        Pump();
        desktop.AdvanceTime(500);
        Pump();
        const THintWindow* window = app->Hints().Window();
        const bool showing = window && window->Visible();
        EXPECT_EQ(showing ? window->Text() : std::string(), c.hint) << c.label->Name();
    }
    InstallationForm = nullptr;
}

}  // namespace
}  // namespace automenu
