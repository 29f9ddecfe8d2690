// Any bytes as a metafile file, enhanced or placeable Windows (the reader
// tells them apart), loaded and played into a small image; then screened as
// for a platform's own player, which must give a metafile the reader takes
// as it stands, and played again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/Exceptions.h"
#include "formats/MetafileReader.h"
#include "platform/cairo/MetafilePlayer.h"
#include "platform/metafile/MetafileScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    automenu::LoadedMetafile m;
    try {
        m = automenu::ReadMetafile({data, size});
    } catch (const automenu::Exception&) {
        return 0;
    }
    automenu::platform::RenderMetafileImage(m.bits, {0, 0, 63, 47}, {64, 48}, {1280, 1024});
    const automenu::MetafileBits screened =
        automenu::platform::ScreenMetafile(m.bits, {0, 0, 63, 47}, {64, 48}, {1280, 1024});
    if (screened.enhanced) {
        try {
            automenu::ReadMetafile(screened.records);
        } catch (const automenu::Exception&) {
            std::abort();  // the header does not agree with the records kept
        }
    }
    automenu::platform::RenderMetafileImage(screened, {0, 0, 63, 47}, {64, 48}, {1280, 1024});
    return 0;
}

// Metafile text loads fonts: fontconfig keeps its caches for the life of the
// process and frees them only in FcFini, which pango never calls.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
