// Bitmaps that metafile records carry (DIBs), decoded into cairo surfaces
// within the playback's budget.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/cairo/CairoCanvas.h"
#include "platform/cairo/PlaybackBudget.h"

namespace automenu::platform {

// A decoded bitmap: its pixels, top-down, and a cairo surface over them.
class MfSurface {
public:
    // Null when cairo cannot make the surface.
    static std::shared_ptr<MfSurface> Create(std::vector<std::uint32_t> pixels, int width, int height,
                                             bool bottom_up);
    MfSurface(const MfSurface&) = delete;
    MfSurface& operator=(const MfSurface&) = delete;

    cairo_surface_t* Surface() const { return m_surface.get(); }
    // The top row of a source rectangle given in DIB coordinates, which count
    // from the bottom of a bottom-up DIB.
    double SourceTop(double sy, double sh) const;

private:
    MfSurface(std::vector<std::uint32_t> pixels, bool bottom_up)
        : m_pixels(std::move(pixels)), m_bottom_up(bottom_up) {}

    std::vector<std::uint32_t> m_pixels;  // outlives the surface drawn from it
    CairoSurfacePtr m_surface;
    bool m_bottom_up;  // as the DIB stored its rows
};

inline cairo_surface_t* SurfaceOf(const MfSurface& s) { return s.Surface(); }
inline double DibSourceTop(const MfSurface& s, double sy, double sh) { return s.SourceTop(sy, sh); }

// A DIB from a record: BITMAPINFO and, apart from it, the bits; without
// `bits`, a packed DIB whose bits follow the colour table. Null when it
// cannot be decoded, is larger than the screen, or the budget is spent.
std::shared_ptr<MfSurface> DecodeRecordDib(PlaybackBudget& budget, std::span<const std::uint8_t> info,
                                           std::optional<std::span<const std::uint8_t>> bits, bool with_alpha);

}  // namespace automenu::platform
