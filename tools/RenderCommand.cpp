#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "MenuSimulation.h"
#include "ToolCommand.h"
#include "config/ConfigurationPaths.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

namespace {

int Usage() {
    std::fputs("usage: automenu-tool render [DIR] -o FILE.png [--hover entry:N|exit] [--error-box] [--scale S]\n",
               stderr);
    return kUsageError;
}

// A desktop scale factor: a number from 1 to 4 (1.25, 1.5, 2 ...).
bool ParseScale(std::string_view text, double& scale) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, scale, std::chars_format::fixed);
    return error == std::errc() && stop == end && scale >= 1.0 && scale <= 4.0;
}

void Report(const std::string& text) {
    const std::string line = "automenu-tool: " + text + "\n";
    std::fputs(line.c_str(), stderr);
}

}  // namespace

int RunRender(CommandArguments args) {
    std::string directory = ".";
    std::string output;
    std::string hover;
    double scale = 1.0;
    bool have_directory = false;
    bool error_box = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            output = std::string(args[++i]);
        } else if (args[i] == "--error-box") {
            error_box = true;
        } else if (args[i] == "--hover" && i + 1 < args.size()) {
            hover = std::string(args[++i]);
        } else if (args[i] == "--scale" && i + 1 < args.size()) {
            if (!ParseScale(args[++i], scale)) return Usage();
        } else if (!args[i].starts_with("-") && !have_directory) {
            directory = std::string(args[i]);
            have_directory = true;
        } else {
            return Usage();
        }
    }
    if (output.empty()) return Usage();
    int entry = 0;
    if (!hover.empty()) {
        if (hover.size() == 7 && hover.starts_with("entry:") && hover[6] >= '1' && hover[6] <= '8') {
            entry = hover[6] - '0';
        } else if (hover != "exit") {
            return Usage();
        }
    }
    // The output is written relative to where the tool was started, while the
    // menu runs in its own directory.
    if (const std::filesystem::path given = platform::host::PathOf(output); given.is_relative()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
        if (!ec) output = platform::host::Utf8Of(absolute);
    }
    if (platform::host::KindOf(directory) != platform::host::EntryKind::Directory) {
        Report("no such directory: " + directory);
        return 1;
    }
    if (!platform::host::FindEntry(directory, kConfigurationFileName)) {
        Report("no AUTORUN.INF in " + directory);
        return 1;
    }

    MenuSimulation menu(directory);
    // As the menu shows itself on a high-DPI desktop: the same layout, drawn
    // that much larger.
    menu.Desktop().SetScale(scale);
    if (error_box) {
        // The box of the first error: at start-up, or at the mouse move.
        auto failure = menu.StartUp();
        if (!failure && !hover.empty()) failure = entry ? menu.MoveOverEntry(entry) : menu.MoveOverExit();
        if (!failure) {
            Report("the menu shows no error box");
            return 1;
        }
        if (!menu.SaveErrorBoxPng(*failure, output)) {
            Report("cannot write " + output);
            return 1;
        }
        return 0;
    }
    if (auto failure = menu.StartUp()) {
        // As the menu shows it: the message in a box, then the program ends.
        Report("the menu stops at start-up: " + failure->box_text);
        return 1;
    }
    if (!hover.empty()) {
        TControl* control = entry ? static_cast<TControl*>(menu.Form()->InstallationMessageLabel(entry))
                                  : static_cast<TControl*>(menu.Form()->ExitLabel);
        if (!control->Visible()) {
            Report((entry ? "entry " + std::to_string(entry) : std::string("the exit entry")) + " is not shown");
            return 1;
        }
        auto failure = entry ? menu.MoveOverEntry(entry) : menu.MoveOverExit();
        if (failure) {
            Report("the mouse move fails: " + failure->box_text);
            return 1;
        }
    }
    // The window as the menu shows it once its error box is closed; a picture
    // that cannot be drawn is left out, and the run fails with its message.
    const auto failure = menu.Paint();
    if (!menu.SavePng(output)) {
        Report("cannot write " + output);
        return 1;
    }
    if (failure) {
        Report("the menu cannot draw its window: " + failure->box_text);
        return 1;
    }
    return 0;
}

}  // namespace automenu::tool
