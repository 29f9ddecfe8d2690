// Paths built by a pass: the configuration file's (ConfigurationFilePath),
// a picture's from a directory key and a file-name key (PictureFilePath) and
// an entry's launch target (LaunchFilePath).
//
// A pass keeps one path buffer: ConfigurationFilePath fills it and the
// start-up pass then reuses it for the logo icon and the background picture,
// so a "NOW" whose directory query fails leaves the previous path in place.
// The buffer is an unbounded string: directories of any length work.
//
// Windows style joins with "\" and treats a directory text of at most three
// characters (a drive root such as D:\) as already ending in a separator.
// POSIX style joins with "/" and treats an empty directory or one that ends
// in "/" that way. Each system's file system says which is its own, and
// finds AUTORUN.INF where only the case of its name differs.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace automenu {

class TCustomIniFile;

using platform::PathStyle;

// The style of the platform back end's file system.
PathStyle NativePathStyle();

inline constexpr std::string_view kConfigurationFileName = "AUTORUN.INF";

// Where passes get the current directory from: a function that gives it, or
// "" when it cannot be determined. Without one installed, the platform back
// end is asked.
using CurrentDirectorySource = std::function<std::string()>;
std::string QueryCurrentDirectory();

// Installs a current-directory source for the lifetime of this object.
class ScopedCurrentDirectorySource {
public:
    explicit ScopedCurrentDirectorySource(CurrentDirectorySource source);
    ~ScopedCurrentDirectorySource();
    ScopedCurrentDirectorySource(const ScopedCurrentDirectorySource&) = delete;
    ScopedCurrentDirectorySource& operator=(const ScopedCurrentDirectorySource&) = delete;

private:
    CurrentDirectorySource m_previous;
};

// The path buffer holds the configuration file's path: the current directory
// joined with AUTORUN.INF, or the bare name when the directory is unknown.
const std::string& ConfigurationFilePath(std::string& path_buffer, PathStyle style = NativePathStyle());

// Looks up the directory key, then the file-name key, of a section and leaves
// the picture's path in the buffer. A directory value of exactly "NOW" stands
// for the current directory (if that cannot be determined, the buffer keeps
// what it held); any other value replaces the buffer's text.
const std::string& PictureFilePath(TCustomIniFile& reader, std::string_view section, std::string_view directory_key,
                                   std::string_view file_key, std::string& path_buffer,
                                   PathStyle style = NativePathStyle());

// The directory (the current one, queried once for all targets), always one
// separator, then the value as it is; a value that is a URL (IsUrl) is the
// target by itself.
std::string LaunchFilePath(std::string_view directory, std::string_view value, PathStyle style = NativePathStyle());

}  // namespace automenu
