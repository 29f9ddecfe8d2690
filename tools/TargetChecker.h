// Check's view of the files the menu opens: the entries' launch targets and
// the pictures, found and loaded as the menu finds and loads them.
#pragma once

#include <string>
#include <string_view>

#include "CheckedFile.h"
#include "FindingList.h"
#include "LabelSpec.h"

namespace automenu::tool {

// The error of a start-up that stops with `box_text`; for a picture of an
// extension the menu does not know, with the ones it knows and how to
// convert a picture.
std::string StartUpError(std::string_view box_text);

class TargetChecker {
public:
    TargetChecker(const CheckedFile& file, FindingList& findings) : m_file(file), m_findings(findings) {}

    void CheckLaunchTargets();
    // Loads the logo and the background picture; relative paths resolve
    // against the current directory, which must be the menu's.
    void ProbePictures();

private:
    void CheckFilePath(const LabelSpec& label);
    void CheckLinuxFilePath(const LabelSpec& label);
    // A target that is a link must be of a scheme desktops open; any other
    // must exist. False when it does not.
    bool CheckTarget(const LabelSpec& label, int line, const std::string& value, const char* what);

    const CheckedFile& m_file;
    FindingList& m_findings;
};

}  // namespace automenu::tool
