// Check's view of the files the menu opens: the entries' launch targets and
// the pictures, found and loaded as the menu finds and loads them.
#pragma once

#include "CheckedFile.h"
#include "FindingList.h"

namespace automenu::tool {

class TargetChecker {
public:
    TargetChecker(const CheckedFile& file, FindingList& findings) : m_file(file), m_findings(findings) {}

    void CheckLaunchTargets();
    // Loads the logo and the background picture; relative paths resolve
    // against the current directory, which must be the menu's.
    void ProbePictures();

private:
    const CheckedFile& m_file;
    FindingList& m_findings;
};

}  // namespace automenu::tool
