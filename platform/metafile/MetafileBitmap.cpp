#include "platform/metafile/MetafileBitmap.h"

#include <cstdlib>
#include <new>

#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"

namespace automenu::platform {

std::shared_ptr<const MfBitmap> DecodeRecordDib(PlaybackBudget& budget, std::span<const std::uint8_t> info_bytes,
                                                std::optional<std::span<const std::uint8_t>> bits, bool with_alpha,
                                                bool* whole) {
    try {
        ByteReader r(info_bytes);
        DibInfo info = ReadDibInfo(r);
        const std::uint64_t pixels =
            static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.width))) *
            static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.height)));
        if (!budget.AdmitBitmap(pixels)) return nullptr;
        auto bitmap = std::make_shared<MfBitmap>();
        const std::span<const std::uint8_t> data = bits ? *bits : info_bytes.subspan(r.Position());
        if (!DecodeDib(info, data, bitmap->image, with_alpha ? DibAlpha::FromData : DibAlpha::Ignore)) return nullptr;
        if (whole) {
            const DibHeader& h = info.header;
            const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
            const std::uint64_t need =
                rle ? h.size_image
                    : DibStride(h.width, h.bit_count) *
                          static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(h.height)));
            *whole = need <= data.size() && (!rle || need > 0);
        }
        budget.NoteBitmapDecoded(bitmap->image.pixels.size());
        bitmap->bottom_up = info.header.height > 0;
        return bitmap;
    } catch (const ReadPastEnd&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace automenu::platform
