#include <gtest/gtest.h>

#include "platform/Types.h"

TEST(TRect, IntersectAndContain) {
    automenu::TRect a{0, 0, 10, 10};
    automenu::TRect b{5, 5, 20, 20};
    EXPECT_EQ(a.Intersect(b), (automenu::TRect{5, 5, 10, 10}));
    EXPECT_TRUE(a.Contains({9, 9}));
    EXPECT_FALSE(a.Contains({10, 9}));
}
