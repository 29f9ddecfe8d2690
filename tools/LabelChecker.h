// Check's view of the labels the menu shows: their sections, captions,
// appearance keys, and the fonts they name.
#pragma once

#include "CheckedFile.h"
#include "FindingList.h"

namespace automenu::tool {

class LabelChecker {
public:
    LabelChecker(const CheckedFile& file, FindingList& findings) : m_file(file), m_findings(findings) {}

    void CheckLabels();
    // One note per face name that is drawn with another, at its first use.
    void CheckFonts();
    // A warning for each shown caption with characters that no installed
    // font has, naming their scripts.
    void CheckScripts();

private:
    void CheckAppearance(const LabelSpec& label, const LabelKeys& keys, int line, bool hover);

    const CheckedFile& m_file;
    FindingList& m_findings;
};

}  // namespace automenu::tool
