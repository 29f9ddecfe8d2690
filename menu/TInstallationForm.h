// The menu window: a background picture, a title, eight text lines, eight
// clickable entries and an exit entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/TCustomForm.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace automenu {

class SettingsPass;
enum class Look;
enum class RingMove;

class TInstallationForm : public TForm {
public:
    // Builds the window from its layout (which shows it), then configures it
    // from AUTORUN.INF.
    void Create() override;

    // Published fields, bound by name to the controls of the layout.
    TImage* BackGroundImage = nullptr;
    TLabel* TitleMessageLabel = nullptr;
    TLabel* ExitLabel = nullptr;
    TLabel* NormalMessageLabel1 = nullptr;
    TLabel* NormalMessageLabel2 = nullptr;
    TLabel* NormalMessageLabel3 = nullptr;
    TLabel* NormalMessageLabel4 = nullptr;
    TLabel* NormalMessageLabel5 = nullptr;
    TLabel* NormalMessageLabel6 = nullptr;
    TLabel* NormalMessageLabel7 = nullptr;
    TLabel* NormalMessageLabel8 = nullptr;
    TLabel* InstallationMessageLabel1 = nullptr;
    TLabel* InstallationMessageLabel2 = nullptr;
    TLabel* InstallationMessageLabel3 = nullptr;
    TLabel* InstallationMessageLabel4 = nullptr;
    TLabel* InstallationMessageLabel5 = nullptr;
    TLabel* InstallationMessageLabel6 = nullptr;
    TLabel* InstallationMessageLabel7 = nullptr;
    TLabel* InstallationMessageLabel8 = nullptr;

    // Text line n and entry n, 1 to 8.
    TLabel* NormalMessageLabel(int n) const { return m_text_lines[n - 1]; }
    TLabel* InstallationMessageLabel(int n) const { return m_entries[n - 1]; }

    // Launch target n, 1 to 8.
    const std::string& LaunchTarget(int n) const { return m_launch_targets.at(n - 1); }

    // Published event handlers; the entries' are bound by number to
    // EntryMouseMove and EntryClick.
    void ExitLabelMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void BackGroundImageMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ExitLabelClick(TObject* sender);

private:
    void LoadLayout();
    void BindEvents(TControl& control, std::string_view on_click, std::string_view on_mouse_move);
    void AdaptToScreen();
    void DescribeToAssistiveTechnology();
    void RunStartupPass();
    void RefreshEntry(SettingsPass& pass, int n, Look look);
    void RefreshExit(SettingsPass& pass, Look look);
    void EntryMouseMove(int n);
    void EntryClick(int n);

    // The keyboard: the highlight goes round the shown entries and the exit
    // entry (members 0 to 7 and 8), each key move with the passes a mouse
    // move over the background and then over the member would run.
    static constexpr int kRingSize = 9;
    TLabel& RingMember(int i) const { return i < 8 ? *m_entries[i] : *ExitLabel; }
    std::array<bool, kRingSize> ShownMembers() const;
    void KeyDown(int key, TShiftState shift);
    void KeyUp(int key, TShiftState shift);
    void MoveHighlight(RingMove move);
    void SetHighlight(int i);
    void HoverPass(int i);
    // A mouse move over member i (or over the background: -1) has run its pass.
    void HighlightFollowsMouse(int i);

    int m_highlight = -1;   // the member the keys work on, or none
    int m_space_down = -1;  // the member Space went down on, which its release opens

    // The numbered fields again, for access by number.
    std::array<TLabel*, 8> m_text_lines{};
    std::array<TLabel*, 8> m_entries{};
    std::array<std::string, 8> m_launch_targets;
};

// The program's one menu window: set before its construction runs, cleared
// when construction fails.
extern TInstallationForm* InstallationForm;

}  // namespace automenu
