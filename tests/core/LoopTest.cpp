#include <gtest/gtest.h>

#include <cmath>

#include "core/FpsCounter.h"
#include "core/Loop.h"
#include "core/Toast.h"

TEST(FrameTime, IsCappedAtOneThirtiethAndNeverNegative) {
    EXPECT_FLOAT_EQ(capFrameTime(1.0f / 60.0f), 1.0f / 60.0f);
    EXPECT_EQ(capFrameTime(0.2f), 0.033333335f);
    EXPECT_EQ(capFrameTime(1.0f / 30.0f), 0.033333335f);
    EXPECT_EQ(capFrameTime(-1.0f), 0.0f);
    EXPECT_EQ(capFrameTime(std::nanf("")), 0.0f);
}

TEST(Toast, ShowsForThreeSecondsAndSlidesInAndOut) {
    Toast t;
    EXPECT_FALSE(t.visible());
    t.show("Hello");
    EXPECT_FLOAT_EQ(t.timer, 3.0f);
    EXPECT_FLOAT_EQ(toastBoxTop(3.0f), 540.0f);        // just shown: below the edge
    EXPECT_FLOAT_EQ(toastBoxTop(2.875f), 540.0f - 28.0f);  // half way in
    EXPECT_FLOAT_EQ(toastBoxTop(1.5f), 484.0f);         // fully in
    EXPECT_FLOAT_EQ(toastBoxTop(0.125f), 540.0f - 28.0f);
    t.tick(2.0f);
    EXPECT_TRUE(t.visible());
    t.tick(5.0f);
    EXPECT_FALSE(t.visible());
    EXPECT_EQ(t.timer, 0.0f);
}

TEST(FpsCounter, CountsFramesOverMoreThanHalfASecond) {
    FpsCounter f;
    for (int i = 0; i < 4; ++i) f.frame(0.125f);
    EXPECT_EQ(f.fps, 0);  // exactly 0.5 s is not more than 0.5 s
    f.frame(0.125f);
    EXPECT_EQ(f.fps, 8);  // 5 frames in 0.625 s
    f.frame(0.25f);
    f.frame(0.25f);
    EXPECT_EQ(f.fps, 8);
    f.frame(0.25f);
    EXPECT_EQ(f.fps, 4);  // the count restarted: 3 frames in 0.75 s
}
