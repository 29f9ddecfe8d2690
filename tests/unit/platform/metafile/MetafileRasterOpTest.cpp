#include <gtest/gtest.h>

#include "platform/metafile/MetafileRasterOp.h"

namespace automenu::platform {
namespace {

TEST(MetafileRasterOp, TernaryCodesCombineEachBit) {
    const std::uint32_t p = 0x00F0F00F, s = 0x00CC33CC, d = 0x00AA55A5;
    struct Row {
        const char* name;
        std::uint8_t code;
        std::uint32_t expected;
    } rows[] = {
        {"SRCCOPY", 0xCC, s},          {"SRCAND", 0x88, s & d},        {"SRCPAINT", 0xEE, s | d},
        {"SRCINVERT", 0x66, s ^ d},    {"PATCOPY", 0xF0, p},           {"PATINVERT", 0x5A, p ^ d},
        {"DSTINVERT", 0x55, ~d},       {"MERGECOPY", 0xC0, p & s},     {"NOTSRCCOPY", 0x33, ~s},
        {"BLACKNESS", 0x00, 0},        {"WHITENESS", 0xFF, ~0u},       {"MERGEPAINT", 0xBB, ~s | d},
        {"SRCERASE", 0x44, s & ~d},    {"PSDPxax", 0xB8, ((d ^ p) & s) ^ p},
    };
    for (const Row& row : rows) EXPECT_EQ(ApplyRop(row.code, p, s, d) & 0xFFFFFF, row.expected & 0xFFFFFF) << row.name;
}

TEST(MetafileRasterOp, BinaryModesAreTernaryCodesWithoutTheSource) {
    // R2_BLACK to R2_WHITE, as the GDI's ternary codes of the same operations.
    const std::uint8_t expected[] = {0x00, 0x05, 0x0A, 0x0F, 0x50, 0x55, 0x5A, 0x5F,
                                     0xA0, 0xA5, 0xAA, 0xAF, 0xF0, 0xF5, 0xFA, 0xFF};
    for (int mode = 1; mode <= 16; ++mode) {
        EXPECT_EQ(RopOfMix(mode), expected[mode - 1]) << mode;
        EXPECT_FALSE(RopUsesSource(RopOfMix(mode))) << mode;
    }
    EXPECT_EQ(RopOfMix(0), kRopPatCopy);
    EXPECT_EQ(RopOfMix(17), kRopPatCopy);
    EXPECT_TRUE(RopUsesSource(0x88));
    EXPECT_FALSE(RopUsesPattern(0x88));
    EXPECT_TRUE(RopUsesPattern(0x5A));
    EXPECT_FALSE(RopUsesPattern(0x55));
    EXPECT_FALSE(RopUsesSource(0x55));
}

TEST(MetafileRasterOp, PixelsNothingWasDrawnOnStayClearWhereTheResultIsTheDestination) {
    constexpr std::uint32_t kClear = 0, kRed = 0xFFFF0000, kHalfRed = 0x80800000;
    struct Row {
        const char* why;
        std::uint8_t code;
        std::uint32_t p, s, d;
        unsigned cover;
        std::uint32_t expected;
    } rows[] = {
        {"mask's white part: AND keeps nothing drawn", 0x88, 0, 0xFFFFFF, kClear, 255, kClear},
        {"mask's black part: AND makes it black", 0x88, 0, 0x000000, kClear, 255, 0xFF000000},
        {"image's black part: OR keeps nothing drawn", 0xEE, 0, 0x000000, kClear, 255, kClear},
        {"image's black part: XOR keeps nothing drawn", 0x66, 0, 0x000000, kClear, 255, kClear},
        {"image over the mask's black: OR gives the image", 0xEE, 0, 0x20C0F0, 0xFF000000, 255, 0xFF20C0F0},
        {"AND over a drawn pixel", 0x88, 0, 0x00FF00, kRed, 255, 0xFF000000},
        {"inverting nothing drawn inverts white", 0x55, 0, 0, kClear, 255, 0xFF000000},
        {"pattern XOR over nothing drawn: over white", 0x5A, 0x0000FF, 0, kClear, 255, 0xFFFFFF00},
        {"uncovered: unchanged", 0x55, 0, 0, kRed, 0, kRed},
        {"half covered: halfway", 0x55, 0, 0, kRed, 128, 0xFF7F8080},
        {"premultiplied half red, inverted", 0x55, 0, 0, kHalfRed, 255, 0xFF00FFFF},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CombinePixel(row.code, row.p, row.s, row.d, row.cover), row.expected) << row.why;
}

}  // namespace
}  // namespace automenu::platform
