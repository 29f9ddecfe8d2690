#include <sys/stat.h>

#include "platform/HostSystem.h"
#include "platform/cairo/CairoPng.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PathResolver.h"
#include "platform/posix/PosixFiles.h"

namespace automenu::platform::host {

EntryKind KindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return EntryKind::Missing;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    return S_ISDIR(st.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

std::optional<std::string> FindEntry(const std::string& directory, std::string_view name) {
    return FindEntryIgnoringCase(directory, name);
}

FileReadStatus ReadWholeFile(const std::string& path, std::size_t max_bytes, std::string& bytes) {
    return PosixReadFile(path, max_bytes, bytes);
}

std::string ProgramPath() { return PosixProgramPath(); }

const CodePage& LocaleCodePage() { return platform::LocaleCodePage(); }

const CodePage& CodePageNumbered(unsigned number) { return CodePageFromIconv(number); }

std::vector<std::uint8_t> EncodePng(const PixelImage& image) { return EncodePngWithCairo(image); }

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace automenu::platform::host
