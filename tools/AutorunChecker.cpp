#include "AutorunChecker.h"


#include "LabelSpec.h"
#include "base/AsciiCase.h"
#include "config/ValueRules.h"
#include "menu/SettingsPass.h"
#include "platform/ShellOpen.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

namespace {

bool PathExists(const std::string& path) {
    return platform::host::KindOf(path) != platform::host::EntryKind::Missing;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The last component of a path written with either separator.
std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

const std::vector<std::string>& AutorunKeys() {
    static const std::vector<std::string> keys = {"open", "icon", "label", "action", "shellexecute", "UseAutoPlay"};
    return keys;
}

bool IsAutorunKey(std::string_view key) {
    for (const std::string& k : AutorunKeys())
        if (EqualsIgnoringCase(k, key)) return true;
    return false;
}

std::string AutorunFileOf(std::string_view key, std::string_view value) {
    value = Trimmed(value);
    if (EqualsIgnoringCase(key, "open")) {
        if (value.starts_with('"')) {
            const std::size_t close = value.find('"', 1);
            return std::string(value.substr(1, close == std::string_view::npos ? close : close - 1));
        }
        return std::string(value.substr(0, value.find_first_of(" \t")));
    }
    if (EqualsIgnoringCase(key, "icon")) {
        const std::size_t comma = value.rfind(',');
        if (comma != std::string_view::npos) {
            std::string_view index = Trimmed(value.substr(comma + 1));
            if (index.starts_with('-')) index.remove_prefix(1);
            if (!index.empty() && index.find_first_not_of("0123456789") == std::string_view::npos)
                return std::string(Trimmed(value.substr(0, comma)));
        }
    }
    return std::string(value);
}

void AutorunChecker::Run() {
    if (m_file.Section(kAutorunSection)) CheckNamedFiles();
    if (OffersLinuxMenu()) CheckWindowsOnlyTargets();
}

void AutorunChecker::CheckNamedFiles() {
    for (std::string_view key : {"open", "icon", "shellexecute"}) {
        if (!m_file.Present(kAutorunSection, key)) continue;
        const int line = m_file.LineOf(kAutorunSection, key);
        const std::string value = m_file.Value(kAutorunSection, key);
        const std::string named = AutorunFileOf(key, value);
        if (named.empty()) {
            m_findings.Add(Severity::Warning, line,
                           "key " + Quote(key) + " in [autorun] names no file: Windows has nothing to use");
            continue;
        }
        if (key == "shellexecute" && IsUrl(named)) continue;
        if (PathExists(MediaPath(m_file.Directory() + "/" + named))) continue;
        if (key == "open" && EqualsIgnoringCase(named, kWindowsMenuName) &&
            m_windows_menu != WindowsMenuComing::LeftOut) {
            // A folder still to be packed: the pack command puts the menu there.
            if (m_windows_menu == WindowsMenuComing::Added) continue;
            m_findings.Add(
                Severity::Note, line,
                Quote(named) + " is not here yet: \"automenu-tool pack\" puts the Windows menu on the medium");
            continue;
        }
        m_findings.Add(
            Severity::Warning, line,
            "file " + Quote(named) + " named by " + Quote(key) + " in [autorun] does not exist on the medium");
    }
}

bool AutorunChecker::OffersLinuxMenu() const {
    if (m_file.Present(kAutorunSection, "open") &&
        EqualsIgnoringCase(BaseName(AutorunFileOf("open", m_file.Value(kAutorunSection, "open"))), kWindowsMenuName))
        return true;
    return PathExists(m_file.Directory() + "/autorun.sh");
}

void AutorunChecker::CheckWindowsOnlyTargets() {
    for (const LabelSpec& label : LabelSpecs()) {
        if (!label.clickable || label.number == 0 || !m_file.Shown(label)) continue;
        const std::string& key = EntryFilePathKey(label.number);
        if (!m_file.Present(label.Section(), key)) continue;
        const std::string value = m_file.Value(label.Section(), key);
        if (IsUrl(value) || !platform::IsWindowsProgramName(value)) continue;
        const std::string& linux_key = KeyOf(KeyId::EntryLinuxFilePath, label.number).key;
        if (m_file.Present(label.Section(), linux_key) && GivesLinuxTarget(m_file.Value(label.Section(), linux_key)))
            continue;
        m_findings.Add(Severity::Warning, m_file.LineOf(label.Section(), key),
                       "launch target " + Quote(value) + " of " + label.what +
                           " runs only on Windows: the Linux menu of this medium hands it to the desktop's opener; "
                           "give Linux a target of its own with " + Quote(linux_key));
    }
}

}  // namespace automenu::tool
