#include "TargetChecker.h"


#include "base/AsciiCase.h"
#include "base/Exceptions.h"
#include "config/ConfigurationPaths.h"
#include "config/TCustomIniFile.h"
#include "config/ValueRules.h"
#include "platform/ShellOpen.h"
#include "platform/HostSystem.h"
#include "ui/TApplication.h"
#include "ui/TFileFormatsList.h"
#include "ui/TIcon.h"
#include "ui/TPicture.h"

namespace automenu::tool {

namespace {

bool PathExists(const std::string& path) {
    return platform::host::KindOf(path) != platform::host::EntryKind::Missing;
}

// The checked file's reader behind the interface the path rules read through.
class CheckedIniFile final : public TCustomIniFile {
public:
    explicit CheckedIniFile(const ProfileReader& reader) : TCustomIniFile("AUTORUN.INF"), m_reader(reader) {}
    std::string ReadString(std::string_view s, std::string_view k, std::string_view d) override {
        return m_reader.ReadString(s, k, d);
    }

private:
    const ProfileReader& m_reader;
};

// Schemes every desktop opens out of the box: web pages, mail and files.
bool OpenedByDefault(std::string_view scheme) {
    for (std::string_view known : {"http", "https", "ftp", "mailto", "file"})
        if (EqualsIgnoringCase(scheme, known)) return true;
    return false;
}

}  // namespace

void TargetChecker::CheckLaunchTargets() {
    for (const LabelSpec& label : LabelSpecs()) {
        if (!label.clickable || label.number == 0 || !m_file.Shown(label)) continue;
        CheckFilePath(label);
        CheckLinuxFilePath(label);
    }
}

void TargetChecker::CheckFilePath(const LabelSpec& label) {
    const std::string& key = EntryFilePathKey(label.number);
    const int line = m_file.LineOf(label.Section(), key);
    if (!m_file.Present(label.Section(), key)) {
        m_findings.Add(Severity::Warning, line, label.what + " has no " + Quote(key) + ": a click opens \"0\"");
        return;
    }
    const std::string value = m_file.Value(label.Section(), key);
    if (value.empty()) {
        m_findings.Add(Severity::Warning, line,
                       label.what + " opens the menu's own folder (" + Quote(key) + " is empty)");
        return;
    }
    CheckTarget(label, line, value, "launch target ");
}

void TargetChecker::CheckLinuxFilePath(const LabelSpec& label) {
    const std::string& key = KeyOf(KeyId::EntryLinuxFilePath, label.number).key;
    if (!m_file.Present(label.Section(), key)) return;
    const int line = m_file.LineOf(label.Section(), key);
    const std::string value = m_file.Value(label.Section(), key);
    if (!GivesLinuxTarget(value)) {
        m_findings.Add(Severity::Note, line,
                       Quote(key) + " is " + Quote(value) + ": the Linux menu opens the entry's File Path");
        return;
    }
    if (!CheckTarget(label, line, value, "Linux target ")) return;
    if (!IsUrl(value) && platform::IsWindowsProgramName(value))
        m_findings.Add(
            Severity::Warning, line,
            "Linux target " + Quote(value) + " of " + label.what +
                " is a Windows program: the Linux menu hands it to the desktop's opener, which cannot run it");
}

bool TargetChecker::CheckTarget(const LabelSpec& label, int line, const std::string& value, const char* what) {
    if (const std::string_view scheme = UrlScheme(value); !scheme.empty()) {
        if (!OpenedByDefault(scheme))
            m_findings.Add(Severity::Warning, line,
                           what + Quote(value) + " of " + label.what + " is a \"" + std::string(scheme) +
                               ":\" link, which no desktop opens by default: only where a program for such links is "
                               "installed");
        return true;
    }
    // The target as the menu stores it, found as a click finds it.
    if (PathExists(MediaPath(LaunchFilePath(m_file.Directory(), value)))) return true;
    m_findings.Add(Severity::Warning, line, what + Quote(value) + " of " + label.what + " does not exist");
    return false;
}

std::string StartUpError(std::string_view box_text) {
    std::string error = "the menu stops at start-up with " + Quote(box_text);
    constexpr std::string_view kUnknown = "Unknown picture file extension (.";
    if (!box_text.starts_with(kUnknown)) return error;
    std::string extension(box_text.substr(kUnknown.size(), box_text.find(')') - kUnknown.size()));
    if (extension.empty()) extension = "webp";
    error += ": it shows pictures whose names end in";
    const std::vector<std::string> known = TFileFormatsList::Instance().Extensions();
    for (std::size_t i = 0; i < known.size(); ++i)
        error += std::string(i == 0 ? " ." : i + 1 == known.size() ? " or ." : ", .") + known[i];
    return error + "; save the picture as PNG, for instance with ImageMagick: \"convert picture." + extension +
           " picture.png\"";
}

void TargetChecker::ProbePictures() {
    // The use switch, directory and file name of each picture are rows in a row.
    struct Picture {
        KeyId use;
        bool icon;
    };
    for (const Picture& p : {Picture{KeyId::LogoUse, true}, Picture{KeyId::BackgroundUse, false}}) {
        const SchemaKey& use = KeyOf(p.use);
        const SchemaKey& directory = KeyOf(RowAfter(p.use, 1));
        const SchemaKey& name = KeyOf(RowAfter(p.use, 2));
        if (!IsYes(m_file.Value(use.section, use.key))) continue;
        CheckedIniFile ini(m_file.Reader());
        std::string buffer;
        const std::string path = MediaPath(PictureFilePath(ini, use.section, directory.key, name.key, buffer));
        try {
            if (p.icon) {
                TIcon icon;
                icon.LoadFromFile(path);
            } else {
                TPicture picture;
                picture.LoadFromFile(path);
            }
        } catch (const Exception& e) {
            m_findings.Add(Severity::Error, m_file.LineOf(name.section, name.key),
                           StartUpError(TApplication::ErrorText(e.Message())));
        }
    }
}

}  // namespace automenu::tool
