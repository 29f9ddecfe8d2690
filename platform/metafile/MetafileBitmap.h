// Bitmaps that metafile records carry (DIBs), decoded within the playback's
// budget.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "base/Types.h"
#include "platform/metafile/PlaybackBudget.h"

namespace automenu::platform {

// A decoded bitmap: its pixels top-down (premultiplied 0xAARRGGBB), and
// which way the DIB stored its rows.
struct MfBitmap {
    PixelImage image;
    bool bottom_up = true;

    // The top row of a source rectangle given in DIB coordinates, which count
    // from the bottom of a bottom-up DIB.
    double SourceTop(double sy, double sh) const { return bottom_up ? image.height - (sy + sh) : sy; }
};

// A DIB from a record: BITMAPINFO and, apart from it, the bits; without
// `bits`, a packed DIB whose bits follow the colour table. Null when it
// cannot be decoded, is larger than the screen, or the budget is spent.
// `whole`, when given, tells whether the bits hold every row the header
// declares (missing rows are decoded as black).
std::shared_ptr<const MfBitmap> DecodeRecordDib(PlaybackBudget& budget, std::span<const std::uint8_t> info,
                                                std::optional<std::span<const std::uint8_t>> bits, bool with_alpha,
                                                bool* whole = nullptr);

}  // namespace automenu::platform
