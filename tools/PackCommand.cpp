#include "PackCommand.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "AutorunChecker.h"
#include "AutorunSection.h"
#include "ChildProcess.h"
#include "CheckCommand.h"
#include "CheckedFile.h"
#include "MenuPrograms.h"
#include "ToolCommand.h"
#include "base/AsciiCase.h"
#include "config/ConfigurationPaths.h"
#include "platform/ProfileReader.h"
#include "platform/posix/PathResolver.h"
#include "platform/posix/PosixFiles.h"

namespace automenu::tool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kScriptName = "autorun.sh";
constexpr std::size_t kMaxVolumeLabel = 32;

constexpr std::string_view kAutorunScript = R"sh(#!/bin/sh
# Starts the menu of this medium on Linux. When the medium is mounted the
# desktop asks the user, then runs this file with the medium's root as working
# directory; from a medium that marks nothing executable (a FAT stick) it runs
# it through /bin/sh. Written by "automenu-tool pack".

root=$(cd "$(dirname "$0")" 2>/dev/null && pwd) || root=$(pwd)
cd "$root" || exit 1
menu=$root/automenu

# Runs the menu and waits for it. Fails only when it could not start at all
# (126: not executable here, 127: not loadable), not when it ends with an
# error it has shown.
start() {
    "$1"
    status=$?
    [ "$status" -ne 126 ] && [ "$status" -ne 127 ]
}

case $(uname -m) in
x86_64 | amd64)
    if [ -f "$menu" ]; then
        if [ -x "$menu" ] && start "$menu"; then exit 0; fi
        # Nothing on a FAT stick is executable, and some media are mounted so
        # that nothing on them runs: a private copy runs instead.
        for dir in "${XDG_RUNTIME_DIR:-}" "${TMPDIR:-/tmp}" "${HOME:-}/.cache"; do
            [ -n "$dir" ] && [ -d "$dir" ] && [ -w "$dir" ] || continue
            copy=$(mktemp -d "$dir/automenu.XXXXXX" 2>/dev/null) || continue
            if cp "$menu" "$copy/automenu" && chmod 700 "$copy/automenu" && start "$copy/automenu"; then
                rm -rf "$copy"
                exit 0
            fi
            rm -rf "$copy"
        done
    fi
    ;;
esac

# No menu for this computer: show the medium's files instead.
if command -v xdg-open >/dev/null 2>&1; then exec xdg-open "$root"; fi
exec gio open "$root"
)sh";

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int Fail(const std::string& message) {
    std::fputs(("automenu-tool: " + message + "\n").c_str(), stderr);
    return 1;
}

bool WriteFile(const fs::path& path, std::string_view bytes, fs::perms mode) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) return false;
    }
    std::error_code ec;
    fs::permissions(path, mode, ec);
    return !ec;
}

// A configuration file, read as the menu reads it: up to the profile limit.
platform::FileReadStatus ReadConfiguration(const fs::path& path, std::string& bytes) {
    return platform::PosixReadFile(path.string(), ProfileReader::kMaxFileBytes, bytes);
}

// Whether `inner` is `outer` or lies within it.
bool Within(const fs::path& inner, const fs::path& outer) {
    const auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return o == outer.end() || (std::next(o) == outer.end() && o->empty());
}

fs::path Canonical(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::path(path).lexically_normal() : p;
}

constexpr fs::perms kPlain = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                             fs::perms::others_read;
constexpr fs::perms kRunnable = kPlain | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// Copies the author's folder. At the top level, the names in `left_out` (in
// lower case) are not copied: the medium gets its own file of that name.
class TreeCopy {
public:
    explicit TreeCopy(std::vector<std::string> left_out) : m_leftOut(std::move(left_out)) {}

    bool Copy(const fs::path& from, const fs::path& to, bool top) {
        std::error_code ec;
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(*it);
        if (ec) return Error(from, "cannot be read: " + ec.message());
        std::sort(entries.begin(), entries.end());
        for (const fs::directory_entry& entry : entries) {
            const std::string name = entry.path().filename().string();
            if (top && std::find(m_leftOut.begin(), m_leftOut.end(), FoldCase(name)) != m_leftOut.end()) {
                m_replaced.push_back(name);
                continue;
            }
            if (!CopyEntry(entry, to / name)) return false;
        }
        return true;
    }

    std::size_t Files() const { return m_files; }
    const std::vector<std::string>& Replaced() const { return m_replaced; }
    const std::string& Problem() const { return m_problem; }

private:
    bool CopyEntry(const fs::directory_entry& entry, const fs::path& to) {
        std::error_code ec;
        const fs::file_status status = fs::status(entry.path(), ec);  // a link counts as what it names
        if (fs::is_directory(status)) {
            if (entry.is_symlink(ec)) return Error(entry.path(), "is a link to a folder: put the folder itself there");
            if (!fs::create_directory(to, ec) && ec) return Error(to, "cannot be made: " + ec.message());
            fs::permissions(to, kRunnable, ec);
            return Copy(entry.path(), to, false);
        }
        if (!fs::is_regular_file(status)) {
            return Error(entry.path(), fs::exists(status) ? "is not a file or folder" : "is a link to nothing");
        }
        if (!fs::copy_file(entry.path(), to, fs::copy_options::overwrite_existing, ec))
            return Error(to, "cannot be written: " + ec.message());
        // Programs and scripts of the author keep running from the medium.
        const bool runnable = (status.permissions() & fs::perms::owner_exec) != fs::perms::none;
        fs::permissions(to, runnable ? kRunnable : kPlain, ec);
        ++m_files;
        return true;
    }

    bool Error(const fs::path& path, const std::string& what) {
        m_problem = path.string() + " " + what;
        return false;
    }

    std::vector<std::string> m_leftOut;
    std::vector<std::string> m_replaced;
    std::size_t m_files = 0;
    std::string m_problem;
};

// The medium's AUTORUN.INF: the author's, with the [autorun] section added
// when it has none. `label` receives the medium's [autorun] label.
bool WriteConfiguration(const fs::path& source, const fs::path& output, const std::string& name, std::string& label) {
    std::string bytes;
    const platform::FileReadStatus status = ReadConfiguration(source / name, bytes);
    if (status == platform::FileReadStatus::CannotOpen) {
        Fail("cannot read " + (source / name).string());
        return false;
    }
    std::error_code ec;
    if (status == platform::FileReadStatus::TooLarge) {
        // Beyond what the menu reads: copied, not rewritten.
        Say(name + ": larger than the menu reads, copied as it is, without an [autorun] section");
        if (fs::copy_file(source / name, output / name, fs::copy_options::overwrite_existing, ec)) return true;
        Fail("cannot write " + (output / name).string() + ": " + ec.message());
        return false;
    }
    std::string written = bytes;
    const CheckedFile file(source.string(), ProfileReader::FromBytes(bytes));
    if (HasAutorunSection(file)) {
        if (file.Present(kAutorunSection, "label")) label = file.Value(kAutorunSection, "label");
        Say(name + ": has an [autorun] section, kept as it is");
    } else {
        const AutorunValues values = AutorunValuesFor(file);
        if (const std::optional<std::string> with = WithAutorunSection(bytes, values)) {
            written = *with;
            label = values.label;
            Say(name + ": [autorun] section added, for Windows to start automenu.exe");
        } else {
            Say(name + ": its UTF-16 text ends in half a character; no [autorun] section added");
        }
    }
    if (WriteFile(output / name, written, kPlain)) return true;
    Fail("cannot write " + (output / name).string());
    return false;
}

std::string MenuSearchError(const MenuProgram& menu, const std::vector<std::string>& tried, bool flag_given) {
    std::string message = std::string(menu.what) + " " + std::string(menu.name) + " is " +
                          (flag_given ? "not usable: " : "not where the tool looks:");
    for (const std::string& path : tried) message += "\n  " + path + ": " + *MenuProblem(menu.platform, path);
    const std::string flag = menu.platform == MenuPlatform::Windows ? "windows" : "linux";
    message += "\ngive --" + flag + "-menu FILE, or --no-" + flag + " for a medium without it";
    return message;
}

// The menu's file, or nothing after saying why there is none.
std::optional<std::string> FindMenu(MenuPlatform platform, const std::string& given, const std::string& tool_directory) {
    const MenuProgram& menu = MenuProgramFor(platform);
    const std::vector<std::string> candidates =
        given.empty() ? MenuCandidates(platform, tool_directory) : std::vector<std::string>{given};
    for (const std::string& path : candidates)
        if (!MenuProblem(platform, path)) return fs::path(path).lexically_normal().string();
    Fail(MenuSearchError(menu, candidates, !given.empty()));
    return std::nullopt;
}

bool ValidVolumeLabel(std::string_view label) {
    if (label.empty() || label.size() > kMaxVolumeLabel) return false;
    return std::all_of(label.begin(), label.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.' || c == ' ';
    });
}

// The label of the image: the one asked for, else the medium's [autorun]
// label, else the folder's name.
std::string ImageLabel(const PackOptions& options, const fs::path& output, std::string_view autorun_label) {
    if (!options.volumeLabel.empty()) return options.volumeLabel;
    if (std::string label = VolumeLabelOf(autorun_label); !label.empty()) return label;
    const std::string label = VolumeLabelOf(output.filename().string());
    return label.empty() ? "AUTOMENU" : label;
}

int WriteImage(const fs::path& output, const fs::path& iso, const std::string& label) {
    // Rock Ridge keeps the Linux menu and autorun.sh executable (and makes
    // every file readable by all); Joliet gives Windows the long names.
    const ProgramRun run = RunProgram({"xorriso", "-as", "mkisofs", "-quiet", "-r", "-J", "-joliet-long", "-iso-level",
                                       "3", "-input-charset", "utf-8", "-V", label, "-o", iso.string(),
                                       output.string()});
    if (!run.started) return Fail("cannot run xorriso, which writes the image: install it (Debian: apt install xorriso)");
    if (run.status != 0) return Fail("xorriso could not write " + iso.string() + ":\n" + run.output);
    std::error_code ec;
    const auto size = fs::file_size(iso, ec);
    Say(iso.string() + ": ISO 9660 image with Rock Ridge and Joliet, volume label \"" + label + "\", " +
        std::to_string(ec ? 0 : (size + 512 * 1024) / (1024 * 1024)) + " MiB");
    return 0;
}

int Usage() {
    std::fputs("usage: automenu-tool pack SOURCE OUTPUT [--iso FILE] [--volume-label NAME]\n"
               "         [--windows-menu FILE | --no-windows] [--linux-menu FILE | --no-linux] [--ignore-errors]\n",
               stderr);
    return kUsageError;
}

}  // namespace

std::string AutorunScript() { return std::string(kAutorunScript); }

std::string VolumeLabelOf(std::string_view text) {
    std::string label;
    for (const char c : text) {
        if (label.size() == kMaxVolumeLabel) break;
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const bool kept = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        if (kept) label += upper;
        else if (!label.empty() && label.back() != '_') label += '_';
    }
    while (!label.empty() && label.back() == '_') label.pop_back();
    return label;
}

int Pack(const PackOptions& options, const std::string& tool_directory) {
    const fs::path source = Canonical(options.source);
    const fs::path output = Canonical(options.output);
    std::error_code ec;
    if (!fs::is_directory(source, ec)) return Fail(options.source + " is not a folder");
    if (Within(output, source)) return Fail("the medium " + options.output + " cannot be made inside " + options.source);
    if (fs::exists(output, ec) && !(fs::is_directory(output, ec) && fs::is_empty(output, ec)))
        return Fail(options.output + " exists and is not an empty folder: remove it or name another");
    if (options.iso && Within(Canonical(*options.iso), output))
        return Fail("the image " + *options.iso + " cannot be written inside the medium it holds");
    if (!options.volumeLabel.empty() && !ValidVolumeLabel(options.volumeLabel))
        return Fail("volume label \"" + options.volumeLabel +
                    "\": at most 32 letters, digits, blanks and the characters _ - .");
    if (!options.windows && !options.linux) return Fail("--no-windows and --no-linux leave no menu to put on the medium");

    std::optional<std::string> windows_menu, linux_menu;
    if (options.windows && !(windows_menu = FindMenu(MenuPlatform::Windows, options.windowsMenu, tool_directory)))
        return 1;
    if (options.linux && !(linux_menu = FindMenu(MenuPlatform::Linux, options.linuxMenu, tool_directory))) return 1;

    // The menu must work before it goes on a medium.
    const CheckReport report = CheckDirectory(source.string());
    std::fputs(FormatText(report).c_str(), stdout);
    if (report.Count(Severity::Error) > 0) {
        if (!options.ignoreErrors)
            return Fail("check found errors in " + report.file + ": fix them, or give --ignore-errors to pack it as it is");
        Say("packing it with its errors (--ignore-errors)");
    }
    const std::optional<std::string> configuration =
        platform::FindEntryIgnoringCase(source.string(), kConfigurationFileName);
    if (!configuration) return Fail(options.source + " has no AUTORUN.INF");

    std::vector<std::string> left_out = {FoldCase(*configuration)};
    if (options.windows) left_out.push_back(std::string(MenuProgramFor(MenuPlatform::Windows).name));
    if (options.linux) left_out.push_back(std::string(MenuProgramFor(MenuPlatform::Linux).name));
    const bool own_script = platform::FindEntryIgnoringCase(source.string(), kScriptName).has_value();
    fs::create_directories(output, ec);
    if (ec) return Fail("cannot make " + options.output + ": " + ec.message());
    fs::permissions(output, kRunnable, ec);
    TreeCopy copy(left_out);
    if (!copy.Copy(source, output, true)) return Fail(copy.Problem());
    std::string autorun_label;
    if (!WriteConfiguration(source, output, *configuration, autorun_label)) return 1;
    Say(output.string() + ": " + std::to_string(copy.Files() + 1) + " files of " + source.string());
    for (const std::string& name : copy.Replaced()) {
        if (FoldCase(name) != FoldCase(*configuration)) Say(name + ": the author's copy replaced by the tool's");
    }

    for (const auto& [menu, platform] : {std::pair{windows_menu, MenuPlatform::Windows}, {linux_menu, MenuPlatform::Linux}}) {
        if (!menu) continue;
        const MenuProgram& program = MenuProgramFor(platform);
        const fs::path to = output / program.name;
        if (!fs::copy_file(*menu, to, fs::copy_options::overwrite_existing, ec))
            return Fail("cannot copy " + *menu + " to " + to.string() + ": " + ec.message());
        fs::permissions(to, platform == MenuPlatform::Linux ? kRunnable : kPlain, ec);
        Say(std::string(program.name) + ": " + std::string(program.what) + ", from " + *menu);
    }
    if (options.linux) {
        if (own_script) {
            Say(std::string(kScriptName) + ": the author's own, kept");
        } else {
            if (!WriteFile(output / kScriptName, kAutorunScript, kRunnable))
                return Fail("cannot write " + (output / kScriptName).string());
            Say(std::string(kScriptName) + ": starts the Linux menu when the desktop offers to run it");
        }
    }
    if (options.iso) return WriteImage(output, Canonical(*options.iso), ImageLabel(options, output, autorun_label));
    return 0;
}

int RunPack(CommandArguments args) {
    PackOptions options;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool has_value = i + 1 < args.size();
        if (a == "--iso" && has_value) options.iso = std::string(args[++i]);
        else if (a == "--volume-label" && has_value) options.volumeLabel = std::string(args[++i]);
        else if (a == "--windows-menu" && has_value) options.windowsMenu = std::string(args[++i]);
        else if (a == "--linux-menu" && has_value) options.linuxMenu = std::string(args[++i]);
        else if (a == "--no-windows") options.windows = false;
        else if (a == "--no-linux") options.linux = false;
        else if (a == "--ignore-errors") options.ignoreErrors = true;
        else if (!a.starts_with("-") && folders.size() < 2) folders.emplace_back(a);
        else return Usage();
    }
    if (folders.size() != 2) return Usage();
    if ((!options.windows && !options.windowsMenu.empty()) || (!options.linux && !options.linuxMenu.empty())) return Usage();
    if (!options.iso && !options.volumeLabel.empty()) return Usage();
    options.source = folders[0];
    options.output = folders[1];
    return Pack(options, OwnDirectory());
}

}  // namespace automenu::tool
