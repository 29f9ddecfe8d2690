#include "platform/cairo/MetafileBitmap.h"

#include <cstdlib>
#include <new>

#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"

namespace automenu::platform {

std::shared_ptr<MfSurface> MfSurface::Create(std::vector<std::uint32_t> pixels, int width, int height,
                                             bool bottom_up) {
    std::shared_ptr<MfSurface> s(new MfSurface(std::move(pixels), bottom_up));
    s->m_surface.reset(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(s->m_pixels.data()),
                                                           CAIRO_FORMAT_ARGB32, width, height, width * 4));
    if (cairo_surface_status(s->m_surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return s;
}

double MfSurface::SourceTop(double sy, double sh) const {
    return m_bottom_up ? cairo_image_surface_get_height(m_surface.get()) - (sy + sh) : sy;
}

std::shared_ptr<MfSurface> DecodeRecordDib(PlaybackBudget& budget, std::span<const std::uint8_t> info_bytes,
                                           std::optional<std::span<const std::uint8_t>> bits, bool with_alpha) {
    try {
        ByteReader r(info_bytes);
        DibInfo info = ReadDibInfo(r);
        const std::uint64_t pixels = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.width))) *
                                     static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(info.header.height)));
        if (!budget.AdmitBitmap(pixels)) return nullptr;
        PixelImage img;
        if (!DecodeDib(info, bits ? *bits : info_bytes.subspan(r.Position()), img,
                       with_alpha ? DibAlpha::FromData : DibAlpha::Ignore))
            return nullptr;
        budget.NoteBitmapDecoded(img.pixels.size());
        return MfSurface::Create(std::move(img.pixels), img.width, img.height, info.header.height > 0);
    } catch (const ReadPastEnd&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace automenu::platform
