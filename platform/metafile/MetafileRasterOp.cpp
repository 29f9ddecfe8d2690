#include "platform/metafile/MetafileRasterOp.h"

#include <algorithm>

namespace automenu::platform {

std::uint8_t RopOfMix(int mode) {
    if (mode < 1 || mode > 16) return kRopPatCopy;
    // The binary table's bit (P << 1 | D) gives every ternary bit (P << 2 | S << 1 | D).
    const unsigned table = static_cast<unsigned>(mode - 1);
    std::uint8_t code = 0;
    for (unsigned k = 0; k < 8; ++k)
        if ((table >> (((k >> 2) << 1) | (k & 1))) & 1) code = static_cast<std::uint8_t>(code | (1u << k));
    return code;
}

std::uint32_t ApplyRop(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (code) {  // the common ones, directly
    case 0x00: return 0;
    case 0xFF: return ~0u;
    case kRopPatCopy: return p;
    case kRopSrcCopy: return s;
    case 0xAA: return d;
    case 0x55: return ~d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x5A: return p ^ d;
    default: break;
    }
    std::uint32_t out = 0;
    for (unsigned k = 0; k < 8; ++k) {
        if (!((code >> k) & 1)) continue;
        out |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
    }
    return out;
}

std::uint32_t Unpremultiplied(std::uint32_t px) {
    const unsigned a = px >> 24;
    if (a == 255 || a == 0) return px & 0xFFFFFF;
    std::uint32_t out = 0;
    for (unsigned shift : {0u, 8u, 16u}) {
        const unsigned c = std::min(255u, (((px >> shift) & 0xFF) * 255 + a / 2) / a);
        out |= c << shift;
    }
    return out;
}

std::uint32_t CombinePixel(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d, unsigned cover) {
    if (cover == 0) return d;
    std::uint32_t result;
    if ((d >> 24) == 0) {
        const std::uint32_t over_black = ApplyRop(code, p, s, 0) & 0xFFFFFF;
        const std::uint32_t over_white = ApplyRop(code, p, s, 0xFFFFFF) & 0xFFFFFF;
        if (over_black == 0 && over_white == 0xFFFFFF) return d;
        result = over_white;
    } else {
        result = ApplyRop(code, p, s, Unpremultiplied(d)) & 0xFFFFFF;
    }
    if (cover >= 255) return 0xFF000000u | result;
    // Partly covered (smooth edges): between the old pixel and the result.
    std::uint32_t out = 0;
    for (unsigned shift : {0u, 8u, 16u, 24u}) {
        const unsigned r = shift == 24 ? 255 : (result >> shift) & 0xFF;
        const unsigned old = (d >> shift) & 0xFF;
        out |= ((r * cover + old * (255 - cover) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace automenu::platform
