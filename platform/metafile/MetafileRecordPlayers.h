// The interpreters of EMF and WMF records (EmfPlayer.cpp, WmfPlayer.cpp).
#pragma once

#include <functional>
#include <span>

#include "base/Types.h"
#include "formats/MetafileBits.h"
#include "platform/metafile/MetafileDC.h"

namespace automenu::platform {

// Told of every record played after the header, with what became of it;
// records after the last one it is told of were not played.
using RecordObserver = std::function<void(std::span<const std::uint8_t> record, const RecordOutcome& outcome)>;

// Record interpreters. Damaged or unknown records are skipped; a record
// whose size is 0, not a whole number of units, or past the data ends
// playback, and so does the end-of-file record.
void PlayEmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer = {});
void PlayWmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer = {});

}  // namespace automenu::platform
