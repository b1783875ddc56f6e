#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PlayerFixtures.h"

using namespace fixture;

TEST(PlayerHurt, MercyTimeAfterAHitThenHurtableAgain) {
    Level level = flatLevel();
    Player p = standingAt(2, 0, 400);
    p.gems = 5;
    std::vector<ScatteredGem> scattered;
    EXPECT_EQ(hurt(p, scattered), HurtResult::Hit);
    EXPECT_EQ(p.hearts, 2);
    EXPECT_FLOAT_EQ(p.hurtTime, 2.0f);
    EXPECT_FALSE(p.grounded);
    EXPECT_FLOAT_EQ(p.vx, -260);
    EXPECT_FLOAT_EQ(p.vy, -460);
    EXPECT_EQ(hurt(p, scattered), HurtResult::Ignored);
    EXPECT_EQ(p.hearts, 2);

    float t = run(p, level, 119, {});
    EXPECT_EQ(hurt(p, scattered), HurtResult::Ignored);  // still 1/60 s left
    run(p, level, 2, {}, t);
    EXPECT_EQ(hurt(p, scattered), HurtResult::Hit);
    EXPECT_EQ(p.hearts, 1);
}

TEST(PlayerHurt, WhatIgnoresAHit) {
    std::vector<ScatteredGem> scattered;
    struct Case { const char* name; void (*set)(Player&); };
    const Case cases[] = {
        {"mercy", [](Player& p) { p.hurtTime = 0.5f; }},
        {"form", [](Player& p) { p.transformed = true; }},
        {"invincible", [](Player& p) { p.invincibleTime = 3; }},
        {"blink", [](Player& p) { p.blinkTime = 0.2f; }},
        {"dead", [](Player& p) { p.dead = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player p = makePlayer(0, {0, 0});
        c.set(p);
        EXPECT_EQ(hurt(p, scattered), HurtResult::Ignored);
        EXPECT_EQ(p.hearts, 3);
    }
    Player late = makePlayer(8, {0, 0});
    late.blinkTime = 0.1f;  // the end of a blink no longer protects
    EXPECT_EQ(hurt(late, scattered), HurtResult::Hit);
}

TEST(PlayerHurt, ShieldOneHitAndTheLastHeart) {
    std::vector<ScatteredGem> scattered;
    Player s = makePlayer(0, {0, 0});
    s.shield = true;
    s.gems = 30;
    EXPECT_EQ(hurt(s, scattered), HurtResult::Shielded);
    EXPECT_FALSE(s.shield);
    EXPECT_EQ(s.hearts, 3);
    EXPECT_EQ(s.gems, 30);
    EXPECT_FLOAT_EQ(s.hurtTime, 1.5f);
    EXPECT_TRUE(scattered.empty());

    PlayerModifiers mods;
    mods.oneHit = true;
    Player o = makePlayer(0, {0, 0}, mods);
    o.shield = true;
    EXPECT_EQ(hurt(o, scattered), HurtResult::Killed);
    EXPECT_TRUE(o.dead);
    EXPECT_FALSE(o.shield);

    Player last = makePlayer(0, {0, 0});
    last.hearts = 1;
    EXPECT_EQ(hurt(last, scattered), HurtResult::Killed);
    EXPECT_TRUE(last.dead);
    EXPECT_EQ(last.hearts, 0);
}

TEST(PlayerHurt, UpToTwelveGemsFlyOutInAFan) {
    struct Case { int gems, scattered, left; };
    const Case cases[] = {{0, 0, 0}, {5, 5, 0}, {12, 12, 0}, {40, 12, 28}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gems);
        std::vector<ScatteredGem> scattered;
        Player p = makePlayer(0, {100, 200});
        p.gems = c.gems;
        hurt(p, scattered);
        EXPECT_EQ(int(scattered.size()), c.scattered);
        EXPECT_EQ(p.gems, c.left);
        for (std::size_t i = 0; i < scattered.size(); ++i) {
            float a = (float(i) - float(c.scattered) / 2) * 0.35f - kPi / 2;
            EXPECT_FLOAT_EQ(scattered[i].x, 100);
            EXPECT_FLOAT_EQ(scattered[i].life, 4);
            EXPECT_NEAR(scattered[i].vx, 320 * std::cos(a), 1e-3);
            EXPECT_NEAR(scattered[i].vy, 420 * std::sin(a) - 100, 1e-3);
        }
    }
}

TEST(PlayerGems, HeartMeterAndDoubleGems) {
    Player p = makePlayer(0, {0, 0});
    p.hearts = 2;
    for (int i = 0; i < 24; ++i) EXPECT_FALSE(collectGem(p).heartRestored);
    GemPickup g = collectGem(p);
    EXPECT_TRUE(g.heartRestored);
    EXPECT_EQ(p.hearts, 3);
    EXPECT_EQ(p.gemsTowardHeart, 0);
    EXPECT_EQ(p.gems, 25);
    EXPECT_FLOAT_EQ(g.pitch, 1.0f);
    EXPECT_EQ(g.points, 10);
    for (int i = 0; i < 25; ++i) EXPECT_FALSE(collectGem(p).heartRestored);  // already full
    EXPECT_EQ(p.hearts, 3);

    PlayerModifiers mods;
    mods.doubleGems = true;
    Player d = makePlayer(0, {0, 0}, mods);
    GemPickup first = collectGem(d);
    EXPECT_EQ(d.gems, 2);
    EXPECT_EQ(d.gemsTowardHeart, 1);
    EXPECT_FLOAT_EQ(first.pitch, 1.06f);
}

TEST(PlayerPowerUps, MonitorContents) {
    Player p = makePlayer(0, {0, 0});
    p.hearts = 2;
    EXPECT_FALSE(givePowerUp(p, MonitorKind::TenGems));
    EXPECT_TRUE(givePowerUp(p, MonitorKind::Shield));
    EXPECT_TRUE(p.shield);
    EXPECT_TRUE(givePowerUp(p, MonitorKind::SpeedShoes));
    EXPECT_FLOAT_EQ(p.speedShoesTime, 15);
    EXPECT_TRUE(givePowerUp(p, MonitorKind::ExtraHeart));
    EXPECT_TRUE(givePowerUp(p, MonitorKind::ExtraHeart));
    EXPECT_EQ(p.hearts, 3);
    EXPECT_TRUE(givePowerUp(p, MonitorKind::Invincibility));
    EXPECT_FLOAT_EQ(p.invincibleTime, 15);
    EXPECT_FALSE(givePowerUp(p, 99));
}

TEST(PlayerDeath, FallThenRespawnWithSameHeroAndMods) {
    PlayerModifiers mods;
    mods.gravity = 0.5f;
    mods.speed = 1.5f;
    mods.jump = 2;
    mods.oneHit = true;
    Player p = makePlayer(5, {0, 0}, mods);
    p.gems = 40;
    p.transformed = true;
    p.dead = true;
    DeathFallStep first = updateDeathFall(p, kDt);
    EXPECT_TRUE(first.started);
    EXPECT_FALSE(first.respawnDue);
    EXPECT_FLOAT_EQ(p.vx, 0);
    EXPECT_NEAR(p.vy, -700 + 1900 * kDt, 1e-3);
    int frames = 1;
    DeathFallStep step;
    while (!(step = updateDeathFall(p, kDt)).respawnDue && frames < 1000) {
        EXPECT_FALSE(step.started);
        ++frames;
    }
    EXPECT_NEAR(frames + 1, 96, 1);  // 1.6 s

    Player r = respawnPlayer(p, {500, 300});
    EXPECT_EQ(r.hero, 5);
    EXPECT_FALSE(r.dead);
    EXPECT_EQ(r.hearts, 3);
    EXPECT_EQ(r.gems, 0);
    EXPECT_FALSE(r.transformed);
    EXPECT_FLOAT_EQ(r.hurtTime, 1.5f);
    EXPECT_FLOAT_EQ(r.x, 500);
    EXPECT_FLOAT_EQ(r.gravityScale, 0.5f);
    EXPECT_FLOAT_EQ(r.speedScale, 1.5f);
    EXPECT_FLOAT_EQ(r.jumpScale, 2);
    EXPECT_TRUE(r.oneHit);
    EXPECT_EQ(r.facing, 1);
}

TEST(PlayerForm, TransformOnlyInTheAirWithAllStonesAndFiftyGems) {
    struct Case { bool pressed, grounded; std::uint32_t secret, divine; int gems; bool ok, divineForm; };
    const Case cases[] = {
        {true, false, 0x7F, 0, 50, true, false},   {true, false, 0x7F, 0x7F, 50, true, true},
        {false, false, 0x7F, 0, 50, false, false}, {true, true, 0x7F, 0, 50, false, false},
        {true, false, 0x3F, 0, 99, false, false},  {true, false, 0x7F, 0, 49, false, false},
        {true, false, 0xFF, 0x3F, 50, true, false},
    };
    for (const Case& c : cases) {
        Player p = makePlayer(0, {0, 0});
        p.grounded = c.grounded;
        p.gems = c.gems;
        EXPECT_EQ(tryTransform(p, c.pressed, c.secret, c.divine), c.ok);
        EXPECT_EQ(p.transformed, c.ok);
        EXPECT_EQ(p.divine, c.divineForm);
    }
    Player again = makePlayer(0, {0, 0});
    again.gems = 80;
    again.transformed = true;
    EXPECT_FALSE(tryTransform(again, true, 0x7F, 0));
}

TEST(PlayerForm, DrainsAGemASecondAndEndsAtZero) {
    Player p = makePlayer(0, {0, 0});
    p.gems = 3;
    p.transformed = p.divine = true;
    float t = 0;
    int sparkles = 0;
    bool ended = false;
    int frames = 0;
    while (!ended && frames < 1000) {
        t += kDt;
        FormUpkeep u = updateForm(p, kDt, t);
        sparkles += u.sparkle ? 1 : 0;
        if (u.sparkle) {
            EXPECT_TRUE(u.rainbowSparkle);
        }
        ended = u.ended;
        ++frames;
        if (frames == 61) {
            EXPECT_EQ(p.gems, 2);
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_NEAR(frames, 180, 1);
    EXPECT_EQ(p.gems, 0);
    EXPECT_FALSE(p.transformed);
    EXPECT_FALSE(p.divine);
    EXPECT_NEAR(sparkles, 45, 2);  // fifteen a second
}

TEST(PlayerForm, EveryOtherTick) {
    // 60 frames a second, ticks 30 a second: one frame in four.
    int hits = 0;
    float clock = 0;
    for (int i = 1; i <= 600; ++i) {
        float before = clock;
        clock += 1 / 60.0f;
        hits += everyOtherTick(before, clock, 30) ? 1 : 0;
    }
    EXPECT_NEAR(hits, 150, 1);
    EXPECT_TRUE(everyOtherTick(0.5f, 1.0f, 30));  // a long frame crosses an even tick
    EXPECT_FALSE(everyOtherTick(1.0f, 1.0f, 30));
    EXPECT_FALSE(everyOtherTick(1.0f / 30 + 0.001f, 2.0f / 30 - 0.001f, 30));
}

TEST(PlayerStep, TimersCountDownToZeroAndEventsAreFresh) {
    Level level = flatLevel();
    Player p = standingAt(2, 0, 400);
    p.hurtTime = 0.01f;
    p.speedShoesTime = 1;
    p.flapAnim = 1;
    p.squash = 0.4f;
    run(p, level, 1, {.jump = true});
    EXPECT_EQ(p.events.size(), 1u);
    EXPECT_FLOAT_EQ(p.hurtTime, 0);
    EXPECT_NEAR(p.speedShoesTime, 1 - kDt, 1e-6);
    EXPECT_NEAR(p.flapAnim, 1 - 4 * kDt, 1e-6);
    run(p, level, 1, {.jump = true}, kDt, {.jump = true});
    EXPECT_TRUE(p.events.empty());
}

TEST(PlayerStep, BadHeroIndexAndEmptyLevelAreHarmless) {
    Level empty;
    Player p = makePlayer(42, {0, 0});
    EXPECT_EQ(p.hero, 8);
    p.hero = -3;  // changed behind its back: reads as hero 0
    run(p, empty, 120, {.right = true, .jump = true});
    EXPECT_TRUE(p.dead);  // nothing to stand on: fell 700 below y 0

    Player q = standingAt(2, 0, 400);
    q.surface = 7;  // a ledge that is not there
    run(q, empty, 1, {});
    EXPECT_FALSE(q.grounded);
}

TEST(PlayerHoming, SearchTakesTheNearestAheadAndTheBossFromFurther) {
    Level level;
    Baddie behind;
    behind.x = -60;  // more than 20 behind a player facing right
    Baddie far;
    far.x = 330;
    far.y = 100;     // 347 away: out of range
    Baddie broken;
    broken.x = 50;
    broken.alive = false;
    Baddie near;
    near.x = 200;
    level.enemies = {behind, far, broken, near};
    Monitor m;
    m.x = -15;       // 15 behind is still fine
    m.y = 250;
    level.monitors = {m};

    auto t = findHomingTarget(level, {0, 0}, 1);
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(t->x, 200);
    auto left = findHomingTarget(level, {0, 0}, -1);
    ASSERT_TRUE(left);
    EXPECT_FLOAT_EQ(left->x, -60);
    EXPECT_TRUE(findHomingTarget(level, {0, 0}, 1, sf::Vector2f(150, 0)));
    EXPECT_FLOAT_EQ(findHomingTarget(level, {0, 0}, 1, sf::Vector2f(150, 0))->x, 150);
    EXPECT_FLOAT_EQ(findHomingTarget(level, {0, 0}, 1, sf::Vector2f(500, 0))->x, 200);
    Level empty;
    EXPECT_FALSE(findHomingTarget(empty, {0, 0}, 1));
    EXPECT_TRUE(findHomingTarget(empty, {0, 0}, 1, sf::Vector2f(-500, 0)));
}

TEST(PlayerEvents, EachCodeMapsToItsSoundScriptEventAndParticles) {
    Player p = makePlayer(0, {100, 200});
    p.charge = 0.5f;
    p.blinkFrom = {40, 190};
    struct Case { PlayerEvent e; int sound; float pitch; std::string script; int particles; };
    const Case cases[] = {
        {PlayerEvent::Jump, 0, 1, "jump", 0},           {PlayerEvent::Roll, 8, 1.3f, "", 0},
        {PlayerEvent::SpinRev, 6, 1.3f, "", 0},         {PlayerEvent::SpinRelease, 7, 1, "ability", 10},
        {PlayerEvent::Flap, 18, 1, "ability", 0},       {PlayerEvent::GlideStart, 8, 1, "ability", 0},
        {PlayerEvent::Slam, 8, 0.7f, "ability", 0},     {PlayerEvent::SlamBounce, 16, 1, "", 12},
        {PlayerEvent::HomingDash, 17, 1, "ability", 0}, {PlayerEvent::FlameDash, 15, 1, "ability", 0},
        {PlayerEvent::GadgetSpring, 3, 1, "ability", 0}, {PlayerEvent::Blink, 14, 1, "ability", 16},
        {PlayerEvent::HardLanding, -1, 1, "", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.e));
        PlayerEventEffect fx = playerEventEffect(c.e, p);
        EXPECT_EQ(fx.sound, c.sound);
        EXPECT_FLOAT_EQ(fx.pitch, c.pitch);
        EXPECT_EQ(std::string(fx.scriptEvent), c.script);
        EXPECT_EQ(fx.particles, c.particles);
        if (c.e == PlayerEvent::Blink) {
            EXPECT_FLOAT_EQ(fx.at.x, 40);
            EXPECT_EQ(fx.color, sf::Color(255, 215, 0));
        } else {
            EXPECT_FLOAT_EQ(fx.at.y, 218);  // at the feet
        }
    }
}
