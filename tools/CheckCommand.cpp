#include "CheckCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "AutorunChecker.h"
#include "CheckedFile.h"
#include "EncodingChecker.h"
#include "FindingList.h"
#include "LabelChecker.h"
#include "LayoutChecker.h"
#include "PassChecker.h"
#include "TargetChecker.h"
#include "ToolCommand.h"
#include "ValueChecker.h"
#include "config/ConfigurationPaths.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

CheckReport CheckDirectory(const std::string& directory, const std::string& file_name_given,
                           WindowsMenuComing windows_menu) {
    CheckReport report;
    std::error_code ec;
    std::string absolute = platform::host::Utf8Of(std::filesystem::absolute(platform::host::PathOf(directory), ec).lexically_normal());
    if (ec) absolute = directory;
    while (absolute.size() > 1 && (absolute.back() == '/' || absolute.back() == '\\') && !absolute.ends_with(":\\"))
        absolute.pop_back();

    const std::optional<std::string> name = file_name_given.empty()
                                                ? platform::host::FindEntry(absolute, kConfigurationFileName)
                                                : std::optional<std::string>(file_name_given);
    const std::string file_name = name ? *name : std::string(kConfigurationFileName);
    // Joined as the system joins names: "\\" on Windows, which also reads "/".
    constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string shown_dir =
        directory == "." ? ""
                         : (directory.ends_with('/') || directory.ends_with(kSeparator) ? directory
                                                                                         : directory + kSeparator);
    report.file = shown_dir + file_name;
    const std::string path = absolute + "/" + file_name;
    // Read as the menu reads it: a longer file is cut at the profile limit.
    std::string bytes;
    const platform::FileReadStatus status = name ? platform::host::ReadWholeFile(path, ProfileReader::kMaxFileBytes, bytes)
                                                 : platform::FileReadStatus::CannotOpen;
    if (status == platform::FileReadStatus::CannotOpen) {
        std::error_code unused;
        report.findings.push_back(
            {Severity::Error, 0,
             name && platform::host::KindOf(path) == platform::host::EntryKind::File
                 ? "cannot read the file"
                 : "no AUTORUN.INF here: the menu would show the smallest captioned window, with nothing in it"});
        return report;
    }

    // The file's lines are checked as the reader reads them, once.
    FindingList findings;
    LayoutChecker layout(findings, IsUtf16(DetectTextEncoding(bytes)));
    const CheckedFile file(absolute, ProfileReader::FromBytes(bytes, platform::host::LocaleCodePage(),
                                                              [&](const IniLine& line) { layout.See(line); }));
    layout.Finish();
    EncodingChecker(file, bytes, findings).Run();
    ValueChecker(file, findings).Run();
    LabelChecker labels(file, findings);
    labels.CheckLabels();
    TargetChecker targets(file, findings);
    targets.CheckLaunchTargets();
    AutorunChecker(file, findings, windows_menu).Run();
    labels.CheckFonts();
    labels.CheckScripts();
    PassChecker(file, findings).Run(targets);
    report.findings = findings.TakeSorted();
    return report;
}

int RunCheck(CommandArguments args) {
    std::string directory = ".";
    bool json = false;
    bool have_directory = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size() && (args[i + 1] == "json" || args[i + 1] == "text")) {
            json = args[++i] == "json";
        } else if (args[i] == "--format=json" || args[i] == "--format=text") {
            json = args[i] == "--format=json";
        } else if (!args[i].starts_with("-") && !have_directory) {
            directory = std::string(args[i]);
            have_directory = true;
        } else {
            std::fputs("usage: automenu-tool check [DIR] [--format text|json]\n", stderr);
            return kUsageError;
        }
    }
    const CheckReport report = CheckDirectory(directory);
    const std::string out = json ? FormatJson(report) : FormatText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return report.Count(Severity::Error) > 0 ? 1 : 0;
}

}  // namespace automenu::tool
