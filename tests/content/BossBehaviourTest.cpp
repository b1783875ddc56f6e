// Behaviour edge cases of single bosses, driven frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "content/Bosses.h"

namespace {

constexpr float kL = 1000, kR = 2100, kF = 600, kDt = 1.0f / 60.0f;
constexpr float kC = (kL + kR) / 2, kW = kR - kL;

struct Sim {
    BossState b;
    BossArena a;
    float t = 0;
    std::function<sf::Vector2f(float)> player = [](float) { return sf::Vector2f(kL + 200, kF - 18); };

    explicit Sim(int kind, int hp = 0) {
        spawnBoss(b, kind, kL, kR, kF);
        if (hp > 0) b.hp = hp;
        a.left = kL;
        a.right = kR;
        a.floor = kF;
    }
    void step() {
        a.player = player(t);
        updateBoss(b, a, kDt);
        t += kDt;
    }
    // Steps until cond holds (true) or the time runs out (false).
    bool until(const std::function<bool()>& cond, float seconds) {
        for (int i = 0; i < int(seconds / kDt); ++i) {
            step();
            if (cond()) return true;
        }
        return false;
    }
};

int countKind(const std::vector<BossZone>& zones, int kind) {
    int n = 0;
    for (const BossZone& z : zones) n += z.kind == kind;
    return n;
}

}  // namespace

TEST(MirrorHero, WaitsForMoreThanItsDelayOfPlayerPositions) {
    struct Case {
        int hp;
        std::size_t delay;
    } cases[] = {{5, 70}, {3, 70}, {2, 55}, {1, 55}};
    for (const Case& c : cases) {
        Sim s(MirrorHero, c.hp);
        s.player = [](float t) { return sf::Vector2f(kL + 300 + 200 * std::sin(3 * t), kF - 18); };
        const float x0 = s.b.x, y0 = s.b.y;
        std::size_t frames = 0;
        while (s.b.state == 0 && frames < 500) {
            s.step();
            ++frames;
            if (s.b.state == 0) {
                EXPECT_FLOAT_EQ(s.b.x, x0);
                EXPECT_FLOAT_EQ(s.b.y, y0);
            }
        }
        EXPECT_EQ(frames, c.delay + 1) << "hp " << c.hp;
        EXPECT_EQ(s.b.trail.size(), c.delay + 1);
        // It then follows the recorded path, never faster than 320 per second.
        float px = s.b.x, py = s.b.y;
        for (int i = 0; i < 60; ++i) {
            s.step();
            EXPECT_LE(std::hypot(s.b.x - px, s.b.y - py), 320 * kDt + 0.01f);
            px = s.b.x;
            py = s.b.y;
        }
        EXPECT_LT(s.b.x, x0);
    }
}

TEST(StoneSerpent, WarnsUnderThePlayerClamped120InsideTheWalls) {
    struct Case {
        float playerX, emerge, land;
    } cases[] = {
        {kC, kC, kC + 520},                 // at the centre: leaps right
        {kC + 1, kC + 1, kC + 1 - 520},     // right of the centre: leaps left
        {kL + 30, kL + 120, kL + 640},      // by the left wall
        {kR - 30, kR - 120, kR - 640},      // by the right wall
        {kL + 400, kL + 400, kL + 920},      // left of the centre: leaps right
    };
    for (const Case& c : cases) {
        Sim s(StoneSerpent);
        s.player = [&](float) { return sf::Vector2f(c.playerX, kF - 18); };
        ASSERT_TRUE(s.until([&] { return countKind(s.b.zones, 8) > 0; }, 5));
        const BossZone& z = s.b.zones.back();
        EXPECT_FLOAT_EQ(z.x + z.w / 2, c.emerge) << c.playerX;
        EXPECT_FLOAT_EQ(z.w, 100);
        EXPECT_FLOAT_EQ(z.y + z.h, kF);
        EXPECT_GT(z.warn, 0.85f);
        float land = std::clamp(c.land, kL + 60, kR - 60);
        EXPECT_FLOAT_EQ(s.b.aux.y, land) << c.playerX;
        // It erupts where it warned and lands where it aimed.
        ASSERT_TRUE(s.until([&] { return s.b.state == 3; }, 2));
        EXPECT_NEAR(s.b.x, c.emerge, std::fabs(land - c.emerge) * 0.02f + 0.01f);
        ASSERT_TRUE(s.until([&] { return s.b.state == 4; }, 2));
        EXPECT_FLOAT_EQ(s.b.x, land);
        EXPECT_FLOAT_EQ(s.b.y, kF - 26);
        EXPECT_TRUE(s.b.vulnerable);
    }
}

TEST(Ovim, FloorAttackNeverInPhaseOne) {
    Sim s(Ovim);
    s.player = [](float t) { return sf::Vector2f(kC + 300 * std::sin(t), kF - 18); };
    int attacks = 0, lastCounter = 0;
    for (int i = 0; i < 60 * 120; ++i) {
        s.step();
        EXPECT_EQ(countKind(s.b.zones, 6), 0);
        if (s.b.counter != lastCounter) ++attacks;
        lastCounter = s.b.counter;
    }
    EXPECT_GT(attacks, 20);
}

TEST(Ovim, FloorAttackAlwaysLeavesOneThirdAndTheGapRotatesEveryThreeAttacks) {
    for (int hp : {8, 5, 4, 1}) {
        Sim s(Ovim, hp);
        s.player = [](float t) { return sf::Vector2f(kC + 300 * std::sin(t), kF - 18); };
        std::vector<int> gaps;
        int lastCounter = 0;
        for (int i = 0; i < 60 * 150; ++i) {
            s.step();
            // At every moment some third of the floor is free of vanishing blocks.
            int freeThirds = 0;
            for (int k = 0; k < 3; ++k) {
                float mid = kL + (float(k) + 0.5f) * kW / 3;
                bool covered = false;
                for (const BossZone& z : s.b.zones)
                    covered |= z.kind == 6 && mid >= z.x && mid <= z.x + z.w;
                freeThirds += !covered;
            }
            EXPECT_GE(freeThirds, 1);
            if (s.b.counter != lastCounter && s.b.counter % 3 == 2) {
                // Exactly two blocks were laid this frame; find the third left out.
                ASSERT_EQ(countKind(s.b.zones, 6), 2) << "hp " << hp;
                int gap = -1;
                for (int k = 0; k < 3; ++k) {
                    bool used = false;
                    for (const BossZone& z : s.b.zones)
                        used |= z.kind == 6 && std::fabs(z.x - (kL + float(k) * kW / 3)) < 0.5f;
                    if (!used) gap = k;
                }
                gaps.push_back(gap);
                EXPECT_EQ(countKind(s.b.zones, 7), 1);
            }
            lastCounter = s.b.counter;
        }
        ASSERT_GE(gaps.size(), 3u) << "hp " << hp;
        for (std::size_t i = 1; i < gaps.size(); ++i) EXPECT_EQ(gaps[i], (gaps[i - 1] + 1) % 3) << "hp " << hp;
    }
}

TEST(GaleTurret, TheGalePushesAwayFromTheTurret) {
    Sim s(GaleTurret);
    s.player = [](float t) { return sf::Vector2f(kC + 450 * std::sin(0.37f * t), kF - 18); };
    int galeFrames = 0;
    for (int i = 0; i < 60 * 90; ++i) {
        s.step();
        if (s.a.wind != 0) {
            ++galeFrames;
            EXPECT_FLOAT_EQ(std::fabs(s.a.wind), 520);
            float away = s.a.player.x - s.b.x;
            if (std::fabs(away) > 0.01f) {
                EXPECT_GT(s.a.wind * away, 0) << s.t;
            }
        }
        if (s.b.state == 0 || s.b.state == 3) {
            EXPECT_EQ(s.a.wind, 0);
        }
    }
    EXPECT_GT(galeFrames, 200);
}

TEST(TheKeeper, KneelsOnlyAfterThrowingAllSevenStones) {
    for (int hp : {6, 3}) {
        Sim s(TheKeeper, hp);
        s.player = [](float t) { return sf::Vector2f(kC + 400 * std::sin(0.5f * t), kF - 18); };
        int thrown = 0, kneels = 0, prevState = 0, prevCounter = 0;
        for (int i = 0; i < 60 * 120; ++i) {
            s.step();
            if (s.b.counter < prevCounter) {
                EXPECT_EQ(prevState, 1);
                thrown += prevCounter - s.b.counter;
            }
            if (s.b.state == 2 && prevState != 2) {
                EXPECT_EQ(thrown, 7) << "hp " << hp;
                EXPECT_EQ(s.b.counter, 0);
                ++kneels;
            }
            if (s.b.state == 1 && prevState != 1) thrown = 0;
            EXPECT_LE(keeperStonesHeld(s.b), 7);
            int stoneCircles = int(s.b.hurtCircles.size()) - (s.b.vulnerable ? 0 : 1);
            EXPECT_EQ(stoneCircles, keeperStonesHeld(s.b));
            prevState = s.b.state;
            prevCounter = s.b.counter;
        }
        EXPECT_GE(kneels, 5) << "hp " << hp;
    }
}

TEST(PrismBat, ASwoopAimedLevelWithTheBatStillEnds) {
    Sim s(PrismBat);
    ASSERT_TRUE(s.until([&] { return s.b.state == 1; }, 5));
    s.b.state = 2;
    s.b.stateTimer = 0;
    s.b.aux = {s.b.x + 100, s.b.y};  // a target straight ahead: no vertical speed
    s.step();
    ASSERT_EQ(s.b.state, 3);
    EXPECT_TRUE(s.until([&] { return s.b.state == 1; }, 2.3f));
}

TEST(HoveringBosses, GlideBackToTheirPathInsteadOfJumping) {
    for (int kind : {PrismBat, GaleTurret, StormZeppelin, Ovim, TheKeeper}) {
        Sim s(kind);
        s.player = [](float t) { return sf::Vector2f(kC + 350 * std::sin(0.7f * t), kF - 18); };
        float px = s.b.x, py = s.b.y;
        int prev = -1;
        for (int i = 0; i < 60 * 60; ++i) {
            s.step();
            if (s.b.vulnerable && s.b.hitFlash <= 0 && s.b.hp > 2) {
                BossToucher p;
                p.pos = {s.b.weakX, s.b.weakY - 10};
                p.vel = {0, 200};
                bossTouchPlayer(s.b, p);
            }
            if (s.b.state == 1 && prev == 1) {
                EXPECT_LE(std::hypot(s.b.x - px, s.b.y - py), 900 * kDt + 0.01f)
                    << bossTable()[std::size_t(kind)].name << " at " << s.t;
            }
            prev = s.b.state;
            px = s.b.x;
            py = s.b.y;
        }
    }
}

TEST(GlitchRacer, PausesExposedAtEachWallAndOnlyHurtsWhileDashing) {
    Sim s(GlitchRacer);
    int pauses = 0, prev = 0;
    for (int i = 0; i < 60 * 30; ++i) {
        s.step();
        if (s.b.state == 2 && prev != 2) {
            ++pauses;
            EXPECT_TRUE(s.b.x <= kL + 60.01f || s.b.x >= kR - 90);
        }
        EXPECT_EQ(s.b.vulnerable, s.b.state == 2);
        EXPECT_EQ(s.b.hurtCircles.empty(), s.b.state == 2);
        prev = s.b.state;
    }
    EXPECT_GE(pauses, 8);
}

TEST(GlitchRacer, AtLowHealthJumpsAtTheCentreAndComesDownBeforeDashingOn) {
    Sim s(GlitchRacer, 2);
    int jumps = 0, prev = 0;
    float prevY = s.b.y;
    for (int i = 0; i < 60 * 30; ++i) {
        s.step();
        if (s.b.y < kF - 26 - 0.5f && prevY >= kF - 26 - 0.01f) {
            ++jumps;
            EXPECT_NEAR(s.b.x, kC, 40.0f);
        }
        if (prev == 2 && s.b.state == 1) {
            EXPECT_FLOAT_EQ(s.b.y, kF - 26);  // sets off from the ground
        }
        prev = s.b.state;
        prevY = s.b.y;
    }
    EXPECT_GE(jumps, 4);
}
