// The interpreters of EMF and WMF records (EmfPlayer.cpp, WmfPlayer.cpp).
#pragma once

#include <functional>
#include <new>
#include <span>

#include "base/Types.h"
#include "formats/ByteReader.h"
#include "formats/MetafileBits.h"
#include "platform/metafile/MetafileDC.h"

namespace automenu::platform {

// Told of every record played after the header, with what became of it;
// records after the last one it is told of were not played.
using RecordObserver = std::function<void(std::span<const std::uint8_t> record, const RecordOutcome& outcome)>;

// Plays one record with `play`. A record shorter than its kind needs (or
// one that asks for more memory than there is) is skipped, and refused; the
// observer is told what became of it.
template <typename Play>
void PlayOneRecord(MetafileDC& dc, std::span<const std::uint8_t> record, const RecordObserver& observer, Play&& play) {
    try {
        play();
    } catch (const ReadPastEnd&) {
        dc.Refuse();
    } catch (const std::bad_alloc&) {
        dc.Refuse();
    }
    if (observer) observer(record, dc.Outcome());
}

// Record interpreters. Damaged or unknown records are skipped; a record
// whose size is 0, not a whole number of units, or past the data ends
// playback, and so does the end-of-file record.
void PlayEmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer = {});
void PlayWmfRecords(MetafileDC& dc, const MetafileBits& bits, const TRect& dest, const RecordObserver& observer = {});

}  // namespace automenu::platform
