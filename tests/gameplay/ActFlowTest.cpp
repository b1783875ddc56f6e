#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gameplay/ActFlow.h"
#include "gameplay/Player.h"

namespace {

// A flat course from 0 to 6000 at y 400, its arena from 4000 to 5200.
Level flatLevel() {
    Level l;
    l.groundPaths.push_back({{-500, 400}, {6000, 400}});
    l.startPos = {100, 382};
    l.arenaX = 4000;
    l.bossX = 5200;
    l.arenaY = 400;
    l.endX = 5400;
    l.lowestGroundY = 400;
    return l;
}

}  // namespace

TEST(ActFlow, TimeBonusSteps) {
    struct Case {
        float time;
        int bonus;
    };
    const Case cases[] = {{0.0f, 10000},  {59.9f, 10000}, {60.0f, 5000}, {89.99f, 5000}, {90.0f, 3000},
                          {119.9f, 3000}, {120.0f, 1000}, {179.9f, 1000}, {180.0f, 500}, {239.9f, 500},
                          {240.0f, 0},    {9999.0f, 0},   {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(timeBonusFor(c.time), c.bonus);
    }
    EXPECT_EQ(timeBonusFor(59.9f) + gemBonusFor(37), 13700);
    EXPECT_EQ(gemBonusFor(0), 0);
}

TEST(ActFlow, ProgressionEndsAfterTheFinalAct) {
    EXPECT_EQ(actIndex(0, 1), 0);
    EXPECT_EQ(actIndex(5, 2), 11);
    for (int zone = 0; zone < 6; ++zone) {
        for (int act = 1; act <= 2; ++act) {
            const NextAct n = nextActAfter(zone, act);
            if (zone == 5 && act == 2) {
                EXPECT_TRUE(n.ending);
                EXPECT_EQ(n.zone, 5);  // never a zone 6
                EXPECT_EQ(n.act, 2);
            } else {
                EXPECT_FALSE(n.ending);
                EXPECT_EQ(actIndex(n.zone, n.act), actIndex(zone, act) + 1);
            }
        }
    }
}

TEST(ActFlow, PauseListByMode) {
    struct Case {
        PlayMode mode;
        const char* fourth;
        bool actSelect;
    };
    for (const Case& c : {Case{PlayMode::Story, "Quit to Title", true}, Case{PlayMode::Course, "Back to Editor", false},
                          Case{PlayMode::Multiplayer, "Back to Lobby", false}}) {
        SCOPED_TRACE(c.fourth);
        const auto b = pauseButtons(c.mode);
        ASSERT_EQ(b.size(), 4u);
        EXPECT_EQ(b[0].label, "Resume");
        EXPECT_EQ(b[1].label, "Restart");
        EXPECT_EQ(b[2].label, "Act Select");
        EXPECT_EQ(b[3].label, c.fourth);
        EXPECT_EQ(b[2].enabled, c.actSelect);
        EXPECT_TRUE(b[0].enabled && b[1].enabled && b[3].enabled);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(b[std::size_t(i)].x, 350.0f);
            EXPECT_EQ(b[std::size_t(i)].y, 190.0f + 54.0f * float(i));
            EXPECT_EQ(b[std::size_t(i)].w, 260.0f);
            EXPECT_EQ(b[std::size_t(i)].h, 44.0f);
        }
    }
}

TEST(ActFlow, ActSelectLocksActsBeyondTheFurthest) {
    const auto b = actSelectButtons(3, false);  // up to zone 1 act 2
    ASSERT_EQ(b.size(), 13u);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(b[std::size_t(i)].enabled, i <= 3);
        EXPECT_EQ(b[std::size_t(i)].x, i % 2 == 0 ? 350.0f : 620.0f);
        EXPECT_EQ(b[std::size_t(i)].y, 84.0f + 58.0f * float(i / 2));
    }
    EXPECT_EQ(b[0].label, "Act 1 + Mini Boss");
    EXPECT_EQ(b[3].label, "Act 2 + Boss");
    EXPECT_EQ(b[4].label, "Locked");
    EXPECT_EQ(b[12].label, "Back");
    EXPECT_EQ(b[12].x, 40.0f);
    EXPECT_EQ(b[12].y, 470.0f);

    const auto open = actSelectButtons(0, true);
    for (int i = 0; i < 13; ++i) EXPECT_TRUE(open[std::size_t(i)].enabled);
    EXPECT_EQ(open[11].label, "Final Act");
    EXPECT_EQ(actSelectZone(11), 5);
    EXPECT_EQ(actSelectAct(11), 2);
    EXPECT_EQ(actSelectZone(4), 2);
    EXPECT_EQ(actSelectAct(4), 1);
}

TEST(ActFlow, CameraLeadsLooksAndClamps) {
    const Level level = flatLevel();
    Player p = makePlayer(1, {1000, 382});
    p.grounded = true;
    p.groundSpeed = 1500;  // lead capped at 200
    sf::Vector2f cam{1000, 342};
    for (int i = 0; i < 600; ++i) cam = stepCamera(cam, p, level, false, {}, 1.0f / 60.0f);
    EXPECT_NEAR(cam.x, 1200.0f, 0.01f);
    EXPECT_NEAR(cam.y, 400.0f - 110.0f, 0.01f);  // never lower than the lowest ground - 110

    // Standing still: Up looks up by 120; Down looks down (not for hero 0).
    p.groundSpeed = 0;
    p.y = 100;
    cam = {1000, 60};
    for (int i = 0; i < 600; ++i) cam = stepCamera(cam, p, level, false, {true, false}, 1.0f / 60.0f);
    EXPECT_NEAR(cam.y, 100.0f - 40.0f - 120.0f, 0.01f);
    for (int i = 0; i < 600; ++i) cam = stepCamera(cam, p, level, false, {false, true}, 1.0f / 60.0f);
    EXPECT_NEAR(cam.y, 100.0f - 40.0f + 120.0f, 0.01f);
    p.hero = 0;
    for (int i = 0; i < 600; ++i) cam = stepCamera(cam, p, level, false, {false, true}, 1.0f / 60.0f);
    EXPECT_NEAR(cam.y, 100.0f - 40.0f, 0.01f);

    // The left end and the right end of the course.
    p.x = 0;
    EXPECT_EQ(stepCamera({0, 0}, p, level, false, {}, 1.0f).x, 80.0f);
    p.x = 5400;
    EXPECT_EQ(stepCamera({5400, 0}, p, level, false, {}, 1.0f).x, 5400.0f - 480.0f);

    // A fight holds the camera inside the arena and pulls it toward arenaY - 190.
    p.x = 4100;
    p.y = 382;
    const sf::Vector2f inArena = stepCamera({4100, 342}, p, level, true, {}, 1.0f);
    EXPECT_EQ(inArena.x, 4420.0f);
    EXPECT_NEAR(inArena.y, 210.0f, 0.01f);
    Level narrow = level;
    narrow.bossX = 4600;  // narrower than the view: the arena's middle
    EXPECT_EQ(stepCamera({4100, 342}, p, narrow, true, {}, 1.0f).x, 4300.0f);
}

TEST(ActFlow, WallsStopSpeedsIntoThem) {
    const Level level = flatLevel();
    Player p = makePlayer(0, {-500, 382});
    p.vx = -300;
    applyWalls(p, level, false);
    EXPECT_EQ(p.x, -380.0f);
    EXPECT_EQ(p.vx, 0.0f);

    p.x = 5390;
    p.grounded = true;
    p.groundSpeed = 800;
    applyWalls(p, level, false);
    EXPECT_EQ(p.x, 5382.0f);
    EXPECT_EQ(p.groundSpeed, 0.0f);

    // In a fight the arena holds; a speed pointing away is kept.
    p.x = 3990;
    p.groundSpeed = 300;
    applyWalls(p, level, true);
    EXPECT_EQ(p.x, 4018.0f);
    EXPECT_EQ(p.groundSpeed, 300.0f);
    p.x = 5300;
    applyWalls(p, level, true);
    EXPECT_EQ(p.x, 5182.0f);
}

TEST(ActFlow, BossTriggerOnlyInAStoryActPastTheMark) {
    const Level level = flatLevel();
    ActState act;
    Player p = makePlayer(0, {4140, 382});
    EXPECT_FALSE(bossTriggerDue(act, level, p, PlayMode::Story));
    p.x = 4141;
    EXPECT_TRUE(bossTriggerDue(act, level, p, PlayMode::Story));
    EXPECT_FALSE(bossTriggerDue(act, level, p, PlayMode::Course));
    EXPECT_FALSE(bossTriggerDue(act, level, p, PlayMode::Multiplayer));
    act.bossStarted = true;
    EXPECT_FALSE(bossTriggerDue(act, level, p, PlayMode::Story));
    act.bossStarted = false;
    act.bossDefeated = true;
    EXPECT_FALSE(bossTriggerDue(act, level, p, PlayMode::Story));
    EXPECT_EQ(arenaRespawnPoint(level), sf::Vector2f(4080, 360));
}

TEST(ActFlow, GoalFallsSpinsAndClearsOnce) {
    const Level level = flatLevel();
    ActState act;
    dropGoalAfterBoss(act, level, 4500);
    EXPECT_TRUE(act.goalPresent);
    EXPECT_EQ(act.goalX, 5040.0f);
    EXPECT_EQ(act.goalY, -100.0f);
    Player p = makePlayer(0, {4500, 382});
    for (int i = 0; i < 60; ++i) EXPECT_FALSE(stepGoal(act, level, p, 1.0f / 60.0f).touched);
    EXPECT_EQ(act.goalY, 330.0f);  // 70 above the ground, reached within a second at 600 a second
    EXPECT_NEAR(act.goalSpin, 2.0f, 1e-3f);

    p.x = 5000.5f;  // within 40
    const GoalStep touch = stepGoal(act, level, p, 1.0f / 60.0f);
    EXPECT_TRUE(touch.touched);
    EXPECT_TRUE(act.goalReached);
    int clears = 0, frames = 0;
    for (; frames < 300; ++frames) {
        const GoalStep s = stepGoal(act, level, p, 1.0f / 60.0f);
        EXPECT_FALSE(s.touched);
        if (s.clearDue) {
            ++clears;
            EXPECT_NEAR(act.goalTime, kGoalClearDelay, 1.0f / 60.0f);
        }
    }
    EXPECT_EQ(clears, 1);

    // A course's goal stands from the start and counts as past the boss.
    ActState course;
    placeGoalForNoBossAct(course, level);
    EXPECT_TRUE(course.goalPresent);
    EXPECT_TRUE(course.bossDefeated);
    EXPECT_EQ(course.goalY, 330.0f);
    Level pit = level;
    pit.groundPaths = {{{-500, 400}, {4000, 400}}};  // no ground under the goal
    placeGoalForNoBossAct(course, pit);
    EXPECT_EQ(course.goalY, 330.0f);  // arenaY - 70
}

TEST(ActFlow, TrailTicks) {
    // Every third thirtieth of a second: ten times a second.
    int ticks = 0;
    float t = 0;
    for (int i = 0; i < 600; ++i) {
        t += 1.0f / 60.0f;
        if (everyNthTick(t, 1.0f / 60.0f, 30.0f, 3)) ++ticks;
    }
    EXPECT_NEAR(ticks, 100, 1);
}
