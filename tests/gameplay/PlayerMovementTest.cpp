#include <gtest/gtest.h>

#include <cmath>

#include "PlayerFixtures.h"

using namespace fixture;

// --- Spin dash -----------------------------------------------------------------

TEST(PlayerSpinDash, DownAndJumpRevsInsteadOfJumpingAndFourPressesGiveNearlyFullPower) {
    Level level = flatLevel();
    Player p = standingAt(0, 0, 400);
    float t = run(p, level, 1, {.down = true, .jump = true});
    EXPECT_TRUE(p.grounded);
    EXPECT_TRUE(p.charging);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::SpinRev));
    EXPECT_FALSE(hasEvent(p, PlayerEvent::Jump));

    // Four quick presses, three frames apart, while Down stays held.
    for (int press = 0; press < 4; ++press) {
        t = run(p, level, 1, {.down = true}, t, {.down = true, .jump = true});
        t = run(p, level, 1, {.down = true, .jump = true}, t, {.down = true});
        EXPECT_TRUE(hasEvent(p, PlayerEvent::SpinRev));
        t = run(p, level, 1, {.down = true}, t, {.down = true, .jump = true});
    }
    EXPECT_EQ(p.groundSpeed, 0);
    EXPECT_NEAR(p.charge, 1.0f - 0.3f * 12 * kDt, 0.02f);
    EXPECT_LT(p.charge, 1.0f);

    float charge = p.charge;
    run(p, level, 1, {}, t, {.down = true});
    EXPECT_FALSE(p.charging);
    EXPECT_TRUE(p.rolling);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::SpinRelease));
    float expected = 850 + 650 * std::max(charge - 0.3f * kDt, 0.0f);
    EXPECT_NEAR(p.groundSpeed, expected, 0.5f);
    EXPECT_LE(p.groundSpeed, 1500);
    EXPECT_GT(p.groundSpeed, 1450);
}

TEST(PlayerSpinDash, ChargeNeverPassesOneAndReleaseFollowsFacing) {
    Level level = flatLevel();
    Player p = standingAt(0, 0, 400);
    float t = run(p, level, 1, {.action = true});  // the Ability key starts it too
    ASSERT_TRUE(p.charging);
    // Down keeps the rev going while Ability is up between presses.
    t = run(p, level, 1, {.left = true, .down = true, .action = true}, t, {.action = true});
    for (int i = 0; i < 8; ++i) {
        t = run(p, level, 1, {.left = true, .down = true}, t, {.left = true, .down = true, .action = true});
        t = run(p, level, 1, {.left = true, .down = true, .action = true}, t, {.left = true, .down = true});
        EXPECT_TRUE(p.charging);
    }
    EXPECT_LE(p.charge, 1.0f);
    EXPECT_EQ(p.facing, -1);
    run(p, level, 1, {}, t, {.down = true, .action = true});
    EXPECT_FALSE(p.charging);
    EXPECT_NEAR(p.groundSpeed, -(850 + 650 * p.charge), 1.0f);
    EXPECT_GE(p.groundSpeed, -1500);
}

TEST(PlayerSpinDash, OnlyHeroZeroAndOnlyWhenSlow) {
    Level level = flatLevel();
    Player fr = standingAt(1, 0, 400);
    run(fr, level, 1, {.down = true, .jump = true});
    EXPECT_FALSE(fr.charging);
    EXPECT_FALSE(fr.grounded);  // an ordinary jump

    Player fast = standingAt(0, 0, 400);
    fast.groundSpeed = 300;
    run(fast, level, 1, {.down = true, .jump = true});
    EXPECT_FALSE(fast.charging);
    EXPECT_FALSE(fast.grounded);
}

// --- Ground running and slopes -------------------------------------------------

TEST(PlayerGround, RunsToTopSpeedAndNeverAcceleratesPastIt) {
    Level level = flatLevel();
    Player p = standingAt(3, 0, 400);
    run(p, level, 240, {.right = true});
    EXPECT_FLOAT_EQ(p.groundSpeed, effectiveTopSpeed(p));
    EXPECT_FLOAT_EQ(p.y, 382);
    // The air velocity follows the run, so a spring or updraft keeps it.
    EXPECT_FLOAT_EQ(p.vx, p.groundSpeed);
    EXPECT_FLOAT_EQ(p.vy, 0);
    p.groundSpeed = 1200;  // a boost beyond top is kept while Right is held
    run(p, level, 1, {.right = true});
    EXPECT_FLOAT_EQ(p.groundSpeed, 1200);
}

TEST(PlayerGround, TopSpeedAndAccelerationFactors) {
    Player p = makePlayer(0, {0, 0});
    struct Case { bool shoes, transformed, divine; float speedScale, top, acc; };
    const Case cases[] = {
        {false, false, false, 1.0f, 680, 900},
        {true, false, false, 1.0f, 680 * 1.4f, 900 * 1.4f},
        {false, true, false, 1.0f, 680 * 1.35f, 900 * 1.6f},
        {false, true, true, 1.0f, 680 * 1.55f, 900 * 1.6f},
        {true, true, true, 2.0f, 680 * 1.4f * 1.55f * 2, 900 * 1.4f * 1.6f * 2},
    };
    for (const Case& c : cases) {
        p.speedShoesTime = c.shoes ? 5 : 0;
        p.transformed = c.transformed;
        p.divine = c.divine;
        p.speedScale = c.speedScale;
        EXPECT_FLOAT_EQ(effectiveTopSpeed(p), c.top);
        EXPECT_FLOAT_EQ(effectiveAcceleration(p), c.acc);
    }
}

TEST(PlayerGround, JumpStrengthScalesWithFormAndMods) {
    Player p = makePlayer(3, {0, 0});  // 750
    EXPECT_FLOAT_EQ(jumpStrength(p), 750);
    p.transformed = true;
    EXPECT_FLOAT_EQ(jumpStrength(p), 750 * 1.15f);
    p.divine = true;
    EXPECT_FLOAT_EQ(jumpStrength(p), 750 * 1.25f);
    p.transformed = p.divine = false;
    p.jumpScale = 2;
    p.gravityScale = 2;
    EXPECT_FLOAT_EQ(jumpStrength(p), 750 * 2);
}

TEST(PlayerGround, JumpOnFortyFiveDegreeSlopeLeavesPerpendicular) {
    const float a = kPi / 4;
    for (float gs : {0.0f, 300.0f, -250.0f}) {
        SCOPED_TRACE(gs);
        Level level = slopeLevel(a);
        Player p = standingAt(2, 0, 400);
        p.angle = a;
        p.groundSpeed = gs;
        run(p, level, 1, {.jump = true});
        ASSERT_FALSE(p.grounded);
        EXPECT_TRUE(hasEvent(p, PlayerEvent::Jump));
        EXPECT_TRUE(p.spinning);
        // Along the surface: the old ground speed; away from it: the full jump.
        // (The ground speed itself has had this frame's slope and friction.)
        EXPECT_NEAR(p.groundSpeed, gs, 31);
        float along = p.vx * std::cos(a) + p.vy * std::sin(a);
        float away = p.vx * std::sin(a) - p.vy * std::cos(a);
        EXPECT_NEAR(along, p.groundSpeed, 0.5f);
        EXPECT_NEAR(away, jumpStrength(p), 0.5f);
    }
}

TEST(PlayerGround, WalksUpAndDownASlopeOnItsSurface) {
    Level level = slopeLevel(-0.5f);  // rising to the right
    Player p = standingAt(5, -600, level.groundHeightAt(-600).y);
    for (int i = 0; i < 120; ++i) {
        run(p, level, 1, {.right = true});
        ASSERT_TRUE(p.grounded);
        EXPECT_NEAR(p.y + 18, level.groundHeightAt(p.x).y, 0.01f);
    }
    EXPECT_NEAR(p.angle, -0.5f, 0.01f);
    EXPECT_GT(p.x, -600);
}

TEST(PlayerGround, StandingStillOnGentleSlopeDoesNotSlide) {
    Level level = slopeLevel(0.3f);
    Player p = standingAt(2, 0, 400);
    p.angle = 0.3f;
    run(p, level, 60, {});
    EXPECT_FLOAT_EQ(p.groundSpeed, 0);
    EXPECT_FLOAT_EQ(p.x, 0);
}

TEST(PlayerGround, RollingStartsWithDownAndEndsWhenSlow) {
    Level level = flatLevel();
    Player p = standingAt(2, 0, 400);
    p.groundSpeed = 600;
    run(p, level, 1, {.down = true});
    EXPECT_TRUE(p.rolling);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::Roll));
    run(p, level, 600, {});
    EXPECT_FALSE(p.rolling);
    EXPECT_EQ(p.groundSpeed, 0);

    Player bolim = standingAt(4, 0, 400);
    bolim.groundSpeed = 600;
    run(bolim, level, 1, {.down = true});
    EXPECT_FALSE(bolim.rolling);  // hero 4 never rolls by Down
}

TEST(PlayerGround, RunsOffAnEdgeIntoTheAirAndFallsOffAtSpeed) {
    Level level = islandLevel(-500, 100);
    Player p = standingAt(2, 90, 400);
    p.groundSpeed = 400;
    run(p, level, 2, {.right = true});
    EXPECT_FALSE(p.grounded);
    EXPECT_GT(p.vx, 390);
}

TEST(PlayerGround, NoTunnellingThroughAWallAt1500) {
    // A 100-unit step up at x 500.
    Level level;
    level.groundPaths = {{{-1000, 400}, {500, 400}, {500.5f, 300}, {3000, 300}}};
    level.lowestGroundY = 400;
    for (float dt : {1 / 60.0f, 1 / 30.0f}) {
        SCOPED_TRACE(dt);
        Player p = standingAt(0, 300, 400);
        p.groundSpeed = 1500;
        p.rolling = true;
        float t = 0;
        // At full speed, and then creeping against it from a standstill.
        for (int i = 0; i < 300; ++i) {
            t = run(p, level, 1, {.right = true}, t, {.right = true}, dt);
            ASSERT_TRUE(p.grounded);
            ASSERT_LE(p.x, 500.5f);
            ASSERT_GT(p.y + 18, 300 + 26);  // never up on top
        }
    }
}

TEST(PlayerGround, OneCellStepIsASlopeFourCellsAreAWall) {
    // Steps shaped like a maker course: flat, then the rise over 48 units.
    struct Case { float rise; bool climbs; };
    for (Case c : {Case{48, true}, Case{192, false}}) {
        SCOPED_TRACE(c.rise);
        Level level;
        level.groundPaths = {{{-500, 400}, {0, 400}, {48, 400 - c.rise}, {9000, 400 - c.rise}}};
        level.lowestGroundY = 400;
        Player p = standingAt(2, -100, 400);
        run(p, level, 600, {.right = true});
        EXPECT_TRUE(p.grounded);
        EXPECT_EQ(p.x > 48, c.climbs);
        EXPECT_EQ(p.y + 18 < 400 - c.rise + 1, c.climbs);
    }
}

TEST(PlayerGround, FastOverACrestLaunchesSlowFollowsTheSurface) {
    // Up a gentle ramp to a crest at x 0, then a steep face (4 down for 1 across):
    // faces steeper than about 64 degrees throw a runner faster than 260 off.
    Level level;
    level.groundPaths = {{{-1000, 500}, {0, 400}, {75, 700}, {3000, 700}}};
    level.lowestGroundY = 700;
    const float up = std::atan2(-100.0f, 1000.0f);

    Player fast = standingAt(2, -60, level.groundHeightAt(-60).y);
    fast.angle = up;
    fast.groundSpeed = 800;
    fast.rolling = true;
    float speed = 0;
    for (int i = 0; i < 10 && fast.grounded; ++i) {
        speed = fast.groundSpeed;
        run(fast, level, 1, {});
    }
    ASSERT_FALSE(fast.grounded);
    // Thrown off at the crest along the angle it had, not glued to the face.
    EXPECT_NEAR(fast.x, 0, 10);
    EXPECT_LT(fast.y + 18, level.groundHeightAt(fast.x).y - 5);
    EXPECT_NEAR(std::hypot(fast.vx, fast.vy), speed, 40);

    // Over the same crest onto a 45-degree face, slowly: it runs down it.
    Level gentle;
    gentle.groundPaths = {{{-1000, 500}, {0, 400}, {300, 700}, {3000, 700}}};
    gentle.lowestGroundY = 700;
    Player slow = standingAt(2, -30, gentle.groundHeightAt(-30).y);
    slow.angle = up;
    slow.groundSpeed = 200;
    float t = 0;
    for (int i = 0; i < 90; ++i) {
        t = run(slow, gentle, 1, {.right = true}, t, {.right = true});
        ASSERT_TRUE(slow.grounded);
        EXPECT_NEAR(slow.y + 18, gentle.groundHeightAt(slow.x).y, 0.01f);
    }
    EXPECT_GT(slow.x, 300);
}

// --- Platforms ---------------------------------------------------------------------

TEST(PlayerPlatforms, StandingOnACrumblerStartsItsTimerAndAMoverCarries) {
    Level level = islandLevel(-2000, -1000);  // the ledges float over a pit
    level.lowestGroundY = 400;
    Platform crumbler;
    crumbler.x1 = -100;
    crumbler.x2 = 100;
    crumbler.y1 = crumbler.y2 = 300;
    crumbler.crumbles = true;
    Platform mover = crumbler;
    mover.x1 = 400;
    mover.x2 = 600;
    mover.crumbles = false;
    mover.moveX = 50;
    mover.movePeriod = 2;
    level.platforms = {crumbler, mover};

    Player p = standingAt(2, 0, 300);
    p.surface = 0;
    run(p, level, 1, {});
    EXPECT_TRUE(p.grounded);
    EXPECT_FLOAT_EQ(level.platforms[0].crumbleTimer, 0.6f);

    Player q = standingAt(2, 500, 300);
    q.surface = 1;
    float t = 0;
    for (int i = 0; i < 30; ++i) {
        t = run(q, level, 1, {}, t);
        ASSERT_TRUE(q.grounded);
        EXPECT_NEAR(q.x, 500 + platformOffset(level.platforms[1], t).x, 0.01f);
    }
    EXPECT_FLOAT_EQ(level.platforms[1].crumbleTimer, -1);
}

TEST(PlayerPlatforms, FallingAt1400LandsOnAThinLedgeAndOnGround) {
    for (float dt : {1 / 60.0f, 1 / 30.0f}) {
        SCOPED_TRACE(dt);
        Level level = flatLevel(800);
        Platform ledge;
        ledge.x1 = -100;
        ledge.x2 = 100;
        ledge.y1 = ledge.y2 = 300;
        level.platforms = {ledge};
        Player p = airborneAt(2, 0, -200, 0, 1400);
        run(p, level, 30, {}, 0, {}, dt);
        EXPECT_TRUE(p.grounded);
        EXPECT_EQ(p.surface, 0);
        EXPECT_FLOAT_EQ(p.y, 282);
        EXPECT_TRUE(hasEvent(p, PlayerEvent::HardLanding) || p.squash > 0);

        Player q = airborneAt(2, 300, -200, 0, 1400);
        run(q, level, 80, {}, 0, {}, dt);
        EXPECT_TRUE(q.grounded);
        EXPECT_EQ(q.surface, -1);
        EXPECT_FLOAT_EQ(q.y, 782);
    }
}

TEST(PlayerPlatforms, LedgesAreOneWayFromBelow) {
    Level level = flatLevel(800);
    Platform ledge;
    ledge.x1 = -100;
    ledge.x2 = 100;
    ledge.y1 = ledge.y2 = 300;
    level.platforms = {ledge};
    Player p = airborneAt(2, 0, 450, 0, -1000);
    float t = 0;
    float highest = p.y;
    for (int i = 0; i < 120 && !p.grounded; ++i) {
        t = run(p, level, 1, {.jump = true}, t, {.jump = true});
        highest = std::min(highest, p.y);
    }
    EXPECT_LT(highest + 18, 300);  // passed up through it
    EXPECT_TRUE(p.grounded);
    EXPECT_EQ(p.surface, 0);       // and landed on top on the way down
}

// --- Air ------------------------------------------------------------------------

TEST(PlayerAir, JumpCutToExactly420ButSpringLaunchNeverCut) {
    Level level = flatLevel();
    Player p = standingAt(2, 0, 400);
    run(p, level, 1, {.jump = true});
    ASSERT_LT(p.vy, -420);
    run(p, level, 1, {}, kDt, {.jump = true});
    EXPECT_FLOAT_EQ(p.vy, -420);

    // A spring throws the player up without a spin jump: no cut.
    Player s = airborneAt(2, 0, 300, 0, -1250);
    run(s, level, 1, {});
    EXPECT_FLOAT_EQ(s.vy, -1250 + 1900 * kDt);

    // Holding Jump keeps the full jump.
    Player h = standingAt(2, 0, 400);
    run(h, level, 1, {.jump = true});
    float vy = h.vy;
    run(h, level, 1, {.jump = true}, kDt, {.jump = true});
    EXPECT_FLOAT_EQ(h.vy, vy + 1900 * kDt);
}

TEST(PlayerAir, GlideNeverFallsFasterThan110) {
    Level level = flatLevel(5000);
    Player p = airborneAt(1, 0, 0, 200, 900);
    p.abilityArmed = true;
    float t = run(p, level, 1, {.jump = true});
    EXPECT_TRUE(p.gliding);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::GlideStart));
    EXPECT_LE(p.vy, 60 + 1900 * 0.15f * kDt);
    for (int i = 0; i < 600; ++i) {
        t = run(p, level, 1, {.jump = true}, t, {.jump = true});
        ASSERT_LE(p.vy, 110.0f);
    }
    EXPECT_FLOAT_EQ(p.vy, 110);
    EXPECT_NEAR(p.vx, 460, 1);
    run(p, level, 1, {}, t, {.jump = true});
    EXPECT_FALSE(p.gliding);
}

TEST(PlayerAir, WingFlapsOncePerFifthOfASecond) {
    Level level = flatLevel(5000);
    for (int hero : {2, 3}) {
        Player p = airborneAt(hero, 0, 0, 0, 300);
        p.abilityArmed = true;
        float t = run(p, level, 1, {.jump = true});
        EXPECT_TRUE(hasEvent(p, PlayerEvent::Flap));
        float flapVy = hero == 2 ? -480.0f : -560.0f;
        EXPECT_NEAR(p.vy, flapVy + 1900 * kDt, 0.01f);
        // Released and pressed again at once: too soon.
        t = run(p, level, 1, {}, t, {.jump = true});
        t = run(p, level, 1, {.jump = true}, t);
        EXPECT_FALSE(hasEvent(p, PlayerEvent::Flap));
        t = run(p, level, 12, {}, t, {.jump = true});
        run(p, level, 1, {.jump = true}, t);
        EXPECT_TRUE(hasEvent(p, PlayerEvent::Flap));
    }
}

TEST(PlayerAir, AirAbilityNeedsJumpReleasedSinceTheJump) {
    Level level = flatLevel();
    Player p = standingAt(1, 0, 400);
    float t = run(p, level, 1, {.jump = true});
    t = run(p, level, 5, {.jump = true}, t, {.jump = true});
    EXPECT_FALSE(p.gliding);
    t = run(p, level, 1, {}, t, {.jump = true});
    EXPECT_TRUE(p.abilityArmed);
    run(p, level, 1, {.jump = true}, t);
    EXPECT_TRUE(p.gliding);
    EXPECT_FALSE(p.abilityArmed);
}

TEST(PlayerAir, HomingAttackWithAndWithoutTargetOncePerAirtime) {
    Level level = flatLevel(5000);
    HomingTargetFinder target = [](sf::Vector2f pos, int) { return std::optional<sf::Vector2f>(pos + sf::Vector2f(300, 400)); };
    HomingTargetFinder none = [](sf::Vector2f, int) { return std::optional<sf::Vector2f>(); };

    Player p = airborneAt(5, 0, 0, 100, -200);
    p.abilityArmed = true;
    run(p, level, 1, {.jump = true}, 0, {}, kDt, target);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::HomingDash));
    EXPECT_TRUE(p.homing);
    EXPECT_NEAR(p.vx, 1150 * 0.6f, 0.1f);
    EXPECT_NEAR(p.vy, 1150 * 0.8f, 0.1f);
    run(p, level, 10, {}, kDt, {.jump = true}, kDt, target);
    EXPECT_NEAR(p.vx, 1150 * 0.6f, 0.1f);  // no gravity, no control while homing
    EXPECT_NEAR(p.vy, 1150 * 0.8f, 0.1f);

    for (float vx : {0.0f, 1000.0f}) {
        Player q = airborneAt(5, 0, 0, vx, 30);
        q.abilityArmed = true;
        float t = run(q, level, 1, {.jump = true}, 0, {}, kDt, none);
        EXPECT_TRUE(hasEvent(q, PlayerEvent::HomingDash));
        EXPECT_FALSE(q.homing);
        EXPECT_GE(q.vx, std::max(820.0f, vx) * (1 - 0.4f * kDt) - 0.01f);  // less the drag near the top
        EXPECT_LE(q.vy, -60 + 1900 * kDt + 0.01f);
        EXPECT_TRUE(q.spinning);
        // A second press in the same airtime does nothing; the Ability key neither.
        t = run(q, level, 1, {}, t, {.jump = true}, kDt, none);
        t = run(q, level, 1, {.jump = true}, t, {}, kDt, none);
        EXPECT_FALSE(hasEvent(q, PlayerEvent::HomingDash));
        run(q, level, 1, {.action = true}, t, {}, kDt, none);
        EXPECT_FALSE(hasEvent(q, PlayerEvent::HomingDash));
    }
}

TEST(PlayerAir, SlamBouncesOffAMovingLedgeAt980Keeping80Percent) {
    Level level = islandLevel(-3000, -2000);
    level.lowestGroundY = 400;
    Platform ledge;
    ledge.x1 = -300;
    ledge.x2 = 300;
    ledge.y1 = ledge.y2 = 300;
    ledge.moveY = 60;
    ledge.movePeriod = 2;
    level.platforms = {ledge};

    Player p = airborneAt(4, 0, 0, 400, -100);
    p.abilityArmed = true;
    float t = run(p, level, 1, {.jump = true});
    ASSERT_TRUE(p.slamming);
    EXPECT_TRUE(hasEvent(p, PlayerEvent::Slam));
    bool bounced = false;
    for (int i = 0; i < 120 && !bounced; ++i) {
        float vxBefore = p.vx;
        t = run(p, level, 1, {}, t, {.jump = true});
        if (hasEvent(p, PlayerEvent::SlamBounce)) {
            bounced = true;
            EXPECT_FLOAT_EQ(p.vy, -980);
            EXPECT_NEAR(p.vx, 0.8f * vxBefore, 0.01f);
            EXPECT_NEAR(p.vx, 0.8f * 0.3f * 400, 0.01f);
            EXPECT_FALSE(p.grounded);
            EXPECT_FALSE(p.slamming);
            EXPECT_NEAR(p.y + 18, platformHeightAt(level.platforms[0], p.x, t), 0.01f);
        }
    }
    EXPECT_TRUE(bounced);
}

TEST(PlayerAir, FallingAt1400LandsWithoutTunnellingAndHitsWalls) {
    Level level = flatLevel(400);
    for (float dt : {1 / 60.0f, 1 / 30.0f}) {
        Player p = airborneAt(2, 0, 100, 0, 1400);
        run(p, level, 20, {}, 0, {}, dt);
        EXPECT_TRUE(p.grounded);
        EXPECT_FLOAT_EQ(p.y, 382);
    }
    // A cliff rising 200 at x 500, approached low through the air at 1500.
    Level cliff;
    cliff.groundPaths = {{{-1000, 600}, {500, 600}, {500.5f, 400}, {3000, 400}}};
    cliff.lowestGroundY = 600;
    Player q = airborneAt(2, 400, 560, 1500, -100);
    run(q, cliff, 8, {.right = true}, 0, {}, 1 / 30.0f);
    EXPECT_LE(q.x, 500.5f);
    EXPECT_TRUE(q.grounded);
    EXPECT_FLOAT_EQ(q.y, 582);
}

TEST(PlayerAir, DeathComes700BelowTheLowestGround) {
    Level level = islandLevel(-200, 0, 400);
    level.groundPaths.push_back(flatPath(3000, 3200, 500));
    level.lowestGroundY = level.greatestGroundY();  // 500
    Player p = airborneAt(2, 100, 300, 0, 0);
    float t = 0;
    float lastAliveY = p.y;
    for (int i = 0; i < 600 && !p.dead; ++i) {
        if (!p.dead) lastAliveY = p.y;
        t = run(p, level, 1, {}, t);
    }
    ASSERT_TRUE(p.dead);
    EXPECT_LE(lastAliveY, 1200);
    EXPECT_GT(p.y, 1200);
    // The step does nothing once dead.
    float y = p.y;
    run(p, level, 5, {.right = true}, t);
    EXPECT_FLOAT_EQ(p.y, y);
}

// --- Loops -------------------------------------------------------------------------

namespace {
Level loopLevel() {
    Level l = flatLevel(400);
    l.loops = {Loop{1000, 400, 150}};
    return l;
}
}  // namespace

TEST(PlayerLoop, EnteredOnlyRightwardsAbove450) {
    struct Case { float x, gs; bool enters; };
    const Case cases[] = {
        {990, 460, true}, {990, 440, false}, {1010, -900, false}, {900, 1500, true}, {1000, 900, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gs);
        Level level = loopLevel();
        Player p = standingAt(2, c.x, 400);
        p.groundSpeed = c.gs;
        p.rolling = true;  // no acceleration
        run(p, level, 4, {}, 0, {}, 1 / 30.0f);
        EXPECT_EQ(p.loopIndex >= 0 || p.loopAngle > 0, c.enters);
    }
}

TEST(PlayerLoop, CompletedAtSpeed) {
    Level level = loopLevel();
    Player p = standingAt(2, 950, 400);
    p.groundSpeed = 900;
    float t = run(p, level, 4, {.right = true});
    ASSERT_EQ(p.loopIndex, 0);
    EXPECT_TRUE(p.rolling);
    float highest = p.y;
    int frames = 0;
    while (p.loopIndex >= 0 && frames < 600) {
        t = run(p, level, 1, {.right = true}, t);
        highest = std::min(highest, p.y);
        ++frames;
    }
    EXPECT_TRUE(p.grounded);
    EXPECT_EQ(p.surface, -1);
    EXPECT_FLOAT_EQ(p.angle, 0);
    EXPECT_GT(p.groundSpeed, 800);
    EXPECT_NEAR(highest, 400 - 150 - 132, 2);  // ran over the top
    run(p, level, 2, {.right = true}, t);
    EXPECT_GT(p.x, 1001);
    EXPECT_TRUE(p.grounded);
}

TEST(PlayerLoop, TooSlowFallsOutOfTheUpperPart) {
    Level level = loopLevel();
    Player p = standingAt(2, 995, 400);
    p.groundSpeed = 600;
    p.rolling = true;
    float t = run(p, level, 2, {});
    ASSERT_EQ(p.loopIndex, 0);
    float angleAtExit = 0;
    for (int i = 0; i < 600 && p.loopIndex >= 0; ++i) {
        angleAtExit = p.loopAngle;
        t = run(p, level, 1, {}, t);
    }
    EXPECT_EQ(p.loopIndex, -1);
    EXPECT_FALSE(p.grounded);
    EXPECT_TRUE(p.spinning);
    EXPECT_GT(angleAtExit, 1.8f);
    EXPECT_LT(angleAtExit, 4.4f);
    // It comes down and lands again.
    run(p, level, 240, {}, t);
    EXPECT_TRUE(p.grounded);
}

TEST(PlayerLoop, BarelyFastEnoughToEnterSlidesBackOutInsteadOfRockingForever) {
    Level level = loopLevel();
    Player p = standingAt(2, 990, 400);
    p.groundSpeed = 470;
    p.rolling = true;
    float t = run(p, level, 2, {});
    ASSERT_EQ(p.loopIndex, 0);
    for (int i = 0; i < 600 && p.loopIndex >= 0; ++i) t = run(p, level, 1, {}, t);
    EXPECT_EQ(p.loopIndex, -1);
    EXPECT_TRUE(p.grounded);
    EXPECT_LT(p.groundSpeed, 0);
    EXPECT_FLOAT_EQ(p.y, 382);
}

// --- Ability key heroes -------------------------------------------------------------

TEST(PlayerAbility, FlameDashGadgetSpringAndCooldowns) {
    Level level = flatLevel();
    Player pr = standingAt(6, 0, 400);
    pr.groundSpeed = 200;
    float t = run(pr, level, 1, {.action = true});
    EXPECT_TRUE(hasEvent(pr, PlayerEvent::FlameDash));
    EXPECT_GT(pr.groundSpeed, 1100);
    EXPECT_TRUE(isAttacking(pr));
    t = run(pr, level, 1, {}, t, {.action = true});
    run(pr, level, 1, {.action = true}, t);
    EXPECT_FALSE(hasEvent(pr, PlayerEvent::FlameDash));  // cooling down

    Player air = airborneAt(6, 0, 0, -100, 300);
    air.facing = -1;
    run(air, level, 1, {.action = true});
    EXPECT_FLOAT_EQ(air.vx, -1150);
    EXPECT_FLOAT_EQ(air.vy, 0);  // no gravity during the flame

    Player lt = standingAt(7, 0, 400);
    lt.groundSpeed = 300;
    run(lt, level, 1, {.action = true});
    EXPECT_TRUE(lt.buildSpring);
    EXPECT_TRUE(hasEvent(lt, PlayerEvent::GadgetSpring));
    EXPECT_FALSE(lt.grounded);
    EXPECT_NEAR(lt.vy, -1200 + 1900 * kDt, 0.01f);
    EXPECT_NEAR(lt.vx, 300, 0.01f);
    Spring s = gadgetSpringFor(lt);
    EXPECT_FLOAT_EQ(s.power, 1200);
    EXPECT_FLOAT_EQ(s.lifetime, 3);
    EXPECT_FLOAT_EQ(s.squash, 1);
    run(lt, level, 1, {}, kDt, {.action = true});
    EXPECT_FALSE(lt.buildSpring);  // one request per press
}

TEST(PlayerAbility, BlinkKeepsGroundOrLeavesItAndNeverEndsInsideGround) {
    Level level = islandLevel(-500, 100);
    Player p = standingAt(8, 0, 400);
    p.groundSpeed = 100;
    run(p, level, 1, {.action = true});
    EXPECT_TRUE(hasEvent(p, PlayerEvent::Blink));
    EXPECT_FLOAT_EQ(p.blinkFrom.x, 0);
    EXPECT_FALSE(p.grounded);  // the target is over the pit
    EXPECT_NEAR(p.x, 180 + 100 * kDt, 0.01f);

    Level flat = flatLevel();
    Player q = standingAt(8, 0, 400);
    q.facing = -1;
    run(q, flat, 1, {.action = true});
    EXPECT_TRUE(q.grounded);
    EXPECT_FLOAT_EQ(q.x, -180);
    EXPECT_FLOAT_EQ(q.blinkTo.x, -180);
    EXPECT_NEAR(q.blinkTime, 0.3f, 1e-6);

    Level hill = slopeLevel(-0.6f);
    Player r = airborneAt(8, 0, 380, 0, 0);
    run(r, hill, 1, {.action = true});
    EXPECT_LE(r.y + 18, hill.groundHeightAt(r.x).y + 0.01f);
}
