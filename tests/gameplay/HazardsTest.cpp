#include <gtest/gtest.h>

#include <cmath>

#include "gameplay/ObjectTestWorld.h"

namespace {

constexpr float kGround = ObjectTestWorld::kGround;

Hazard hazardAt(int kind, float x, float y, float w, float h, float timer) {
    Hazard hz;
    hz.kind = kind;
    hz.x = x;
    hz.y = y;
    hz.w = w;
    hz.h = h;
    hz.timer = timer;
    return hz;
}

}  // namespace

TEST(Laser, HarmlessFromOnePointTwoToTwoPointFourOfEachCycle) {
    struct Case {
        float timer;
        bool hurts;
    };
    const Case cases[] = {{0.0f, true},  {1.19f, true}, {1.21f, false}, {2.0f, false},
                          {2.39f, false}, {2.41f, true}, {3.59f, true},  {3.61f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timer);
        ObjectTestWorld w;
        w.frame.dt = 0;  // look at the cycle exactly at timer
        w.level.hazards = {hazardAt(HazardKind::Laser, 1010, kGround, 10, 180, c.timer)};
        w.hazards();
        EXPECT_EQ(w.ev.hits, c.hurts ? 1 : 0);
        EXPECT_EQ(laserOn(w.level.hazards[0]), c.hurts);
    }
}

TEST(Laser, ReachesItsHeightAboveTheGroundOnly) {
    struct Case {
        float dx, y;
        bool hurts;
    };
    const Case cases[] = {{0, kGround - 18, true}, {24, kGround - 18, true}, {25, kGround - 18, false},
                          {0, kGround - 180, true}, {0, kGround - 181, false}};
    for (const Case& c : cases) {
        ObjectTestWorld w;
        w.frame.dt = 0;
        w.level.hazards = {hazardAt(HazardKind::Laser, 1000 + c.dx, kGround, 10, 180, 0.5f)};
        w.airAt(0, 1000, c.y, 0, 0);
        w.hazards();
        EXPECT_EQ(w.ev.hits, c.hurts ? 1 : 0) << c.dx << ", " << c.y;
    }
}

TEST(Crusher, ExtensionProfile) {
    struct Case {
        float phase, extension;
    };
    const Case cases[] = {{0.0f, 0},   {1.99f, 0},  {2.0f, 0},    {2.06f, 0.5f}, {2.12f, 1},
                          {2.3f, 1},   {2.5f, 1},   {2.75f, 0.5f}, {2.99f, 0.02f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phase);
        EXPECT_NEAR(crusherExtension(c.phase), c.extension, 1e-4);
        Hazard h = hazardAt(HazardKind::Crusher, 0, kGround, 90, 230, c.phase + 3 * 4);
        EXPECT_NEAR(crusherBottom(h, kGround), kGround - (1 - c.extension) * 230, 2e-3);
    }
}

TEST(Crusher, HurtsUnderItOnlyWhileComingDownAndShakesOnceWhenItLands) {
    ObjectTestWorld w;
    w.level.hazards = {hazardAt(HazardKind::Crusher, 1000, kGround, 90, 230, 0)};
    w.player.hurtTime = 1e9f;  // count the frames it would hurt instead
    int shakes = 0;
    float firstDanger = -1, lastDanger = -1;
    for (int i = 1; i <= 180; ++i) {
        w.ev.clear();
        w.hazards();
        float t = w.level.hazards[0].timer;
        if (w.ev.shake > 0) {
            ++shakes;
            EXPECT_FLOAT_EQ(w.ev.shake, 0.12f);
            EXPECT_NEAR(t, 2.12f, ObjectTestWorld::kDt + 1e-4);
        }
        float bottom = crusherBottom(w.level.hazards[0], kGround);
        bool danger = w.player.y >= bottom - 70 && w.player.y <= bottom + 12;
        if (danger && firstDanger < 0) firstDanger = t;
        if (danger) lastDanger = t;
    }
    EXPECT_EQ(shakes, 1);
    // The standing hero is within reach from partway down the slam until
    // partway up again.
    EXPECT_GT(firstDanger, 2.0f);
    EXPECT_LT(firstDanger, 2.12f);
    EXPECT_GT(lastDanger, 2.5f);
    EXPECT_LT(lastDanger, 3.0f);

    ObjectTestWorld hit;
    hit.level.hazards = {hazardAt(HazardKind::Crusher, 1000 + 45 + 10, kGround, 90, 230, 2.2f)};
    hit.hazards();
    EXPECT_EQ(hit.ev.hits, 1);
    ObjectTestWorld beside;
    beside.level.hazards = {hazardAt(HazardKind::Crusher, 1000 + 45 + 11, kGround, 90, 230, 2.2f)};
    beside.hazards();
    EXPECT_EQ(beside.ev.hits, 0);
    ObjectTestWorld raised;
    raised.level.hazards = {hazardAt(HazardKind::Crusher, 1000, kGround, 90, 230, 1.0f)};
    raised.hazards();
    EXPECT_EQ(raised.ev.hits, 0);
}

TEST(Stalactite, FallsWhenTheHeroPassesAndShattersOnTheGround) {
    ObjectTestWorld w;
    w.standAt(0, 1200);
    w.level.hazards = {hazardAt(HazardKind::Stalactite, 1000, kGround - 420, 0, 0, 0)};
    w.hazards();
    EXPECT_FALSE(w.level.hazards[0].falling);
    w.standAt(0, 1130);
    w.hazards();
    EXPECT_TRUE(w.level.hazards[0].falling);
    w.player.x = 3000;
    for (int i = 0; i < 120 && !w.level.hazards[0].shattered; ++i) w.hazards();
    const Hazard& s = w.level.hazards[0];
    ASSERT_TRUE(s.shattered);
    EXPECT_GE(s.y + 20, kGround);
    EXPECT_EQ(w.fx.particles.size(), 12u);
    ASSERT_EQ(w.ev.sounds.size(), 1u);
    EXPECT_EQ(w.ev.sounds[0].sound, ObjectSound::Stomp);
    EXPECT_FLOAT_EQ(w.ev.sounds[0].pitch, 1.5f);
}

TEST(Stalactite, HurtsOnTheWayDownNotOnceShattered) {
    ObjectTestWorld w;
    w.level.hazards = {hazardAt(HazardKind::Stalactite, 1000, kGround - 420, 0, 0, 0)};
    for (int i = 0; i < 120 && w.ev.hits == 0; ++i) w.hazards();
    EXPECT_EQ(w.ev.hits, 1);
    EXPECT_FALSE(w.level.hazards[0].shattered);

    ObjectTestWorld after;
    Hazard done = hazardAt(HazardKind::Stalactite, 1000, kGround - 40, 0, 0, 0);
    done.shattered = true;
    after.level.hazards = {done};
    after.hazards();
    EXPECT_EQ(after.ev.hits, 0);
}

TEST(Updraft, LiftsAndNeverHurts) {
    ObjectTestWorld w;
    w.level.hazards = {hazardAt(HazardKind::Updraft, 1000, kGround, 110, 520, 0)};
    w.player.gliding = true;
    w.hazards();
    EXPECT_FALSE(w.player.grounded);
    EXPECT_FALSE(w.player.gliding);
    EXPECT_NEAR(w.player.vy, -3400 * ObjectTestWorld::kDt, 1e-3);
    for (int i = 0; i < 30; ++i) w.hazards();
    EXPECT_FLOAT_EQ(w.player.vy, -620);
    EXPECT_EQ(w.ev.hits, 0);

    ObjectTestWorld outside;
    outside.level.hazards = {hazardAt(HazardKind::Updraft, 1056, kGround, 110, 520, 0)};
    outside.hazards();
    EXPECT_TRUE(outside.player.grounded);
}

TEST(Wisp, FollowsItsFigureOfEightAndHurtsNearby) {
    Hazard h = hazardAt(HazardKind::Wisp, 1000, 400, 0, 0, 0);
    EXPECT_EQ(wispAt(h), sf::Vector2f(1090, 400));
    ObjectTestWorld w;
    w.frame.dt = 0;
    w.level.hazards = {h};
    w.airAt(0, 1090 - 38, 400, 0, 0);
    w.hazards();
    EXPECT_EQ(w.ev.hits, 1);
    ObjectTestWorld miss;
    miss.frame.dt = 0;
    miss.level.hazards = {h};
    miss.airAt(0, 1090 - 39, 400, 0, 0);
    miss.hazards();
    EXPECT_EQ(miss.ev.hits, 0);
}

TEST(Hurt, EventsOfAHitAShieldAndALastHeart) {
    ObjectTestWorld w;
    w.level.hazards = {hazardAt(HazardKind::Wisp, 910, 482, 0, 0, 0)};
    w.frame.dt = 0;
    w.player.shield = true;
    w.hazards();
    EXPECT_FALSE(w.player.shield);
    EXPECT_EQ(w.player.hearts, 3);
    EXPECT_EQ(w.ev.hits, 1);
    EXPECT_FLOAT_EQ(w.ev.shake, 0.25f);
    EXPECT_TRUE(w.played(ObjectSound::Hurt));
    EXPECT_FALSE(w.ev.killed);

    w.standAt(0, 1000);
    w.player.hearts = 1;
    w.ev.clear();
    w.hazards();
    EXPECT_TRUE(w.player.dead);
    EXPECT_TRUE(w.ev.killed);
    w.ev.clear();
    w.hazards();  // a dead hero is left alone
    EXPECT_EQ(w.ev.hits, 0);
}

TEST(Stalactite, OverAPitItIsGoneOnceWellBelowTheLowestGround) {
    ObjectTestWorld w;
    w.level.groundPaths = {{{-3000, kGround}, {900, kGround}}, {{1100, kGround}, {6000, kGround}}};
    w.level.hazards = {hazardAt(HazardKind::Stalactite, 1000, kGround - 420, 0, 0, 0)};
    w.standAt(0, 1120);
    int frames = 0;
    while (!w.level.hazards[0].shattered && frames < 600) {
        w.hazards();
        ++frames;
    }
    ASSERT_TRUE(w.level.hazards[0].shattered);
    EXPECT_GT(w.level.hazards[0].y, kGround + 700);
    EXPECT_TRUE(w.ev.sounds.empty());
    EXPECT_TRUE(w.fx.particles.empty());
}
