#include <gtest/gtest.h>
#include "core/Random.h"

TEST(XorShift32, FollowsTheThirteenSeventeenFiveSequence) {
    XorShift32 r(1);
    EXPECT_EQ(r.next(), 270369u);
    EXPECT_EQ(r.next(), 67634689u);
    XorShift32 f(1);
    f.next();
    float v = f.rand();
    EXPECT_FLOAT_EQ(v, float(67634689u & 0xFFFFFFu) / 16777216.0f);
    EXPECT_LT(v, 1.0f);
}
