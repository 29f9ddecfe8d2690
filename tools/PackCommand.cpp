#include "PackCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "AutorunChecker.h"
#include "AutorunSection.h"
#include "CheckCommand.h"
#include "CheckedFile.h"
#include "IsoImage.h"
#include "MediumWriter.h"
#include "MenuPrograms.h"
#include "ResolvedPath.h"
#include "SourceTree.h"
#include "StagingFolder.h"
#include "ToolCommand.h"
#include "base/AsciiCase.h"
#include "config/ConfigurationPaths.h"
#include "platform/ProfileReader.h"
#include "platform/StopSignals.h"
#include "platform/HostSystem.h"

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
#
# The medium's path may hold any character: it is always quoted, never taken
# through $(...) (which drops trailing newlines), never read as an option,
# and never looked up in CDPATH.

unset CDPATH
case $0 in
*/*) root=${0%/*} ;;
*) root=. ;;
esac
case $root in
/*) ;;
'') root=/ ;;
*) root=./$root ;;
esac
cd -P -- "$root" || exit 1
root=$PWD
menu=$root/automenu

copy=
child=
# Stopped itself (the session ends, the terminal closes, the user interrupts
# or ends it): ends the menu, removes the private copy, and ends by the same
# signal.
stop() {
    trap - "$1"
    [ -z "$child" ] || kill -s TERM "$child" 2>/dev/null
    [ -z "$copy" ] || rm -rf -- "$copy"
    kill -s "$1" "$$"
    exit 1
}
for signal in HUP INT QUIT PIPE ALRM TERM USR1 USR2; do
    trap "stop $signal" "$signal"
done

# Runs the menu and waits for it. Fails only when it could not start at all
# (126: not executable here, 127: not loadable), not when it ends with an
# error it has shown. The menu runs in the background so that a signal to
# this script is handled at once, not only when the menu ends.
start() {
    "$1" &
    child=$!
    wait "$child"
    status=$?
    child=
    [ "$status" -ne 126 ] && [ "$status" -ne 127 ]
}

case $(uname -m) in
x86_64 | amd64)
    if [ -f "$menu" ]; then
        if [ -x "$menu" ] && start "$menu"; then exit 0; fi
        # Nothing on a FAT stick is executable, and some media are mounted so
        # that nothing on them runs: a private copy runs instead, from an
        # absolute folder only (a relative one would be on the medium).
        for dir in "${XDG_RUNTIME_DIR:-}" "${TMPDIR:-/tmp}" "${HOME:+$HOME/.cache}"; do
            case $dir in /*) ;; *) continue ;; esac
            [ -d "$dir" ] && [ -w "$dir" ] || continue
            mkdir -m 700 -- "$dir/automenu.$$" 2>/dev/null || continue
            copy=$dir/automenu.$$
            if cp -- "$menu" "$copy/automenu" && chmod 700 -- "$copy/automenu" && start "$copy/automenu"; then
                rm -rf -- "$copy"
                exit 0
            fi
            rm -rf -- "$copy"
            copy=
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

constexpr platform::FileMode kPlain = 0644;
constexpr platform::FileMode kRunnable = 0755;

// The medium's AUTORUN.INF: the author's, with the [autorun] section added
// when it has none. `label` receives the medium's [autorun] label.
std::optional<std::string> WriteConfiguration(const SourceEntry& entry, const std::string& shown,
                                              const MediumWriter& medium, std::string& label) {
    std::string bytes;
    const platform::FileReadStatus status =
        platform::host::ReadWholeFile(platform::host::Utf8Of(entry.from), ProfileReader::kMaxFileBytes, bytes);
    if (status == platform::FileReadStatus::CannotOpen) return shown + " cannot be read";
    if (status == platform::FileReadStatus::TooLarge) {
        // Beyond what the menu reads: copied, not rewritten.
        Say(entry.path + ": larger than the menu reads, copied as it is, without an [autorun] section");
        return medium.Copy(entry.from, shown, entry.path, kPlain);
    }
    std::string written = bytes;
    const CheckedFile file(platform::host::Utf8Of(entry.from.parent_path()),
                           ProfileReader::FromBytes(bytes, platform::host::LocaleCodePage()));
    if (HasAutorunSection(file)) {
        if (file.Present(kAutorunSection, "label")) label = file.Value(kAutorunSection, "label");
        Say(entry.path + ": has an [autorun] section, kept as it is");
    } else {
        const AutorunValues values = AutorunValuesFor(file);
        if (const std::optional<std::string> with = WithAutorunSection(bytes, values)) {
            written = *with;
            label = values.label;
            Say(entry.path + ": [autorun] section added, for Windows to start automenu.exe");
        } else {
            Say(entry.path + ": its UTF-16 text ends in half a character; no [autorun] section added");
        }
    }
    return medium.Write(entry.path, written, kPlain);
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
std::optional<std::string> FindMenu(MenuPlatform platform, const std::string& given,
                                    const std::string& tool_directory) {
    const MenuProgram& menu = MenuProgramFor(platform);
    const std::vector<std::string> candidates =
        given.empty() ? MenuCandidates(platform, tool_directory) : std::vector<std::string>{given};
    for (const std::string& path : candidates)
        if (!MenuProblem(platform, path)) return platform::host::Utf8Of(platform::host::PathOf(path).lexically_normal());
    Fail(MenuSearchError(menu, candidates, !given.empty()));
    return std::nullopt;
}

// The file of licence notices, or nothing after saying why there is none.
std::optional<std::string> FindNotices(const std::string& tool_directory) {
    const std::vector<std::string> candidates = NoticesCandidates(tool_directory);
    std::string message = "the licence notices " + std::string(kNoticesName) + " are not where the tool looks:";
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (fs::is_regular_file(platform::host::PathOf(path), ec)) return platform::host::Utf8Of(platform::host::PathOf(path).lexically_normal());
        message += "\n  " + path + ": not found";
    }
    Fail(message + "\ngive --no-notices for a medium without them");
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
    if (!options.volume_label.empty()) return options.volume_label;
    if (std::string label = VolumeLabelOf(autorun_label); !label.empty()) return label;
    const std::string label = VolumeLabelOf(platform::host::Utf8Of(output.filename()));
    return label.empty() ? "AUTOMENU" : label;
}

bool Stopped() { return platform::StopSignals::Caught() != 0; }

// A failure, said unless a signal stopped the pack: the tool then says once
// why it stopped.
int Failed(const std::string& problem) { return Stopped() ? 1 : Fail(problem); }

// A folder as messages name it: as given, without trailing slashes.
std::string Shown(std::string folder) {
    constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == kSeparator)) folder.pop_back();
    return folder;
}

int Usage() {
    std::fputs(
        "usage: automenu-tool pack SOURCE OUTPUT [--iso FILE] [--volume-label NAME]\n"
        "         [--windows-menu FILE | --no-windows] [--linux-menu FILE | --no-linux] [--ignore-errors]\n"
        "         [--keep PATH]... [--leave-out PATH]... [--follow-links] [--no-notices]\n",
        stderr);
    return kUsageError;
}

// Where pack reads and writes, every link followed: the author's folder, the
// medium and the image must not overlap, and the image must not replace a
// menu it puts on the medium. The reason when they do.
struct Places {
    fs::path source;
    fs::path output;
    std::optional<fs::path> iso;
};

std::optional<std::string> PlacesProblem(const PackOptions& options, Places& places) {
    const std::pair<const std::string*, fs::path*> paths[] = {
        {&options.source, &places.source}, {&options.output, &places.output}};
    for (const auto& [given, resolved] : paths) {
        const std::optional<fs::path> path = ResolvedPath(platform::host::PathOf(*given));
        if (!path) return *given + " leads through a loop of links";
        *resolved = *path;
    }
    if (options.iso && !(places.iso = ResolvedPath(platform::host::PathOf(*options.iso))))
        return *options.iso + " leads through a loop of links";
    std::error_code ec;
    if (!fs::is_directory(places.source, ec)) return options.source + " is not a folder";
    if (Within(places.output, places.source))
        return "the medium " + options.output + " cannot be made inside " + options.source;
    if (fs::exists(places.output, ec) && !(fs::is_directory(places.output, ec) && fs::is_empty(places.output, ec)))
        return options.output + " exists and is not an empty folder: remove it or name another";
    if (!places.iso) return std::nullopt;
    const std::string image = "the image " + *options.iso;
    if (Within(*places.iso, places.source))
        return image + " cannot be written inside " + options.source + ", whose files pack does not change";
    if (Within(*places.iso, places.output)) return image + " cannot be written inside the medium it holds";
    if (Within(places.output, *places.iso) || fs::is_directory(*places.iso, ec)) return image + " names a folder";
    return std::nullopt;
}

// What pack found before writing anything.
struct MediumPlan {
    const PackOptions& options;
    const Places& places;
    const SourceTree& tree;
    const SourceEntry* configuration;
    std::optional<std::string> windows_menu;
    std::optional<std::string> linux_menu;
    std::optional<std::string> notices;
    std::string source_shown;
    std::string output_shown;
};

// Writes the medium aside and puts it in place whole, with its image. The
// status; when a signal stops it, nothing is left.
int WriteMedium(const MediumPlan& plan) {
    const auto& [options, places, tree, configuration, windows_menu, linux_menu, notices, source_shown, output_shown] =
        plan;
    StagingFolder staged(places.output, output_shown);
    if (const std::optional<std::string> problem = staged.Make()) return Failed(*problem);
    const MediumWriter medium(staged.Path(), output_shown, Stopped);
    std::error_code unused;
    fs::permissions(staged.Path(), static_cast<fs::perms>(kRunnable), fs::perm_options::replace, unused);
    // An author's launcher kept in place of the tool's is what desktops run.
    const bool own_script = options.linux && !tree.Adds(kScriptName);
    std::string autorun_label;
    std::size_t files = 0;
    for (const SourceEntry& entry : tree.Entries()) {
        const std::string shown = source_shown + "/" + entry.path;
        const bool launcher = own_script && EqualsIgnoringCase(entry.path, kScriptName);
        std::optional<std::string> problem;
        if (&entry == configuration) problem = WriteConfiguration(entry, shown, medium, autorun_label);
        else if (entry.folder) problem = medium.Folder(entry.path, kRunnable);
        else problem = medium.Copy(entry.from, shown, entry.path, entry.runnable || launcher ? kRunnable : kPlain);
        if (problem) return Failed(*problem);
        if (!entry.folder) ++files;
        if (launcher) {
            Say(entry.path + ": the author's own, kept" +
                (entry.path == kScriptName ? "" : "; desktops start only autorun.sh, in lower case"));
        }
    }
    Say(platform::host::Utf8Of(places.output) + ": " + std::to_string(files) + " files of " + platform::host::Utf8Of(places.source));

    for (const auto& [menu, platform] :
         {std::pair{windows_menu, MenuPlatform::Windows}, {linux_menu, MenuPlatform::Linux}}) {
        const MenuProgram& program = MenuProgramFor(platform);
        if (!menu || !tree.Adds(program.name)) continue;
        if (const std::optional<std::string> problem = medium.Copy(
                platform::host::PathOf(*menu), *menu, std::string(program.name), platform == MenuPlatform::Linux ? kRunnable : kPlain))
            return Failed(*problem);
        Say(std::string(program.name) + ": " + std::string(program.what) + ", from " + *menu);
    }
    if (notices && tree.Adds(kNoticesName)) {
        if (const std::optional<std::string> problem =
                medium.Copy(platform::host::PathOf(*notices), *notices, std::string(kNoticesName), kPlain))
            return Failed(*problem);
        Say(std::string(kNoticesName) + ": the licences of the menus, from " + *notices);
    }
    if (options.linux && !own_script) {
        if (const std::optional<std::string> problem =
                medium.Write(std::string(kScriptName), kAutorunScript, kRunnable))
            return Failed(*problem);
        Say(std::string(kScriptName) + ": starts the Linux menu when the desktop offers to run it");
    }

    std::optional<StagingFolder> staged_image;
    fs::path image;
    std::string label;
    if (places.iso) {
        staged_image.emplace(*places.iso, *options.iso);
        if (const std::optional<std::string> problem = staged_image->Make()) return Failed(*problem);
        image = staged_image->Path() / "image.iso";
        label = ImageLabel(options, places.output, autorun_label);
        if (const std::optional<std::string> problem = WriteIsoImage(staged.Path(), image, label, *options.iso, Stopped))
            return Failed(*problem);
    }
    std::error_code ec;
    const auto image_size = places.iso ? fs::file_size(image, ec) : 0;
    if (Stopped()) return 1;
    if (const std::optional<std::string> problem = staged.Commit(staged.Path())) return Failed(*problem);
    if (staged_image) {
        // Stopped between the two, the medium goes again.
        if (Stopped()) {
            staged.Withdraw();
            return 1;
        }
        if (const std::optional<std::string> problem = staged_image->Commit(image)) {
            staged.Withdraw();
            return Failed(*problem);
        }
        Say(places.iso->string() + ": ISO 9660 image with Rock Ridge and Joliet, volume label \"" + label + "\", " +
            std::to_string((image_size + 512 * 1024) / (1024 * 1024)) + " MiB");
    }
    return 0;
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
    Places places;
    if (const std::optional<std::string> problem = PlacesProblem(options, places)) return Fail(*problem);
    if (!options.volume_label.empty() && !ValidVolumeLabel(options.volume_label))
        return Fail("volume label \"" + options.volume_label +
                    "\": at most 32 letters, digits, blanks and the characters _ - .");
    if (!options.windows && !options.linux)
        return Fail("--no-windows and --no-linux leave no menu to put on the medium");

    std::optional<std::string> windows_menu, linux_menu;
    if (options.windows && !(windows_menu = FindMenu(MenuPlatform::Windows, options.windows_menu, tool_directory)))
        return 1;
    if (options.linux && !(linux_menu = FindMenu(MenuPlatform::Linux, options.linux_menu, tool_directory))) return 1;
    std::optional<std::string> notices;
    if (options.notices && !(notices = FindNotices(tool_directory))) return 1;
    for (const std::optional<std::string>& menu : {windows_menu, linux_menu, notices}) {
        if (menu && places.iso && ResolvedPath(platform::host::PathOf(*menu)) == places.iso)
            return Fail("the image " + *options.iso + " would replace " + *menu + ", which goes on the medium");
    }

    // Everything that stops the pack is found before anything is written.
    const std::string source_shown = Shown(options.source);
    const std::string output_shown = Shown(options.output);
    SourceRules rules{{}, options.keep, options.leave_out, options.follow_links};
    if (options.windows) rules.added.emplace_back(MenuProgramFor(MenuPlatform::Windows).name);
    if (options.linux) {
        rules.added.emplace_back(MenuProgramFor(MenuPlatform::Linux).name);
        rules.added.emplace_back(kScriptName);
    }
    if (options.notices) rules.added.emplace_back(kNoticesName);
    const SourceTree tree(places.source, source_shown, rules);
    if (!tree.Problems().empty()) {
        for (const std::string& problem : tree.Problems()) Fail(problem);
        if (tree.HasCollisions())
            Fail("give --keep PATH for the one to put on the medium, or --leave-out PATH for one to leave off (PATH "
                 "within " + source_shown + ")");
        return Fail("nothing written");
    }
    const SourceEntry* configuration = tree.TopEntryIgnoringCase(kConfigurationFileName);

    // The menu must work before it goes on a medium.
    const CheckReport report =
        CheckDirectory(platform::host::Utf8Of(places.source), configuration ? configuration->path : std::string(),
                       tree.Adds(kWindowsMenuName) ? WindowsMenuComing::Added : WindowsMenuComing::LeftOut);
    std::fputs(FormatText(report).c_str(), stdout);
    if (report.Count(Severity::Error) > 0) {
        if (!options.ignore_errors)
            return Fail("check found errors in " + report.file +
                        ": fix them, or give --ignore-errors to pack it as it is");
        Say("packing it with its errors (--ignore-errors)");
    }
    if (!configuration || configuration->folder) return Fail(options.source + " has no AUTORUN.INF");
    for (const std::string& note : tree.Notes()) Say(note);

    // From here on, the signals that end the tool from outside are only
    // noted: what was written goes, then the tool ends by the signal.
    const platform::StopSignals stop;
    const int status = WriteMedium(
        {options, places, tree, configuration, windows_menu, linux_menu, notices, source_shown, output_shown});
    if (const int signal = platform::StopSignals::Caught()) {
        if (status != 0) Fail(std::string("stopped by ") + platform::StopSignals::Name(signal) + ": nothing written");
        stop.EndByCaught();
    }
    return status;
}

int RunPack(CommandArguments args) {
    PackOptions options;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool has_value = i + 1 < args.size();
        if (a == "--iso" && has_value) options.iso = std::string(args[++i]);
        else if (a == "--volume-label" && has_value) options.volume_label = std::string(args[++i]);
        else if (a == "--windows-menu" && has_value) options.windows_menu = std::string(args[++i]);
        else if (a == "--linux-menu" && has_value) options.linux_menu = std::string(args[++i]);
        else if (a == "--no-windows") options.windows = false;
        else if (a == "--no-linux") options.linux = false;
        else if (a == "--ignore-errors") options.ignore_errors = true;
        else if (a == "--no-notices") options.notices = false;
        else if (a == "--keep" && has_value) options.keep.emplace_back(args[++i]);
        else if (a == "--leave-out" && has_value) options.leave_out.emplace_back(args[++i]);
        else if (a == "--follow-links") options.follow_links = true;
        else if (!a.starts_with("-") && folders.size() < 2) folders.emplace_back(a);
        else return Usage();
    }
    if (folders.size() != 2) return Usage();
    if ((!options.windows && !options.windows_menu.empty()) || (!options.linux && !options.linux_menu.empty()))
        return Usage();
    if (!options.iso && !options.volume_label.empty()) return Usage();
    options.source = folders[0];
    options.output = folders[1];
    return Pack(options, OwnDirectory());
}

}  // namespace automenu::tool
