// automenu-tool: helps authors of AUTORUN.INF files.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ToolCommand.h"
#include "platform/HostSystem.h"
#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"

namespace automenu::tool {
namespace {

const ToolCommand kCommands[] = {
    {"check", "[DIR] [--format text|json]", "report what the menu would make of DIR/AUTORUN.INF",
     "Reads DIR/AUTORUN.INF (DIR defaults to the current directory) with the menu's own\n"
     "lookup rules, runs the menu's start-up and mouse-move passes on an in-memory\n"
     "desktop, and reports, one finding a line:\n"
     "\n"
     "  AUTORUN.INF:LINE: error|warning|note: message\n"
     "\n"
     "errors    what stops the menu at start-up (with the message it would show),\n"
     "          and what fails at every mouse move over an entry;\n"
     "warnings  sections and keys the menu never reads, switches almost \"YES\",\n"
     "          colour names almost right, shown labels without caption or font,\n"
     "          launch targets that do not exist, labels outside the window,\n"
     "          entries that overlap; keys of [autorun] Windows does not know and\n"
     "          files its open, icon and shellexecute name that are not there;\n"
     "          entries that open programs only Windows runs, on a medium that\n"
     "          also offers the Linux menu;\n"
     "notes     keys behind a switch that is off or a count too low, fonts that\n"
     "          are not installed and what is drawn instead.\n"
     "\n"
     "Pictures and launch targets are found as the menu finds them: a name that\n"
     "differs only in case, or is written with \"\\\" between folders, still names\n"
     "the file.\n"
     "\n"
     "The last line counts them: \"N errors, M warnings\". --format json gives the\n"
     "same findings as one JSON object. Exit status: 1 when there is an error, else 0.\n",
     RunCheck},
    {"render", "[DIR] -o FILE.png [--hover entry:N|exit] [--scale S] [--error-box]",
     "draw the menu window as it looks after start-up",
     "Runs the menu in DIR (default: the current directory) on an in-memory desktop\n"
     "with the same pictures, fonts and layout, and writes the window's inner area\n"
     "to FILE.png. --hover entry:N (N = 1..8) or --hover exit draws it after a mouse\n"
     "move over that entry. --scale S (1 to 4, say 1.5 or 2) draws it as a desktop\n"
     "scaled by S shows it. --error-box draws instead the error box the menu shows\n"
     "at start-up (or, with --hover, at that mouse move), and fails when it shows\n"
     "none. When start-up fails, the menu's message is printed and the exit status\n"
     "is 1.\n",
     RunRender},
    {"get", "FILE SECTION KEY", "print the value the menu reads for a key (\"0\" when missing)",
     "Prints the value of KEY in SECTION of FILE exactly as the menu's lookup gives it:\n"
     "names match regardless of case, blanks around names and values are dropped, one\n"
     "pair of outer quotes is removed, and a missing file, section or key gives \"0\".\n",
     RunGet},
    {"keys", "", "list every section and key the menu reads",
     "Lists the 23 sections and 248 keys of AUTORUN.INF, each key with the kind of its\n"
     "value, when it is read, and what a missing key reads as. The eight \"Linux File\n"
     "Path\" keys are read by the Linux menu only, after all others.\n",
     RunKeys},
    {"template", "[DIR] [--force] [--encoding utf-16|utf-8|ansi]",
     "write a commented AUTORUN.INF for a menu with three entries",
     "Without DIR, prints a complete, commented AUTORUN.INF for a menu with a title,\n"
     "two lines of text, three entries (the first with a Linux File Path) and an exit\n"
     "entry. With DIR, writes it there together with the files it names (LOGO.ICO,\n"
     "BACK.PNG, README.TXT, which shows a web link entry, LICENSE.TXT), and an\n"
     "[autorun] section for Windows (open=automenu.exe, the logo as icon, the title\n"
     "as label), so that \"automenu-tool check DIR\" finds nothing to warn about.\n"
     "An existing AUTORUN.INF is kept unless --force is given. --encoding writes the\n"
     "file in UTF-16 (little-endian, with byte-order mark), which every PC and Windows\n"
     "itself read the same, in UTF-8 (without mark, as Notepad saves it), or in ASCII\n"
     "for an ANSI code page (ansi, the default).\n",
     RunTemplate},
    {"pack",
     "SOURCE OUTPUT [--iso FILE [--volume-label NAME]] [--windows-menu FILE | --no-windows]\n"
     "        [--linux-menu FILE | --no-linux] [--ignore-errors] [--keep PATH]... [--leave-out PATH]...\n"
     "        [--follow-links] [--no-notices]",
     "make a medium folder (and an ISO image) that starts the menu",
     "Copies the author's folder SOURCE to OUTPUT (which must not exist or be empty)\n"
     "and makes it a medium that starts the menu:\n"
     "\n"
     "  AUTORUN.INF   copied; when it has no [autorun] section, one is added at its\n"
     "                end (open=automenu.exe, the menu's logo as icon, the title as\n"
     "                label), in the file's own encoding and line ends\n"
     "  automenu.exe  the Windows menu, which Windows starts from [autorun]\n"
     "  automenu      the Linux menu\n"
     "  autorun.sh    what a Linux desktop offers to run when the medium is mounted;\n"
     "                it starts the Linux menu, also from a FAT stick where nothing\n"
     "                is executable, and opens the medium's folder when it cannot\n"
     "  automenu-licenses.txt\n"
     "                the licences of the menus: automenu's, and those of the\n"
     "                runtime parts the Windows menu carries (--no-notices leaves\n"
     "                it out, for a medium that carries its own)\n"
     "\n"
     "The menus are taken from beside the tool, and the Windows one also from\n"
     "../share/automenu/ (where the package installs it), and so are the notices;\n"
     "--windows-menu FILE and --linux-menu FILE name other menus, --no-windows and\n"
     "--no-linux leave one out.\n"
     "\n"
     "SOURCE is checked first, as by \"automenu-tool check\"; errors stop the pack\n"
     "unless --ignore-errors is given.\n"
     "\n"
     "Nothing in SOURCE changes. OUTPUT and the image are built aside and put in\n"
     "place at the end: a pack that fails leaves neither, and names the file and\n"
     "the cause; one stopped by a signal (Ctrl+C, the terminal closing) leaves\n"
     "neither, and ends by that signal. Before writing anything, pack stops at\n"
     "names a medium cannot tell apart (FAT, Joliet and Windows ignore case): two\n"
     "of the author's that differ only in case (README.TXT, readme.txt), or one\n"
     "named automenu.exe, automenu, autorun.sh or automenu-licenses.txt in any\n"
     "case, beside the tool's file: an author's file is never overwritten. --keep\n"
     "PATH puts PATH (within SOURCE) on the medium in place of the others, the\n"
     "tool's file among them; --leave-out PATH leaves it off. Both may be given\n"
     "more than once.\n"
     "\n"
     "A link is copied as the file it names. A link out of SOURCE stops the pack\n"
     "unless --follow-links is given; a link to a folder, to nothing or in a loop,\n"
     "and a device or pipe, always stop it.\n"
     "\n"
     "--iso FILE also writes an ISO 9660 image of OUTPUT with Rock Ridge (the Linux\n"
     "files keep their execute permission) and Joliet (long names on Windows),\n"
     "made by xorriso. FILE may not lie in SOURCE or OUTPUT. Its volume label is\n"
     "NAME, else the [autorun] label, else OUTPUT's name, in capitals, letters and\n"
     "digits, at most 32 characters.\n"
     "\n"
     "On Windows the image is made by the system's image mastering API (IMAPI2FS),\n"
     "where Windows has it, without Rock Ridge; and Windows keeps no execute\n"
     "permission in a folder. The Linux menu of such a medium is then not marked\n"
     "executable: autorun.sh runs a copy of it, as from a FAT stick, or copy the\n"
     "folder to the medium on Linux.\n",
     RunPack},
};

void PrintHelp(std::FILE* to) {
    std::fputs("usage: automenu-tool COMMAND [ARGUMENTS]\n       automenu-tool --help | --version\n\ncommands:\n", to);
    for (const ToolCommand& c : kCommands) {
        const std::string line = "  " + std::string(c.name) + (c.arguments.empty() ? "" : " ") +
                                 std::string(c.arguments) + "\n      " + std::string(c.summary) + "\n";
        std::fputs(line.c_str(), to);
    }
    std::fputs("\nautomenu-tool COMMAND --help explains one command; --version prints the version.\n", to);
}

void PrintCommandHelp(const ToolCommand& c) {
    const std::string text = "usage: automenu-tool " + std::string(c.name) + (c.arguments.empty() ? "" : " ") +
                             std::string(c.arguments) + "\n\n" + std::string(c.help);
    std::fputs(text.c_str(), stdout);
}

int Main(const std::vector<std::string>& arguments) {
    std::vector<std::string_view> words(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
    if (words.empty()) {
        PrintHelp(stderr);
        return kUsageError;
    }
    if (words[0] == "--version") {
        std::fputs("automenu-tool " AUTOMENU_VERSION "\n", stdout);
        return 0;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        if (words.size() == 2) {
            for (const ToolCommand& c : kCommands) {
                if (words[1] != c.name) continue;
                PrintCommandHelp(c);
                return 0;
            }
        }
        PrintHelp(stdout);
        return 0;
    }
    for (const ToolCommand& c : kCommands) {
        if (words[0] != c.name) continue;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (words[i] == "--help" || words[i] == "-h") {
                PrintCommandHelp(c);
                return 0;
            }
        }
        return c.run(CommandArguments(words).subspan(1));
    }
    const std::string message = "automenu-tool: unknown command '" + std::string(words[0]) + "'\n";
    std::fputs(message.c_str(), stderr);
    PrintHelp(stderr);
    return kUsageError;
}

}  // namespace
}  // namespace automenu::tool

int main(int argc, char** argv) {
    // The configuration code reaches files through a back end: the tool's
    // is the in-memory desktop, on which it also runs the menu.
    automenu::platform::HeadlessPlatform desktop;
    automenu::ScopedPlatform installed(desktop);
    return automenu::tool::Main(automenu::platform::host::ProgramArguments(argc, argv));
}
