#include <gtest/gtest.h>

#include <cmath>

#include "level/Level.h"

namespace {

// Two polylines with a pit between x = 100 and x = 200.
Level twoPathLevel() {
    Level l;
    l.groundPaths = {{{0, 400}, {48, 400}, {100, 300}}, {{200, 500}, {300, 600}}};
    return l;
}

}  // namespace

TEST(GroundHeightAt, EndsAreInsideAndOneUnitBeyondIsNot) {
    Level l = twoPathLevel();
    struct Case { float x; bool found; float y; };
    const Case cases[] = {
        {0, true, 400},    {-1, false, 0},    {100, true, 300}, {101, false, 0},
        {150, false, 0},   {199, false, 0},   {200, true, 500}, {300, true, 600},
        {301, false, 0},   {24, true, 400},   {74, true, 350},  {250, true, 550},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        GroundHeight g = l.groundHeightAt(c.x);
        EXPECT_EQ(g.found, c.found);
        if (c.found) {
            EXPECT_FLOAT_EQ(g.y, c.y);
        }
    }
}

TEST(GroundHeightAt, FirstCoveringPathWinsAndOddPathsAreSafe) {
    Level l;
    l.groundPaths = {{}, {{50, 100}}, {{0, 300}, {100, 300}}, {{0, 900}, {200, 900}}};
    EXPECT_FLOAT_EQ(l.groundHeightAt(50).y, 100);   // single-point path covers its own x
    EXPECT_FLOAT_EQ(l.groundHeightAt(60).y, 300);
    EXPECT_FLOAT_EQ(l.groundHeightAt(150).y, 900);
    EXPECT_FALSE(l.groundHeightAt(std::nanf("")).found);

    Level step;  // a zero-length step takes the earlier point's y
    step.groundPaths = {{{0, 100}, {10, 100}, {10, 200}, {20, 200}}};
    EXPECT_FLOAT_EQ(step.groundHeightAt(10).y, 100);
    EXPECT_FLOAT_EQ(step.groundHeightAt(15).y, 200);
    EXPECT_FALSE(Level{}.groundHeightAt(0).found);
}

TEST(GreatestGroundY, StartsFromZero) {
    EXPECT_FLOAT_EQ(twoPathLevel().greatestGroundY(), 600);
    Level high;
    high.groundPaths = {{{0, -50}, {10, -20}}};
    EXPECT_FLOAT_EQ(high.greatestGroundY(), 0);
}

TEST(Platform, StaticNeverMovesWhateverItsAmplitudes) {
    Platform p{.x1 = 100, .y1 = 300, .x2 = 220, .y2 = 300, .moveX = 50, .moveY = 80,
               .movePeriod = 0, .movePhase = 0.3f};
    for (float t : {0.0f, 0.25f, 1.7f, 1000.0f}) {
        EXPECT_EQ(platformOffset(p, t), sf::Vector2f(0, 0));
        EXPECT_FLOAT_EQ(platformHeightAt(p, 160, t), 300);
        EXPECT_TRUE(platformCovers(p, 100, t));
        EXPECT_TRUE(platformCovers(p, 220, t));
        EXPECT_FALSE(platformCovers(p, 221, t));
    }
}

TEST(Platform, MoverFollowsTheSineAndShiftsItsSurface) {
    Platform p{.x1 = 0, .y1 = 100, .x2 = 100, .y2 = 200, .moveX = 50, .moveY = 40,
               .movePeriod = 2, .movePhase = 0.25f};
    // At t = 0 the phase is a quarter cycle: full amplitude.
    sf::Vector2f o = platformOffset(p, 0);
    EXPECT_NEAR(o.x, 50, 1e-4);
    EXPECT_NEAR(o.y, 40, 1e-4);
    EXPECT_NEAR(platformOffset(p, 1).x, -50, 1e-3);
    // Sloped: halfway along the shifted segment.
    EXPECT_NEAR(platformHeightAt(p, 100, 0), 150 + 40, 1e-3);
    EXPECT_TRUE(platformCovers(p, 150, 0));
    EXPECT_FALSE(platformCovers(p, 20, 0));

    Platform flat{.x1 = 30, .y1 = 70, .x2 = 30, .y2 = 90};
    EXPECT_FLOAT_EQ(platformHeightAt(flat, 30, 0), 70);
}

TEST(Platform, FallenCrumblerIsIgnoredButStaysInTheList) {
    Level l;
    l.platforms.resize(3);
    l.platforms[1] = Platform{.x1 = 0, .y1 = 0, .x2 = 100, .y2 = 0, .crumbles = true};
    l.platforms[1].fallen = true;
    EXPECT_FALSE(platformCovers(l.platforms[1], 50, 0));
    EXPECT_EQ(l.platforms.size(), 3u);
}

TEST(SpawnParticles, DrawsFourValuesPerParticleInOrder) {
    XorShift32 rng(kEffectsSeed);
    std::vector<Particle> list;
    spawnParticles(list, rng, {10, 20}, 2, sf::Color(1, 2, 3), 200, 0.5f, 5, 1, 600);
    ASSERT_EQ(list.size(), 2u);

    XorShift32 check(kEffectsSeed);
    for (const Particle& p : list) {
        float a = 6.2831853f * check.rand();
        float v = (0.3f + 0.7f * check.rand()) * 200;
        float life = (0.6f + 0.4f * check.rand()) * 0.5f;
        float size = (0.6f + 0.6f * check.rand()) * 5;
        EXPECT_FLOAT_EQ(p.x, 10);
        EXPECT_FLOAT_EQ(p.y, 20);
        EXPECT_NEAR(p.vx, std::cos(a) * v, 1e-3);
        EXPECT_NEAR(p.vy, std::sin(a) * v, 1e-3);
        EXPECT_FLOAT_EQ(p.life, life);
        EXPECT_FLOAT_EQ(p.maxLife, life);
        EXPECT_FLOAT_EQ(p.size, size);
        EXPECT_EQ(p.color, sf::Color(1, 2, 3));
        EXPECT_EQ(p.shape, 1);
        EXPECT_FLOAT_EQ(p.gravity, 600);
        EXPECT_GE(std::hypot(p.vx, p.vy), 0.3f * 200 - 1e-3);
    }
    EXPECT_EQ(rng.state, check.state);  // nothing else was drawn
}

TEST(Level, CopiesEveryListByValue) {
    Level a = twoPathLevel();
    a.gems.push_back({5, 6, false});
    Level b = a;
    b.gems[0].taken = true;
    b.groundPaths[0][0].y = 1;
    EXPECT_FALSE(a.gems[0].taken);
    EXPECT_FLOAT_EQ(a.groundPaths[0][0].y, 400);
}
