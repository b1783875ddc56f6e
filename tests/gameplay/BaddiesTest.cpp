#include <gtest/gtest.h>

#include <cmath>

#include "content/Heroes.h"
#include "gameplay/ObjectTestWorld.h"

namespace {

constexpr float kOnGround = ObjectTestWorld::kGround - 16;

}  // namespace

TEST(BaddieContact, LandingOnASpikerHurtsUnlessInvincibleTransformedOrSlamming) {
    struct Case {
        const char* name;
        bool invincible, transformed, slamming;
        bool breaks;
    };
    const Case cases[] = {
        {"spin jump", false, false, false, false},
        {"invincible", true, false, false, true},
        {"transformed", false, true, false, true},
        {"slamming", false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectTestWorld w;
        w.level.enemies = {baddieAt(BaddieKind::Spiker, 1000, kOnGround)};
        w.airAt(0, 1000, kOnGround - 24, 0, 400);
        w.player.spinning = true;  // attacking, but the spikes are on top
        w.player.slamming = c.slamming;
        w.player.transformed = c.transformed;
        if (c.invincible) w.player.invincibleTime = 5;
        w.baddies();
        EXPECT_EQ(!w.level.enemies[0].alive, c.breaks);
        EXPECT_EQ(w.ev.hits, c.breaks ? 0 : 1);
        EXPECT_EQ(w.player.hearts, c.breaks ? 3 : 2);
        EXPECT_EQ(w.fired("stomp"), c.breaks);
        EXPECT_EQ(w.fired("hurt"), !c.breaks);
        if (c.breaks) {
            EXPECT_EQ(w.ev.score, 100);
            EXPECT_LT(w.player.vy, 0);  // bounced off
        }
    }
}

TEST(BaddieContact, RollingBreaksACrawlerAndKeepsRolling) {
    ObjectTestWorld w;
    w.level.enemies = {baddieAt(BaddieKind::Crawler, 1010, kOnGround)};
    w.standAt(0, 1000, 700);
    w.player.rolling = true;
    w.baddies();
    ASSERT_FALSE(w.level.enemies[0].alive);
    EXPECT_TRUE(w.player.rolling);
    EXPECT_TRUE(w.player.grounded);
    EXPECT_FLOAT_EQ(w.player.groundSpeed, 700);
    EXPECT_EQ(w.player.hearts, 3);
    EXPECT_EQ(w.ev.baddiesBroken, 1);
    EXPECT_EQ(w.ev.score, 100);
    EXPECT_TRUE(w.played(ObjectSound::Stomp));
    ASSERT_EQ(w.fx.critters.size(), 1u);
    EXPECT_GT(w.fx.critters[0].vx, 0);  // leaps away from the player
    EXPECT_EQ(w.fx.particles.size(), 15u);  // fourteen sparks and the flash
}

TEST(BaddieContact, WhoBreaksACrawlerOnTheGround) {
    struct Case {
        const char* name;
        int hero;
        float speed;
        bool breaks;
    };
    const Case cases[] = {
        {"walking", 0, 200, false},
        {"standing hero 4", 4, 0, false},
        {"running hero 4", 4, 200, true},
        {"hero 4 just above 60", 4, 61, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectTestWorld w;
        w.level.enemies = {baddieAt(BaddieKind::Crawler, 1010, kOnGround)};
        w.standAt(c.hero, 1000, c.speed);
        w.baddies();
        EXPECT_EQ(!w.level.enemies[0].alive, c.breaks);
        EXPECT_EQ(w.player.hearts, c.breaks ? 3 : 2);
    }
}

TEST(BaddieContact, TheBlinkSegmentBreaksEverythingAlongIt) {
    ObjectTestWorld w(8);
    w.level.enemies = {baddieAt(BaddieKind::Crawler, 900, kOnGround), baddieAt(BaddieKind::Spiker, 950, kOnGround),
                       baddieAt(BaddieKind::Crawler, 1150, kOnGround)};
    w.player.blinkFrom = {820, 482};
    w.player.blinkTo = {1000, 482};
    w.player.blinkTime = 0.3f;
    w.baddies();
    EXPECT_FALSE(w.level.enemies[0].alive);
    EXPECT_FALSE(w.level.enemies[1].alive);
    EXPECT_TRUE(w.level.enemies[2].alive);
    EXPECT_EQ(w.ev.baddiesBroken, 2);
    EXPECT_EQ(w.ev.hits, 0);
    // The critters take the next colours of the cycle after the counter so far.
    EXPECT_EQ(w.fx.critters[0].color, critterColor(1));
    EXPECT_EQ(w.fx.critters[1].color, critterColor(2));
}

TEST(BaddieContact, BounceIsHigherWithJumpHeld) {
    for (bool held : {false, true}) {
        ObjectTestWorld w;
        w.level.enemies = {baddieAt(BaddieKind::Crawler, 1000, kOnGround)};
        w.airAt(5, 1000, kOnGround - 20, 100, 300);
        w.player.homingUsed = true;
        w.frame.jumpHeld = held;
        w.baddies();
        EXPECT_FALSE(w.level.enemies[0].alive);
        EXPECT_FLOAT_EQ(w.player.vy, held ? -560 : -420);
        EXPECT_FALSE(w.player.homingUsed);
    }
}

TEST(Baddies, FarAwayBaddieIsFrozenWithItsTimers) {
    ObjectTestWorld w;
    Baddie far = baddieAt(BaddieKind::Buzzer, 1000 + 901, 300);
    far.timer = 1.0f;
    far.cooldown = 0.5f;
    Baddie near = baddieAt(BaddieKind::Buzzer, 1000 - 899, 300);
    near.timer = 1.0f;
    w.level.enemies = {far, near};
    for (int i = 0; i < 60; ++i) w.baddies();
    const Baddie& f = w.level.enemies[0];
    EXPECT_FLOAT_EQ(f.x, far.x);
    EXPECT_FLOAT_EQ(f.y, far.y);
    EXPECT_FLOAT_EQ(f.timer, 1.0f);
    EXPECT_FLOAT_EQ(f.cooldown, 0.5f);
    EXPECT_NEAR(w.level.enemies[1].timer, 2.0f, 1e-3);
    EXPECT_NE(w.level.enemies[1].x, near.x);
}

TEST(Baddies, CrawlerTurnsAtAPitAndAtTheEndOfItsBeat) {
    ObjectTestWorld w;
    w.standAt(0, 400);
    w.level.groundPaths = {{{-500, 500}, {1040, 500}}, {{1200, 500}, {3000, 500}}};
    w.level.enemies = {baddieAt(BaddieKind::Crawler, 1000, 400)};
    w.level.enemies[0].dir = 1;
    float minX = 1e9f, maxX = -1e9f;
    for (int i = 0; i < 60 * 10; ++i) {
        w.baddies();
        minX = std::min(minX, w.level.enemies[0].x);
        maxX = std::max(maxX, w.level.enemies[0].x);
    }
    EXPECT_FLOAT_EQ(w.level.enemies[0].y, kOnGround);
    EXPECT_LE(maxX + 16, 1040 + 0.01f);  // never walks off into the pit
    EXPECT_GE(minX, 1000 - 160 - 0.01f);
    EXPECT_LT(minX, 1000 - 150);  // and walks its beat the other way
}

TEST(Baddies, TurretShellLandsWhereTheStandingPlayerStood) {
    ObjectTestWorld w;
    w.level.enemies = {baddieAt(BaddieKind::Turret, 1000, ObjectTestWorld::kGround - 22)};
    w.standAt(0, 1400);
    const sf::Vector2f stood(w.player.x, w.player.y);
    float hitAt = -1;
    for (int i = 1; i <= 90 && hitAt < 0; ++i) {
        if (i == 1) {
            w.baddies();
            ASSERT_EQ(w.fx.projectiles.size(), 1u);
            EXPECT_EQ(w.level.enemies[0].dir, 1);
            continue;
        }
        Projectile before = w.fx.projectiles.empty() ? Projectile{} : w.fx.projectiles[0];
        w.baddies();
        if (w.ev.hits > 0) {
            hitAt = float(i) * ObjectTestWorld::kDt;
            EXPECT_NEAR(before.x, stood.x, 30);
            EXPECT_NEAR(before.y, stood.y, 30);
        }
    }
    EXPECT_NEAR(hitAt, 1.0f, 0.1f);
    EXPECT_TRUE(w.fx.projectiles.empty());
}

TEST(Baddies, BomberBombNeverHurtsHeroSix) {
    for (int hero = 0; hero < kHeroCount; ++hero) {
        SCOPED_TRACE(hero);
        ObjectTestWorld w(hero);
        w.level.enemies = {baddieAt(BaddieKind::Bomber, 1000, ObjectTestWorld::kGround - 260)};
        w.baddies();
        ASSERT_EQ(w.fx.projectiles.size(), 1u);
        EXPECT_EQ(w.fx.projectiles[0].kind, 1);
        for (int i = 0; i < 60; ++i) w.baddies();
        EXPECT_EQ(w.ev.hits, hero == 6 ? 0 : 1);
    }
}

TEST(Baddies, BuzzerShootsStraightAtThePlayer) {
    ObjectTestWorld w;
    w.level.enemies = {baddieAt(BaddieKind::Buzzer, 1200, 300)};
    w.baddies();
    ASSERT_EQ(w.fx.projectiles.size(), 1u);
    const Projectile& s = w.fx.projectiles[0];
    EXPECT_FALSE(s.gravity);
    EXPECT_NEAR(std::hypot(s.vx, s.vy), 260, 0.5f);
    // Pointing from the muzzle at the player.
    sf::Vector2f to(w.player.x - s.x, w.player.y - s.y);
    EXPECT_NEAR(s.vx * to.y - s.vy * to.x, 0, 1e-2 * std::hypot(to.x, to.y) * 260);
    EXPECT_NEAR(w.level.enemies[0].cooldown, 2.4f, 1e-4);
}

TEST(Baddies, HopperJumpsAtThePlayerAndDiesInAPit) {
    ObjectTestWorld w;
    w.level.enemies = {baddieAt(BaddieKind::Hopper, 1300, kOnGround)};
    const Baddie& h = w.level.enemies[0];
    for (int i = 0; i < 20 && h.vy >= 0; ++i) w.baddies();  // settles 15 above the ground first
    EXPECT_FLOAT_EQ(h.vy, -560);
    EXPECT_FLOAT_EQ(h.vx, -140);
    EXPECT_EQ(h.dir, -1);

    ObjectTestWorld pit;
    pit.level.groundPaths = {{{-500, 500}, {1000, 500}}};
    pit.standAt(0, 900);
    pit.level.enemies = {baddieAt(BaddieKind::Hopper, 1100, 300)};
    pit.level.enemies[0].cooldown = 100;
    for (int i = 0; i < 120 && pit.level.enemies[0].alive; ++i) pit.baddies();
    EXPECT_FALSE(pit.level.enemies[0].alive);
    EXPECT_GT(pit.level.enemies[0].y, 500 + 300);
    EXPECT_EQ(pit.ev.baddiesBroken, 0);  // falling is not breaking
}

TEST(Baddies, NoBaddiesFlagStopsThePass) {
    ObjectTestWorld w;
    w.level.enemies = {baddieAt(BaddieKind::Crawler, 1000, kOnGround)};
    w.frame.noBaddies = true;
    w.baddies();
    EXPECT_TRUE(w.level.enemies[0].alive);
    EXPECT_EQ(w.ev.hits, 0);
}

TEST(Projectiles, FireBurstsOnTheGroundAndShotsHurtOnce) {
    ObjectTestWorld w;
    w.standAt(0, 0);
    Projectile bomb;
    bomb.x = 1000;
    bomb.y = 490;
    bomb.vy = 100;
    bomb.kind = 1;
    bomb.radius = 9;
    bomb.gravity = true;
    bomb.life = 5;
    w.fx.projectiles = {bomb};
    w.baddies();
    EXPECT_TRUE(w.fx.projectiles.empty());
    EXPECT_EQ(w.fx.particles.size(), 10u);

    ObjectTestWorld s;
    Projectile shot;
    shot.x = 1000 + 20;
    shot.y = 482;
    shot.vx = -260;
    shot.radius = 7;
    shot.life = 3;
    s.fx.projectiles = {shot, shot};
    s.baddies();
    EXPECT_TRUE(s.fx.projectiles.empty());
    EXPECT_EQ(s.ev.hits, 1);  // the second one meets the mercy time
    EXPECT_EQ(s.player.hearts, 2);
}
