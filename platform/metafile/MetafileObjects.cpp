#include "platform/metafile/MetafileObjects.h"

namespace automenu::platform {

MfPen StockPen(std::uint32_t index) {
    MfPen p;
    if (index == 6) p.colour = 0xFFFFFF;  // WHITE_PEN
    if (index == 8) p.style = PS_NULL;    // NULL_PEN
    return p;
}

MfBrush StockBrush(std::uint32_t index) {
    static constexpr std::uint32_t greys[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    MfBrush b;
    if (index <= 4) b.colour = greys[index];
    if (index == 5) b.style = BS_NULL;
    return b;
}

std::vector<MfPoint> ReadPoints(ByteReader& r, std::size_t count, bool short_form) {
    constexpr std::size_t kMaxPoints = 1 << 22;
    if (count > kMaxPoints || count * (short_form ? 4 : 8) > r.Remaining()) throw ReadPastEnd();
    std::vector<MfPoint> pts(count);
    for (auto& p : pts) {
        if (short_form) {
            p.x = r.I16();
            p.y = r.I16();
        } else {
            p.x = r.I32();
            p.y = r.I32();
        }
    }
    return pts;
}

}  // namespace automenu::platform
