// Hover highlighting: every mouse move over an entry, the exit entry or the
// background picture reads AUTORUN.INF again and applies what it finds. No
// value is kept from one event to the next.
#include "menu/SettingsPass.h"
#include "menu/TInstallationForm.h"

namespace automenu {

void TInstallationForm::RefreshEntry(SettingsPass& pass, int n, Look look) {
    TLabel& entry = *InstallationMessageLabel(n);
    if (pass.LookUpInteger(KeyId::EntryCount) < n) {
        entry.SetVisible(false);
        return;
    }
    ConfigureLabel(pass, entry, EntryKeys(n, look), StyleSwitchForm::SetOrClear);
}

void TInstallationForm::RefreshExit(SettingsPass& pass, Look look) {
    if (!IsYes(pass.LookUp(KeyId::ExitUse))) {
        ExitLabel->SetVisible(false);
        return;
    }
    ConfigureLabel(pass, *ExitLabel, ExitKeys(look), StyleSwitchForm::SetOrClear);
}

void TInstallationForm::EntryMouseMove(int n) {
    {
        SettingsPass pass;
        RefreshEntry(pass, n, Look::Hover);
    }
    HighlightFollowsMouse(n - 1);
}

void TInstallationForm::ExitLabelMouseMove(TObject*, TShiftState, int, int) {
    {
        SettingsPass pass;
        RefreshExit(pass, Look::Hover);
    }
    HighlightFollowsMouse(kRingSize - 1);
}

void TInstallationForm::BackGroundImageMouseMove(TObject*, TShiftState, int, int) {
    {
        SettingsPass pass;
        for (int n = 1; n <= 8; ++n) RefreshEntry(pass, n, Look::Normal);
        RefreshExit(pass, Look::Normal);
    }
    HighlightFollowsMouse(-1);
}

}  // namespace automenu
