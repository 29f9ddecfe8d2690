// The interpreters of EMF and WMF records (EmfPlayer.cpp, WmfPlayer.cpp).
#pragma once

#include "base/Types.h"
#include "formats/MetafileBits.h"
#include "platform/cairo/MetafileDC.h"

namespace automenu::platform {

// Record interpreters. Damaged or unknown records are skipped; a record
// whose size is 0, not a whole number of units, or past the data ends
// playback.
void PlayEmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest);
void PlayWmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest);

}  // namespace automenu::platform
