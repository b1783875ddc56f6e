#include <gtest/gtest.h>

#include <cmath>

#include "gameplay/ObjectTestWorld.h"

namespace {
constexpr float kGround = ObjectTestWorld::kGround;
}

TEST(Springs, LaunchFromAGeneratedSpring) {
    ObjectTestWorld w;
    w.level.springs = {Spring{.x = 1000, .y = kGround, .power = 1250, .sideways = 1}};
    w.player.rolling = true;
    w.items();
    EXPECT_FALSE(w.player.grounded);
    EXPECT_FLOAT_EQ(w.player.vy, -1250);
    EXPECT_FLOAT_EQ(w.player.vx, 1250 * 0.6f);
    EXPECT_FLOAT_EQ(w.player.y, kGround - 42);
    EXPECT_FALSE(w.player.rolling);
    EXPECT_FLOAT_EQ(w.level.springs[0].squash, 1);
    EXPECT_TRUE(w.played(ObjectSound::Spring));

    // Rising past it: no second launch.
    w.ev.clear();
    w.player.vy = -900;
    w.player.y = kGround - 30;
    w.items();
    EXPECT_TRUE(w.ev.sounds.empty());
}

TEST(Springs, GadgetSpringDoesNotThrowItsBuilderTwiceAndExpires) {
    ObjectTestWorld w(7);
    w.player.grounded = false;
    w.player.vy = 10;
    w.player.y = kGround - 30;
    w.level.springs = {gadgetSpringFor(w.player)};
    int launchedOnFrame = -1;
    for (int i = 1; i <= 30 && launchedOnFrame < 0; ++i) {
        w.player.y = kGround - 30;
        w.player.vy = 10;
        w.items();
        if (w.played(ObjectSound::Spring)) launchedOnFrame = i;
    }
    // squash falls from 1 by 4/s: above 0.5 for the first 0.125 s.
    EXPECT_GT(launchedOnFrame * ObjectTestWorld::kDt, 0.12f);
    EXPECT_LT(launchedOnFrame * ObjectTestWorld::kDt, 0.15f);

    w.player.x = 3000;
    for (int i = 0; i < 60 * 3 && !w.level.springs.empty(); ++i) w.items();
    EXPECT_TRUE(w.level.springs.empty());
}

TEST(DashPanels, BoostOnlyOnTheGroundPath) {
    ObjectTestWorld w;
    w.level.dashPanels = {DashPanel{.x = 1010, .direction = -1}};
    w.player.groundSpeed = 300;
    w.items();
    EXPECT_FLOAT_EQ(w.player.groundSpeed, -1100);
    EXPECT_EQ(w.player.facing, -1);
    ASSERT_EQ(w.ev.sounds.size(), 1u);
    EXPECT_FLOAT_EQ(w.ev.sounds[0].pitch, 1.4f);

    w.player.groundSpeed = -1300;  // already faster: kept
    w.items();
    EXPECT_FLOAT_EQ(w.player.groundSpeed, -1300);
    w.player.surface = 0;  // on a ledge over it: nothing
    w.player.groundSpeed = 0;
    w.items();
    EXPECT_FLOAT_EQ(w.player.groundSpeed, 0);
}

TEST(Spikes, HurtOnTheGroundNotAboveOrTransformed) {
    struct Case {
        const char* name;
        float x, y;
        bool transformed;
        bool hurts;
    };
    const Case cases[] = {
        {"standing on them", 1000, kGround - 18, false, true},
        {"at the strip's edge", 1000 + 38, kGround - 18, false, true},
        {"just past the edge", 1000 + 39, kGround - 18, false, false},
        {"jumping over", 1000, kGround - 60, false, false},
        {"transformed", 1000, kGround - 18, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectTestWorld w;
        w.level.spikes = {SpikeStrip{.x = 1000, .width = 64}};
        w.airAt(0, c.x, c.y, 0, 0);
        w.player.transformed = c.transformed;
        w.items();
        EXPECT_EQ(w.ev.hits, c.hurts ? 1 : 0);
        EXPECT_EQ(w.fired("hurt"), c.hurts);
    }
}

TEST(Gems, TakenOnceWithPointsSoundAndSparkle) {
    ObjectTestWorld w;
    w.level.gems = {Gem{.x = 1020, .y = 480}, Gem{.x = 1029, .y = 482}, Gem{.x = 1000, .y = 400}};
    w.frame.doubleGems = true;
    w.items();
    EXPECT_TRUE(w.level.gems[0].taken);
    EXPECT_FALSE(w.level.gems[1].taken);
    EXPECT_FALSE(w.level.gems[2].taken);
    EXPECT_EQ(w.player.gems, 2);
    EXPECT_FALSE(w.player.doubleGems);  // the frame's flag is not left on the player
    EXPECT_EQ(w.ev.score, 10);
    EXPECT_EQ(w.ev.scriptEvents, std::vector<std::string>{"gem"});
    ASSERT_EQ(w.fx.particles.size(), 1u);
    EXPECT_LT(w.fx.particles[0].vy, 0);
    w.items();
    EXPECT_EQ(w.player.gems, 2);
}

TEST(Gems, TwentyFifthGemRestoresAHeart) {
    ObjectTestWorld w;
    w.player.hearts = 2;
    w.player.gemsTowardHeart = 24;
    w.level.gems = {Gem{.x = 1000, .y = 482}};
    w.items();
    EXPECT_EQ(w.player.hearts, 3);
    EXPECT_TRUE(w.played(ObjectSound::PowerUp));
}

TEST(ScatteredGems, NotCollectableForTheirFirstSixTenths) {
    // A gem dropped right at the hero's feet waits out its 0.6 s.
    ObjectTestWorld w;
    ScatteredGem g;
    g.x = 1000;
    g.y = 482;
    g.life = 4.0f;
    w.fx.scatteredGems = {g};
    float collectedAt = -1;
    for (int i = 1; i <= 60 && collectedAt < 0; ++i) {
        w.items();
        if (w.player.gems == 1) collectedAt = float(i) * ObjectTestWorld::kDt;
    }
    EXPECT_GE(collectedAt, 0.6f - 1e-4f);
    EXPECT_LT(collectedAt, 0.6f + ObjectTestWorld::kDt + 1e-4f);
    EXPECT_TRUE(w.fx.scatteredGems.empty());
    EXPECT_TRUE(w.fired("gem"));
}

TEST(ScatteredGems, BounceOnTheGroundAndRunOut) {
    ObjectTestWorld w;
    w.player.x = 3000;
    ScatteredGem g;
    g.x = 1000;
    g.y = kGround - 12;
    g.vx = 100;
    g.vy = 300;
    g.life = 4.0f;
    w.fx.scatteredGems = {g};
    w.items();
    ASSERT_EQ(w.fx.scatteredGems.size(), 1u);
    const ScatteredGem& b = w.fx.scatteredGems[0];
    EXPECT_FLOAT_EQ(b.y, kGround - 10);
    EXPECT_NEAR(b.vy, -0.6f * (300 + 900 * ObjectTestWorld::kDt), 1e-3);
    EXPECT_FLOAT_EQ(b.vx, 90);
    for (int i = 0; i < 60 * 4; ++i) w.items();
    EXPECT_TRUE(w.fx.scatteredGems.empty());
    EXPECT_EQ(w.player.gems, 0);
}

TEST(Monitors, WalkingIntoOneDoesNothingJumpingOnItBreaksIt) {
    ObjectTestWorld w;
    w.level.monitors = {Monitor{.x = 1010, .y = kGround - 22, .kind = MonitorKind::Shield}};
    w.standAt(0, 1000, 200);
    w.items();
    EXPECT_FALSE(w.level.monitors[0].broken);
    EXPECT_EQ(w.player.hearts, 3);
    EXPECT_TRUE(w.ev.sounds.empty());

    w.airAt(0, 1010, kGround - 50, 0, 300);
    w.items();
    EXPECT_TRUE(w.level.monitors[0].broken);
    EXPECT_TRUE(w.player.shield);
    EXPECT_FLOAT_EQ(w.player.vy, -420);
    EXPECT_TRUE(w.played(ObjectSound::Monitor));
    EXPECT_TRUE(w.played(ObjectSound::PowerUp));
    EXPECT_EQ(w.fx.particles.size(), 12u);
}

TEST(Monitors, WhoBreaksThem) {
    struct Case {
        const char* name;
        int hero;
        bool grounded;
        float speed;
        bool rolling, inLoop;
        bool breaks;
    };
    const Case cases[] = {
        {"rolling", 0, true, 400, true, false, true},
        {"standing", 0, true, 0, false, false, false},
        {"hero 4 running", 4, true, 200, false, false, true},
        {"hero 4 standing", 4, true, 0, false, false, false},
        {"in a loop", 0, false, 0, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectTestWorld w;
        w.level.monitors = {Monitor{.x = 1010, .y = kGround - 22, .kind = MonitorKind::ExtraHeart}};
        w.standAt(c.hero, 1000, c.speed);
        w.player.grounded = c.grounded;
        w.player.rolling = c.rolling;
        w.player.loopIndex = c.inLoop ? 0 : -1;
        w.items();
        EXPECT_EQ(w.level.monitors[0].broken, c.breaks);
    }
}

TEST(Monitors, Contents) {
    struct Case {
        int kind;
        const char* toast;
    };
    const Case cases[] = {{MonitorKind::TenGems, nullptr},
                          {MonitorKind::Shield, nullptr},
                          {MonitorKind::SpeedShoes, "Speed Shoes!"},
                          {MonitorKind::ExtraHeart, nullptr},
                          {MonitorKind::Invincibility, "Invincible!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ObjectTestWorld w;
        w.level.monitors = {Monitor{.x = 1000, .y = kGround - 22, .kind = c.kind}};
        w.standAt(0, 1000, 400);
        w.player.rolling = true;
        w.player.hearts = 2;
        w.items();
        ASSERT_TRUE(w.level.monitors[0].broken);
        EXPECT_FLOAT_EQ(w.player.vy, 0);  // no bounce on the ground
        EXPECT_EQ(w.player.gems, c.kind == MonitorKind::TenGems ? 10 : 0);
        EXPECT_EQ(w.ev.score, c.kind == MonitorKind::TenGems ? 100 : 0);
        EXPECT_EQ(w.player.shield, c.kind == MonitorKind::Shield);
        EXPECT_FLOAT_EQ(w.player.speedShoesTime, c.kind == MonitorKind::SpeedShoes ? 15 : 0);
        EXPECT_FLOAT_EQ(w.player.invincibleTime, c.kind == MonitorKind::Invincibility ? 15 : 0);
        EXPECT_EQ(w.player.hearts, c.kind == MonitorKind::ExtraHeart ? 3 : 2);
        if (c.toast)
            EXPECT_EQ(w.ev.toasts, std::vector<std::string>{c.toast});
        else
            EXPECT_TRUE(w.ev.toasts.empty());
    }
}

TEST(Checkpoints, ReachedOnceSetsTheRespawnPoint) {
    ObjectTestWorld w;
    w.level.checkpoints = {Checkpoint{.x = 1020, .y = kGround}};
    w.items();
    ASSERT_TRUE(w.level.checkpoints[0].reached);
    ASSERT_TRUE(w.ev.respawnPoint);
    EXPECT_EQ(*w.ev.respawnPoint, sf::Vector2f(1020, kGround - 40));
    EXPECT_TRUE(w.fired("checkpoint"));
    EXPECT_TRUE(w.played(ObjectSound::Checkpoint));
    EXPECT_EQ(w.fx.particles.size(), 16u);

    w.ev.clear();
    w.items();
    EXPECT_FALSE(w.ev.respawnPoint);
    EXPECT_TRUE(w.ev.scriptEvents.empty());
    EXPECT_NEAR(w.level.checkpoints[0].spin, 4 * ObjectTestWorld::kDt, 1e-5);
}

TEST(StonePortals, MarkedUsedAndReportedOnce) {
    ObjectTestWorld w;
    w.level.stonePortals = {StonePortal{.x = 1300, .y = 400}, StonePortal{.x = 1040, .y = 460}};
    w.items();
    EXPECT_EQ(w.ev.stonePortals, std::vector<int>{1});
    EXPECT_TRUE(w.level.stonePortals[1].used);
    EXPECT_FALSE(w.level.stonePortals[0].used);
    w.ev.clear();
    w.items();
    EXPECT_TRUE(w.ev.stonePortals.empty());
}

TEST(Crumblers, FallenCrumblerIsIgnoredByCollisionButStaysInTheList) {
    ObjectTestWorld w;
    w.level.groundPaths = {{{-3000, 900}, {6000, 900}}};
    w.level.lowestGroundY = 900;
    Platform ledge{.x1 = 900, .y1 = 400, .x2 = 1100, .y2 = 400, .crumbles = true};
    Platform other{.x1 = 1500, .y1 = 300, .x2 = 1600, .y2 = 300};
    w.level.platforms = {ledge, other};
    w.player = makePlayer(0, {1000, 400 - 18});
    w.player.grounded = true;
    w.player.surface = 0;
    w.player.groundSpeed = 120;

    PlayerInput none;
    updatePlayer(w.player, none, w.level, ObjectTestWorld::kDt, w.frame.time);  // stepping on starts the timer
    ASSERT_TRUE(w.player.grounded);
    EXPECT_GT(w.level.platforms[0].crumbleTimer, 0);
    int frames = 0;
    while (!w.level.platforms[0].fallen && frames < 120) {
        w.items();
        ++frames;
    }
    EXPECT_NEAR(frames * ObjectTestWorld::kDt, 0.6f, 2 * ObjectTestWorld::kDt);
    ASSERT_EQ(w.level.platforms.size(), 2u);
    EXPECT_FALSE(w.player.grounded);
    EXPECT_EQ(w.player.surface, -1);
    EXPECT_FLOAT_EQ(w.player.vx, w.player.groundSpeed);
    EXPECT_FLOAT_EQ(w.player.vy, 0);
    EXPECT_EQ(w.fx.particles.size(), 10u);
    EXPECT_FALSE(platformCovers(w.level.platforms[0], 1000, w.frame.time));

    // The hero falls through where the ledge was and lands on the ground.
    for (int i = 0; i < 120 && !w.player.grounded; ++i) {
        updatePlayer(w.player, none, w.level, ObjectTestWorld::kDt, w.frame.time);
        w.advance();
    }
    EXPECT_TRUE(w.player.grounded);
    EXPECT_EQ(w.player.surface, -1);
    EXPECT_NEAR(w.player.y, 900 - 18, 0.01f);

    restoreAfterRespawn(w.level, w.fx);
    EXPECT_FALSE(w.level.platforms[0].fallen);
    EXPECT_FLOAT_EQ(w.level.platforms[0].crumbleTimer, -1);
}

TEST(Effects, ParticlesSlowFallAndFade) {
    Level l;
    Effects fx;
    Particle q;
    q.vx = 100;
    q.gravity = 600;
    q.life = q.maxLife = 0.5f;
    fx.particles = {q};
    updateEffectLists(l, fx, 0.1f);
    ASSERT_EQ(fx.particles.size(), 1u);
    EXPECT_FLOAT_EQ(fx.particles[0].x, 10);
    EXPECT_FLOAT_EQ(fx.particles[0].vx, 85);
    EXPECT_FLOAT_EQ(fx.particles[0].vy, 60 * 0.85f);
    for (int i = 0; i < 5; ++i) updateEffectLists(l, fx, 0.1f);
    EXPECT_TRUE(fx.particles.empty());
}

TEST(Effects, CrittersHopAlongTheGround) {
    Level l;
    l.groundPaths = {{{-1000, 500}, {1000, 500}}};
    Effects fx;
    fx.critters = {Critter{.x = 0, .y = 480, .vx = 120, .vy = -300, .life = 3}};
    int hops = 0;
    float lowest = 0;
    for (int i = 0; i < 170; ++i) {
        float vy = fx.critters[0].vy;
        updateEffectLists(l, fx, 1.0f / 60);
        if (fx.critters[0].vy == -320 && vy > 0) ++hops;
        lowest = std::max(lowest, fx.critters[0].y);
    }
    EXPECT_GE(hops, 2);
    EXPECT_LE(lowest, 500 - 6);
    for (int i = 0; i < 20; ++i) updateEffectLists(l, fx, 1.0f / 60);
    EXPECT_TRUE(fx.critters.empty());
}
