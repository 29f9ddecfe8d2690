// The 54 bytes that start a bitmap file, built in memory: the file header and
// a 40-byte info header. File size and pixel offset stay 0 unless set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace automenu::testing {

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::vector<std::uint8_t> BmpHeader(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                           std::uint32_t compression = 0) {
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    Put32(b, 30, compression);
    return b;
}

}  // namespace automenu::testing
