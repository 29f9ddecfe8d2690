// Plays metafile records onto a cairo context.
#pragma once

#include <cairo.h>

#include "platform/MetafileBits.h"
#include "platform/Types.h"

namespace automenu::platform {

// Draws the metafile into dest (right and bottom exclusive). Unknown or
// damaged records end or skip playback; they never fail.
void PlayMetafileOnCairo(cairo_t* cr, const MetafileBits& metafile, const TRect& dest);

}  // namespace automenu::platform
