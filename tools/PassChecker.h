// Check's run of the menu itself on the headless back end: the start-up pass,
// drawing the window, a mouse move over every entry and over the background,
// and where the window puts its labels.
#pragma once

#include <optional>

#include "CheckedFile.h"
#include "FindingList.h"
#include "MenuSimulation.h"
#include "TargetChecker.h"

namespace automenu::tool {

class PassChecker {
public:
    PassChecker(const CheckedFile& file, FindingList& findings) : m_file(file), m_findings(findings) {}

    // The pictures are probed in the menu's directory, before its start-up.
    void Run(TargetChecker& pictures);

private:
    // Start-ups tried, each after one more error: more are not looked for.
    static constexpr int kMaxStartUpErrors = 64;

    // The value that lets the menu start past `failure`, or nothing.
    std::optional<KeyOverride> GoingOnPast(const PassFailure& failure);
    void RunStarted(MenuSimulation& menu);
    int LineOfFailure(const PassFailure& f) const;
    void CheckGeometry(const TInstallationForm& form);
    void CheckInside(const TInstallationForm& form, const LabelSpec& label, const TRect& r, const char* when);

    const CheckedFile& m_file;
    FindingList& m_findings;
    bool m_background_left_out = false;  // for an error: its absence is not another finding
};

}  // namespace automenu::tool
