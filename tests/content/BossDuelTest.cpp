// The scripted attacker (a plain hero that only runs and jumps) beats every
// boss on a flat arena: each fight can be won by going for the weak point
// whenever it is open.
#include <gtest/gtest.h>

#include "content/BossDuel.h"

TEST(BossDuel, TheScriptedAttackerBeatsEveryBoss) {
    for (int kind = 0; kind < kBossCount; ++kind) {
        BossDuel d;
        startDuel(d, kind);
        while (!d.won && d.time < 300) stepDuel(d, 1.0f / 60.0f);
        EXPECT_TRUE(d.won) << bossTable()[std::size_t(kind)].name << " has " << d.boss.hp << " hp left";
        EXPECT_EQ(d.hitsDealt, bossTable()[std::size_t(kind)].hitPoints);
    }
}

TEST(BossDuel, IsTheSameFightEveryTime) {
    BossDuel a, b;
    startDuel(a, Ovim);
    startDuel(b, Ovim);
    for (int i = 0; i < 3000; ++i) {
        stepDuel(a, 1.0f / 60.0f);
        stepDuel(b, 1.0f / 60.0f);
    }
    EXPECT_EQ(a.boss.hp, b.boss.hp);
    EXPECT_EQ(a.hitsTaken, b.hitsTaken);
    EXPECT_FLOAT_EQ(a.player.x, b.player.x);
}
