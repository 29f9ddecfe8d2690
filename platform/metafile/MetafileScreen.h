// A metafile made fit for a platform's own player (GDI's PlayEnhMetaFile):
// it is played first here, without drawing, with the same interpretation,
// coordinate range and work budget as every back end, and what comes back
// holds only the records that playback drew or applied (or left to the
// platform: drawing modes it does not use), up to where it stopped. Records
// it refused, read past their sense or found too costly for a rasterizer that
// pays by a shape's whole size are left out; an object whose bitmap was
// refused is made as what it stands for.
#pragma once

#include "base/Types.h"
#include "formats/MetafileBits.h"
#include "platform/metafile/PlaybackBudget.h"

namespace automenu::platform {

// `dest`, `size` and `screen` as for ICanvas::RenderMetafile. The result has
// the same frame and header values as the metafile, its own record count
// and size, and an end-of-file record; an enhanced metafile's header keeps
// its first 88 bytes (no description, no extensions).
MetafileBits ScreenMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen,
                            PlaybackReport* report = nullptr);

}  // namespace automenu::platform
