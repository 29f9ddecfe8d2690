#include <gtest/gtest.h>

#include <optional>

#include "platform/DesktopScale.h"

namespace automenu::platform {
namespace {

struct ScaleCase {
    const char* gdk_scale;
    std::optional<double> xft_dpi;
    double expected;
};

TEST(DesktopScale, FollowsGdkScaleElseXftDpiInQuarters) {
    const ScaleCase cases[] = {
        {nullptr, std::nullopt, 1.0},
        {nullptr, 96.0, 1.0},
        {nullptr, 192.0, 2.0},
        {nullptr, 120.0, 1.25},
        {nullptr, 144.0, 1.5},
        {nullptr, 100.0, 1.0},   // a near-96 setting does not blur the window
        {nullptr, 72.0, 1.0},    // never smaller than designed
        {nullptr, 2000.0, 4.0},  // nor larger than 4 times
        {"2", 96.0, 2.0},        // GDK_SCALE wins: desktops that set both mean one scale
        {"2", 192.0, 2.0},
        {"", 192.0, 2.0},        // empty: not set
        {"1.5", 192.0, 1.0},     // GDK_SCALE is a whole number or nothing
        {"0", std::nullopt, 1.0},
        {"9", std::nullopt, 4.0},
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(DesktopScale(c.gdk_scale, c.xft_dpi), c.expected)
            << (c.gdk_scale ? c.gdk_scale : "(unset)") << " " << c.xft_dpi.value_or(-1);
}

TEST(DesktopScale, FindsXftDpiAmongResources) {
    EXPECT_EQ(FindXftDpi("Xft.dpi:\t192\n"), 192.0);
    EXPECT_EQ(FindXftDpi("Xft.antialias:\t1\nXft.dpi:\t144.5\nXft.hinting:\t1\n"), 144.5);
    EXPECT_EQ(FindXftDpi("Xft.dpi:\t120"), 120.0);  // last line without its end
    EXPECT_EQ(FindXftDpi("XXft.dpi:\t192\n"), std::nullopt);
    EXPECT_EQ(FindXftDpi("Xft.dpi:\tlarge\n"), std::nullopt);
    EXPECT_EQ(FindXftDpi("Xft.dpi:\n"), std::nullopt);
    EXPECT_EQ(FindXftDpi(""), std::nullopt);
    EXPECT_EQ(FindXftDpi(nullptr), std::nullopt);
}

TEST(DesktopScale, RoundsLengthsToWholePixels) {
    EXPECT_EQ(ScaledLength(634, 1.0), 634);
    EXPECT_EQ(ScaledLength(634, 1.5), 951);
    EXPECT_EQ(ScaledLength(453, 1.5), 680);  // 679.5
    EXPECT_EQ(ScaledLength(455, 1.25), 569);  // 568.75
}

}  // namespace
}  // namespace automenu::platform
