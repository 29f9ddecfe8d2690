// Plays metafile records into pixels with cairo.
#pragma once

#include <cairo.h>

#include "base/Types.h"
#include "formats/MetafileBits.h"
#include "platform/metafile/PlaybackBudget.h"

namespace automenu::platform {

// Plays the metafile with its frame mapped onto dest (right and bottom
// exclusive) into an image covering (0, 0) to `size`, transparent where
// nothing is drawn. `screen` is what the screen can show: no bitmap in the
// metafile larger than it is decoded. Unknown or damaged records end or skip
// playback, and so does the work budget; they never fail. `report`, when
// given, tells what the playback did.
PixelImage RenderMetafileImage(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen,
                               PlaybackReport* report = nullptr);

}  // namespace automenu::platform
