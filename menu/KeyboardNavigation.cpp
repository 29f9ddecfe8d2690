// The keyboard: Tab, the arrow keys, Home and End move a highlight over the
// shown entries and the exit entry; Return and Space open the highlighted
// one as a click does. The highlight takes the hover look by the passes the
// mouse runs, so the file is read again at every move, and follows the mouse
// when the mouse moves over an entry.
#include <utility>

#include "menu/KeyboardRing.h"
#include "menu/SettingsPass.h"
#include "menu/TInstallationForm.h"

namespace automenu {

std::array<bool, TInstallationForm::kRingSize> TInstallationForm::ShownMembers() const {
    std::array<bool, kRingSize> shown{};
    for (int i = 0; i < kRingSize; ++i) shown[static_cast<std::size_t>(i)] = RingMember(i).Visible();
    return shown;
}

void TInstallationForm::KeyDown(int key, TShiftState shift) {
    if (const auto move = RingMoveOfKey(key, shift)) {
        MoveHighlight(*move);
        return;
    }
    if (m_highlight < 0 || !RingMember(m_highlight).Visible()) return;
    if (key == platform::VK_RETURN) {
        RingMember(m_highlight).Click();
    } else if (key == platform::VK_SPACE) {
        m_space_down = m_highlight;
    }
}

void TInstallationForm::KeyUp(int key, TShiftState) {
    if (key != platform::VK_SPACE) return;
    // As a button: the release opens what the press went down on, unless the
    // highlight has moved meanwhile.
    const int down = std::exchange(m_space_down, -1);
    if (down >= 0 && down == m_highlight && RingMember(down).Visible()) RingMember(down).Click();
}

void TInstallationForm::SetHighlight(int i) {
    if (i != m_highlight) m_space_down = -1;
    m_highlight = i;
    SetFocusedControl(i >= 0 ? &RingMember(i) : nullptr);
}

void TInstallationForm::HoverPass(int i) {
    if (i < 8)
        EntryMouseMove(i + 1);
    else
        ExitLabelMouseMove(ExitLabel, 0, 0, 0);
}

void TInstallationForm::MoveHighlight(RingMove move) {
    // With nothing shown, keys do nothing: not even the passes run.
    if (MoveInRing(ShownMembers(), -1, RingMove::Next) < 0) return;
    // The background pass first, so that only the new member is in its hover
    // look, as after the mouse; it may show or hide members, so the move is
    // taken after it, from where the highlight was.
    const int from = m_highlight;
    BackGroundImageMouseMove(BackGroundImage, 0, 0, 0);
    int target = MoveInRing(ShownMembers(), from, move);
    const RingMove onward = OnwardOf(move);
    // A member its own pass hides hands the highlight on; each such pass
    // hides one more, so this ends within one round.
    for (int tries = 0; tries < kRingSize && target >= 0; ++tries) {
        SetHighlight(target);
        HoverPass(target);
        if (RingMember(target).Visible()) return;
        target = MoveInRing(ShownMembers(), target, onward);
    }
    SetHighlight(target);
}

void TInstallationForm::HighlightFollowsMouse(int i) {
    if (i >= 0 && RingMember(i).Visible()) {
        SetHighlight(i);
        return;
    }
    // A pass hid the highlighted member: the highlight goes to the next one
    // shown, without a pass of its own, so the mouse's looks stay as they are.
    if (m_highlight >= 0 && !RingMember(m_highlight).Visible())
        SetHighlight(MoveInRing(ShownMembers(), m_highlight, RingMove::Next));
}

}  // namespace automenu
