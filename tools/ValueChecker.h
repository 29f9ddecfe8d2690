// Check's view of the values the menu reads: switches, directories, colours
// and integers that do not say what their author meant, and keys behind a
// closed gate.
#pragma once

#include <string>

#include "CheckedFile.h"
#include "FindingList.h"

namespace automenu::tool {

class ValueChecker {
public:
    ValueChecker(const CheckedFile& file, FindingList& findings) : m_file(file), m_findings(findings) {}

    void Run();

private:
    void CheckValues();
    void CheckSwitch(const SchemaKey& key, int line, const std::string& value);
    void CheckColour(const SchemaKey& key, int line, const std::string& value);
    void CheckInteger(const SchemaKey& key, int line, const std::string& value);
    void CheckGates();

    const CheckedFile& m_file;
    FindingList& m_findings;
};

}  // namespace automenu::tool
