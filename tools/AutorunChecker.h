// Check's view of the [autorun] section, which Windows reads to start the
// medium (the menu never does): its keys, the files they name, and entries
// whose targets only Windows can run when the medium also offers the Linux
// menu.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CheckedFile.h"
#include "FindingList.h"

namespace automenu::tool {

inline constexpr std::string_view kAutorunSection = "autorun";
// The Windows menu, which `open=` names on a medium made for both systems.
inline constexpr std::string_view kWindowsMenuName = "automenu.exe";
// Windows shows a medium's label in at most this many characters.
inline constexpr std::size_t kMaxAutorunLabel = 32;

// The keys Windows reads from [autorun], spelt as documented.
const std::vector<std::string>& AutorunKeys();
bool IsAutorunKey(std::string_view key);  // ignoring case

// The file a value names: `open` without its arguments (a quoted program is
// taken up to its closing quote, else up to the first blank), `icon` without
// its ",N" icon index, any other key's value as it is.
std::string AutorunFileOf(std::string_view key, std::string_view value);

// What becomes of the Windows menu that `open=` names when it is not in the
// folder: check alone says pack adds it; pack says nothing when it adds it,
// and warns as for any missing file when it leaves it out (--no-windows).
enum class WindowsMenuComing { ByPack, Added, LeftOut };

class AutorunChecker {
public:
    AutorunChecker(const CheckedFile& file, FindingList& findings,
                   WindowsMenuComing windows_menu = WindowsMenuComing::ByPack)
        : m_file(file), m_findings(findings), m_windows_menu(windows_menu) {}

    void Run();

private:
    void CheckNamedFiles();
    // Whether the medium offers the Linux menu besides the Windows one.
    bool OffersLinuxMenu() const;
    void CheckWindowsOnlyTargets();

    const CheckedFile& m_file;
    FindingList& m_findings;
    WindowsMenuComing m_windows_menu;
};

}  // namespace automenu::tool
