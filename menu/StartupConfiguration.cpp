// The start-up pass: sizes the window, loads its icon and background picture,
// shows and styles the title, the exit entry, the text lines and the entries,
// and stores the eight launch targets.
#include "menu/SettingsPass.h"
#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"

namespace automenu {

void TInstallationForm::RunStartupPass() {
    SettingsPass pass;

    // Icon. A dialog frame shows no icon, but the file must still load.
    if (IsYes(pass.LookUp("Logo Setup", "Logo Use"))) {
        PictureFilePath(pass.Reader(), "Logo Setup", "Logo Path", "Logo Name", pass.PathBuffer());
        Icon().LoadFromFile(MediaPath(pass.PathBuffer()));
    }

    // Outer size; the top-left corner stays where the centring put it.
    SetHeight(pass.LookUpInteger("Installation Form Size Setup", "Form Height"));
    SetWidth(pass.LookUpInteger("Installation Form Size Setup", "Form Width"));

    constexpr std::string_view kBackground = "BackGround Image File Setup";
    if (IsYes(pass.LookUp(kBackground, "BackGround Image Use"))) {
        BackGroundImage->SetVisible(true);
        PictureFilePath(pass.Reader(), kBackground, "BackGround Image Path", "BackGround Image Name",
                        pass.PathBuffer());
        BackGroundImage->Picture().LoadFromFile(MediaPath(pass.PathBuffer()));
        BackGroundImage->SetHeight(pass.LookUpInteger(kBackground, "BackGround Image Height"));
        BackGroundImage->SetWidth(pass.LookUpInteger(kBackground, "BackGround Image Width"));
        BackGroundImage->SetTop(pass.LookUpInteger(kBackground, "BackGround Image Top"));
        BackGroundImage->SetLeft(pass.LookUpInteger(kBackground, "BackGround Image Left"));
    } else {
        BackGroundImage->SetVisible(false);
    }

    if (IsYes(pass.LookUp("Title Message Label Setup", "Title Message Label Use")))
        ConfigureLabel(pass, *TitleMessageLabel, TitleKeys(), StyleSwitchForm::Add);
    else
        TitleMessageLabel->SetVisible(false);

    if (IsYes(pass.LookUp(kExitSection, kExitUseKey)))
        ConfigureLabel(pass, *ExitLabel, ExitKeys(Look::Normal), StyleSwitchForm::Add);
    else
        ExitLabel->SetVisible(false);

    // The count is read again before each label of its family.
    for (int n = 1; n <= 8; ++n) {
        if (n <= pass.LookUpInteger(kTextLineCountSection, kTextLineCountKey))
            ConfigureLabel(pass, *NormalMessageLabel(n), TextLineKeys(n), StyleSwitchForm::Add);
        else
            NormalMessageLabel(n)->SetVisible(false);
    }
    for (int n = 1; n <= 8; ++n) {
        if (n <= pass.LookUpInteger(kEntryCountSection, kEntryCountKey))
            ConfigureLabel(pass, *InstallationMessageLabel(n), EntryKeys(n, Look::Normal), StyleSwitchForm::Add);
        else
            InstallationMessageLabel(n)->SetVisible(false);
    }

    // All eight launch targets, whatever the count, from one directory query.
    const std::string directory = QueryCurrentDirectory();
    for (int n = 1; n <= 8; ++n)
        m_launch_targets[n - 1] = LaunchFilePath(directory, pass.LookUp(EntrySection(n), EntryFilePathKey(n)));
}

}  // namespace automenu
