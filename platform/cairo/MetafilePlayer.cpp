#include "platform/cairo/MetafilePlayer.h"

namespace automenu::platform {

void PlayMetafileOnCairo(cairo_t*, const MetafileBits&, const TRect&) {}

}  // namespace automenu::platform
