// A temporary folder that passes take as their current directory, with an
// AUTORUN.INF written by the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "config/ConfigurationPaths.h"

namespace automenu::testing {

class MenuFolder {
public:
    MenuFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "automenu-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
        m_source = std::make_unique<ScopedCurrentDirectorySource>([this] { return m_path; });
    }
    explicit MenuFolder(const std::string& autorun) : MenuFolder() { Write("AUTORUN.INF", autorun); }
    ~MenuFolder() {
        m_source.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    MenuFolder(const MenuFolder&) = delete;
    MenuFolder& operator=(const MenuFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(File(name), std::ios::binary) << content;
    }
    void Remove(const std::string& name) const { std::filesystem::remove(File(name)); }

private:
    std::string m_path;
    std::unique_ptr<ScopedCurrentDirectorySource> m_source;
};

}  // namespace automenu::testing
