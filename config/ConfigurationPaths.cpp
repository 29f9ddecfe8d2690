#include "config/ConfigurationPaths.h"

#include <utility>

#include "config/TCustomIniFile.h"
#include "config/ValueRules.h"
#include "platform/PlatformAccess.h"

namespace automenu {

namespace {

CurrentDirectorySource& Source() {
    static CurrentDirectorySource source;
    return source;
}

char Separator(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

// Whether a file name can follow the directory text without a separator.
bool EndsInSeparator(const std::string& directory, PathStyle style) {
    if (style == PathStyle::Windows) return directory.size() <= 3;
    return directory.empty() || directory.back() == '/';
}

void AppendSeparatorIfNeeded(std::string& directory, PathStyle style) {
    if (!EndsInSeparator(directory, style)) directory.push_back(Separator(style));
}

}  // namespace

PathStyle NativePathStyle() { return Platform().Files().Style(); }

std::string QueryCurrentDirectory() {
    if (const CurrentDirectorySource& source = Source()) return source();
    return Platform().Files().CurrentDirectory();
}

ScopedCurrentDirectorySource::ScopedCurrentDirectorySource(CurrentDirectorySource source)
    : m_previous(std::move(Source())) {
    Source() = std::move(source);
}

ScopedCurrentDirectorySource::~ScopedCurrentDirectorySource() { Source() = std::move(m_previous); }

const std::string& ConfigurationFilePath(std::string& path_buffer, PathStyle style) {
    const std::string directory = QueryCurrentDirectory();
    path_buffer = directory;
    AppendSeparatorIfNeeded(path_buffer, style);
    // A disc mounted on Linux may show the name in another case.
    path_buffer.append(Platform().Files().EntryName(directory, kConfigurationFileName));
    return path_buffer;
}

const std::string& PictureFilePath(TCustomIniFile& reader, std::string_view section, std::string_view directory_key,
                                   std::string_view file_key, std::string& path_buffer, PathStyle style) {
    const std::string directory = reader.LookUpSetting(section, directory_key);
    if (IsNow(directory)) {
        std::string current = QueryCurrentDirectory();
        if (!current.empty()) path_buffer = std::move(current);
    } else {
        path_buffer = directory;
    }
    AppendSeparatorIfNeeded(path_buffer, style);
    path_buffer.append(reader.LookUpSetting(section, file_key));
    return path_buffer;
}

std::string LaunchFilePath(std::string_view directory, std::string_view value, PathStyle style) {
    if (IsUrl(value)) return std::string(value);
    std::string target(directory);
    target.push_back(Separator(style));
    target.append(value);
    return target;
}

}  // namespace automenu
