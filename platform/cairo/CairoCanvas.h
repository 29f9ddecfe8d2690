// ICanvas on a cairo context: used by both the SDL and the headless back ends.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>

#include "platform/Platform.h"

namespace automenu::platform {

// Owning handles for cairo objects.
struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct CairoPatternDeleter {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContextPtr = std::unique_ptr<cairo_t, CairoContextDeleter>;
using CairoPatternPtr = std::unique_ptr<cairo_pattern_t, CairoPatternDeleter>;

class CairoCanvas final : public ICanvas {
public:
    // Takes ownership of the context; `done` runs after the context is
    // released (a back end presents the painted pixels there).
    CairoCanvas(CairoContextPtr cr, std::function<void()> done = {});
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void Save() override;
    void Restore() override;
    void Translate(int dx, int dy) override;
    void IntersectClip(const TRect& r) override;
    void FillRect(const TRect& r, Rgb colour) override;
    void DrawRaisedEdge(const TRect& r) override;
    void DrawFocusRect(const TRect& r) override;
    void DrawImage(const PixelImage& image, int x, int y) override;
    PixelImage RenderMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen) override;
    TRect DrawText(const IFont& font, Rgb colour, std::string_view text, const TRect& rect,
                   unsigned flags) override;

    cairo_t* Context() const { return m_cr.get(); }

private:
    CairoContextPtr m_cr;
    std::function<void()> m_done;
};

}  // namespace automenu::platform
