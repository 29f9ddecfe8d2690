#include "platform/metafile/PlaybackBudget.h"

#include <algorithm>

namespace automenu::platform {

double PaintUnits(const ShapeSize& shape, double width, double height, double view_height, bool outline) {
    const double factor = outline ? kStrokeFactor : 1;
    const double edges_per_scanline = std::max(1.0, shape.scanlines / std::max(1.0, view_height));
    return kPaintUnits + width * height / kPixelsPerUnit +
           factor * (shape.vertices * kVertexUnits + shape.scanlines / kScanlinesPerUnit +
                     shape.scanlines * edges_per_scanline / kCrossingsPerUnit);
}

bool PlaybackBudget::Spend(std::uint64_t units) {
    if (m_report.budget_exhausted || units > m_units_left) {
        m_report.budget_exhausted = true;
        return false;
    }
    m_units_left -= units;
    m_report.units += units;
    return true;
}

bool PlaybackBudget::CanAfford(std::uint64_t units) {
    if (units <= m_units_left && !m_report.budget_exhausted) return true;
    m_report.budget_exhausted = true;
    return false;
}

bool PlaybackBudget::AdmitBitmap(std::uint64_t pixels) {
    // The declared size decides, before a single row is made: nothing
    // larger than the screen can be seen whole, and a file can declare
    // 16384 x 16384 in a few bytes.
    if (pixels > m_max_bitmap_pixels) {
        ++m_report.bitmaps_refused;
        return false;
    }
    return Spend(1 + pixels / kBitmapPixelsPerUnit);
}

void PlaybackBudget::NoteBitmapDecoded(std::uint64_t pixels) {
    m_report.largest_bitmap = std::max(m_report.largest_bitmap, pixels);
}

}  // namespace automenu::platform
