// A temporary folder that passes take as their current directory, with an
// AUTORUN.INF written by the test.
#pragma once

#include <filesystem>
#include <string>

#include "config/ConfigurationPaths.h"
#include "TempDir.h"

namespace automenu::testing {

class MenuFolder : public TempDir {
public:
    MenuFolder() : m_source([this] { return Path(); }) {}
    explicit MenuFolder(const std::string& autorun) : MenuFolder() { Write("AUTORUN.INF", autorun); }

    std::string File(const std::string& name) const { return Join(name); }
    void Remove(const std::string& name) const { std::filesystem::remove(Join(name)); }

private:
    ScopedCurrentDirectorySource m_source;
};

}  // namespace automenu::testing
