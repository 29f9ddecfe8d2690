// The start-up pass: sizes the window, loads its icon and background picture,
// shows and styles the title, the exit entry, the text lines and the entries,
// and stores the eight launch targets.
#include "menu/SettingsPass.h"
#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"

namespace automenu {

namespace {
// The directory key and the file-name key of one section, into the buffer.
void ReadPicturePath(SettingsPass& pass, KeyId directory, KeyId name) {
    const SchemaKey& d = KeyOf(directory);
    PictureFilePath(pass.Reader(), d.section, d.key, KeyOf(name).key, pass.PathBuffer());
}
}  // namespace

void TInstallationForm::RunStartupPass() {
    SettingsPass pass;

    // Icon. A dialog frame shows no icon, but the file must still load.
    if (IsYes(pass.LookUp(KeyId::LogoUse))) {
        ReadPicturePath(pass, KeyId::LogoPath, KeyId::LogoName);
        Icon().LoadFromFile(MediaPath(pass.PathBuffer()));
    }

    // Outer size; the top-left corner stays where the centring put it.
    SetHeight(pass.LookUpInteger(KeyId::FormHeight));
    SetWidth(pass.LookUpInteger(KeyId::FormWidth));

    if (IsYes(pass.LookUp(KeyId::BackgroundUse))) {
        BackGroundImage->SetVisible(true);
        ReadPicturePath(pass, KeyId::BackgroundPath, KeyId::BackgroundName);
        BackGroundImage->Picture().LoadFromFile(MediaPath(pass.PathBuffer()));
        BackGroundImage->SetHeight(pass.LookUpInteger(KeyId::BackgroundHeight));
        BackGroundImage->SetWidth(pass.LookUpInteger(KeyId::BackgroundWidth));
        BackGroundImage->SetTop(pass.LookUpInteger(KeyId::BackgroundTop));
        BackGroundImage->SetLeft(pass.LookUpInteger(KeyId::BackgroundLeft));
    } else {
        BackGroundImage->SetVisible(false);
    }

    if (IsYes(pass.LookUp(KeyId::TitleUse)))
        ConfigureLabel(pass, *TitleMessageLabel, TitleKeys(), StyleSwitchForm::Add);
    else
        TitleMessageLabel->SetVisible(false);

    if (IsYes(pass.LookUp(KeyId::ExitUse)))
        ConfigureLabel(pass, *ExitLabel, ExitKeys(Look::Normal), StyleSwitchForm::Add);
    else
        ExitLabel->SetVisible(false);

    // The count is read again before each label of its family.
    for (int n = 1; n <= 8; ++n) {
        if (n <= pass.LookUpInteger(KeyId::TextLineCount))
            ConfigureLabel(pass, *NormalMessageLabel(n), TextLineKeys(n), StyleSwitchForm::Add);
        else
            NormalMessageLabel(n)->SetVisible(false);
    }
    for (int n = 1; n <= 8; ++n) {
        if (n <= pass.LookUpInteger(KeyId::EntryCount))
            ConfigureLabel(pass, *InstallationMessageLabel(n), EntryKeys(n, Look::Normal), StyleSwitchForm::Add);
        else
            InstallationMessageLabel(n)->SetVisible(false);
    }

    // All eight launch targets, whatever the count, from one directory query.
    const std::string directory = QueryCurrentDirectory();
    for (int n = 1; n <= 8; ++n)
        m_launch_targets[n - 1] = LaunchFilePath(directory, pass.LookUp(KeyId::EntryFilePath, n));
    // The Linux menu's own targets, read after every lookup above, which keep
    // their order; the Windows menu never asks for them.
    if (Platform().System() == platform::TargetSystem::Linux) {
        for (int n = 1; n <= 8; ++n) {
            const std::string value = pass.LookUp(KeyId::EntryLinuxFilePath, n);
            if (GivesLinuxTarget(value)) m_launch_targets[n - 1] = LaunchFilePath(directory, value);
        }
    }
}

}  // namespace automenu
