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
//
// Lines, fills, clipping and bitmap edges are drawn on whole pixels, as the
// GDI draws them, unless `edges` asks for smooth ones (a scaled window, where
// a metafile is drawn at a resolution the GDI never drew it at). Text is
// always smoothed in grey.
enum class MetafileEdges { Aliased, Smooth };
PixelImage RenderMetafileImage(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen,
                               PlaybackReport* report = nullptr, MetafileEdges edges = MetafileEdges::Aliased);

}  // namespace automenu::platform
