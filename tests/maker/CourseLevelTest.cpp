#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "maker/CourseLevel.h"

namespace {

Course flat(int columns, int height, std::vector<CourseItem> items = {}) {
    Course c;
    c.theme = 1;
    c.heights.assign(std::size_t(columns), height);
    c.items = std::move(items);
    return c;
}

Level build(const Course& c) {
    Level level;
    level.gems.push_back({1, 2, true});  // leftovers of an earlier level go
    level.bossId = 7;
    return buildLevelFromCourse(c, level);
}

}  // namespace

TEST(CourseLevel, DefaultCourseIsOneFlatRunWithItsGoal) {
    const Level l = build(makeDefaultCourse());
    EXPECT_EQ(l.zone, 0);
    EXPECT_EQ(l.act, 1);
    EXPECT_EQ(l.bossId, 0);
    EXPECT_TRUE(l.gems.empty());
    ASSERT_EQ(l.groundPaths.size(), 1u);
    const GroundPath& p = l.groundPaths[0];
    ASSERT_EQ(p.size(), 241u);
    EXPECT_EQ(p.front(), sf::Vector2f(0, 528));
    EXPECT_EQ(p[1], sf::Vector2f(24, 528));
    EXPECT_EQ(p.back(), sf::Vector2f(5760, 528));
    EXPECT_EQ(l.startPos, sf::Vector2f(24, 468));
    EXPECT_EQ(l.endX, 5760.0f);
    EXPECT_EQ(l.arenaX, 1.0e9f);
    EXPECT_EQ(l.bossX, 5400.0f + 160.0f);  // the goal post stands at column 112's centre
    EXPECT_EQ(l.arenaY, 528.0f);
    EXPECT_EQ(l.lowestGroundY, 528.0f);
}

TEST(CourseLevel, TerrainSlopesAtBordersAndBreaksAtPits) {
    Course c = flat(20, 3);
    c.heights[1] = 5;   // a step up and down again
    c.heights[4] = 0;   // a pit: two runs
    c.heights[19] = 0;  // the course ends in a pit
    const Level l = build(c);
    ASSERT_EQ(l.groundPaths.size(), 2u);
    const GroundPath& a = l.groundPaths[0];
    const std::vector<sf::Vector2f> first = {{0, 528},  {24, 528}, {48, 480},  {72, 432},  {96, 480},
                                             {120, 528}, {144, 528}, {168, 528}, {192, 528}};
    EXPECT_EQ(a, first);
    const GroundPath& b = l.groundPaths[1];
    EXPECT_EQ(b.front(), sf::Vector2f(240, 528));
    EXPECT_EQ(b.back(), sf::Vector2f(912, 528));
    for (const GroundPath& path : l.groundPaths)
        for (std::size_t i = 1; i < path.size(); ++i) EXPECT_LT(path[i - 1].x, path[i].x);
    EXPECT_EQ(l.lowestGroundY, 528.0f);
}

TEST(CourseLevel, StartAndGoalWithoutGround) {
    // Every column a pit: one flat piece from 0 to 192 at 672.
    const Level pits = build(flat(20, 0));
    ASSERT_EQ(pits.groundPaths.size(), 1u);
    EXPECT_EQ(pits.groundPaths[0], (GroundPath{{0, 672}, {192, 672}}));
    EXPECT_EQ(pits.startPos, sf::Vector2f(72, 612));
    EXPECT_EQ(pits.bossX, 20 * 48.0f - 100);  // no Goal: near the right end
    EXPECT_EQ(pits.arenaY, 672.0f);
    EXPECT_EQ(pits.lowestGroundY, 672.0f);

    Course late = flat(30, 0);
    late.heights[2] = 4;
    late.heights[27] = 6;  // column n - 3 decides the goal's height
    const Level l = build(late);
    EXPECT_EQ(l.startPos, sf::Vector2f(2 * 48 + 24, 480 - 60));
    EXPECT_EQ(l.arenaY, 384.0f);
    EXPECT_EQ(l.bossX, 30 * 48.0f - 100);
}

TEST(CourseLevel, TheLastGoalCounts) {
    Course c = flat(40, 2, {{23, 5, 3}, {23, 30, 0}});
    c.heights[30] = 0;  // over a pit the goal stands at the bottom of its cell
    const Level l = build(c);
    EXPECT_EQ(l.bossX, 30 * 48 + 24 + 160.0f);
    EXPECT_EQ(l.arenaY, 48.0f);
}

TEST(CourseLevel, EveryItemKind) {
    // Column 6 has height 4 (ground y 480); column 7 is a pit. Row 5: cellY 264.
    struct Case {
        int kind;
        int column;
        std::function<void(const Level&)> check;
    };
    const float x6 = 6 * 48 + 24, x7 = 7 * 48 + 24, cellY = 264;
    const Case cases[] = {
        {CourseItemKind::Ground, 6, [](const Level& l) {
             EXPECT_TRUE(l.springs.empty() && l.gems.empty() && l.enemies.empty() && l.platforms.empty());
         }},
        {CourseItemKind::Spring, 6, [&](const Level& l) {
             ASSERT_EQ(l.springs.size(), 1u);
             EXPECT_EQ(l.springs[0].x, x6);
             EXPECT_EQ(l.springs[0].y, 480);
             EXPECT_EQ(l.springs[0].power, 1150);
             EXPECT_EQ(l.springs[0].sideways, 0);
             EXPECT_EQ(l.springs[0].lifetime, -1);
         }},
        {CourseItemKind::BigSpring, 7, [&](const Level& l) {
             ASSERT_EQ(l.springs.size(), 1u);
             EXPECT_EQ(l.springs[0].power, 1500);
             EXPECT_EQ(l.springs[0].y, cellY + 24);  // over the pit
         }},
        {CourseItemKind::DashPanel, 6, [&](const Level& l) {
             ASSERT_EQ(l.dashPanels.size(), 1u);
             EXPECT_EQ(l.dashPanels[0].x, x6);
             EXPECT_EQ(l.dashPanels[0].direction, 1);
         }},
        {CourseItemKind::Loop, 6, [&](const Level& l) {
             ASSERT_EQ(l.loops.size(), 1u);
             EXPECT_EQ(l.loops[0].x, x6);
             EXPECT_EQ(l.loops[0].y, 480);
             EXPECT_EQ(l.loops[0].radius, 150);
             ASSERT_EQ(l.dashPanels.size(), 1u);
             EXPECT_EQ(l.dashPanels[0].x, x6 - 192);
         }},
        {CourseItemKind::Ledge, 6, [&](const Level& l) {
             ASSERT_EQ(l.platforms.size(), 1u);
             const Platform& p = l.platforms[0];
             EXPECT_EQ(p.x1, x6 - 48);
             EXPECT_EQ(p.x2, x6 + 48);
             EXPECT_EQ(p.y1, cellY);
             EXPECT_EQ(p.y2, cellY);
             EXPECT_EQ(p.movePeriod, 0);
             EXPECT_FALSE(p.crumbles || p.isRail);
             EXPECT_EQ(p.crumbleTimer, -1);
         }},
        {CourseItemKind::Mover, 6, [&](const Level& l) {
             ASSERT_EQ(l.platforms.size(), 1u);
             EXPECT_EQ(l.platforms[0].moveX, 96);
             EXPECT_EQ(l.platforms[0].movePeriod, 3);
             EXPECT_EQ(l.platforms[0].x1, x6 - 48);
         }},
        {CourseItemKind::Crumbler, 6, [&](const Level& l) {
             ASSERT_EQ(l.platforms.size(), 1u);
             EXPECT_TRUE(l.platforms[0].crumbles);
             EXPECT_EQ(l.platforms[0].crumbleTimer, -1);
         }},
        {CourseItemKind::Rail, 6, [&](const Level& l) {
             ASSERT_EQ(l.platforms.size(), 1u);
             const Platform& p = l.platforms[0];
             EXPECT_TRUE(p.isRail);
             EXPECT_EQ(p.x1, x6 - 96);
             EXPECT_EQ(p.x2, x6 + 96);
             EXPECT_EQ(p.y1, cellY - 24);
         }},
        {CourseItemKind::Gem, 6, [&](const Level& l) {
             ASSERT_EQ(l.gems.size(), 1u);
             EXPECT_EQ(l.gems[0].x, x6);
             EXPECT_EQ(l.gems[0].y, cellY);
         }},
        {CourseItemKind::GemRow, 6, [&](const Level& l) {
             ASSERT_EQ(l.gems.size(), 5u);
             for (int i = 0; i < 5; ++i) EXPECT_EQ(l.gems[std::size_t(i)].x, x6 - 48 + 24.0f * float(i));
         }},
        {CourseItemKind::Monitor, 6, [&](const Level& l) {
             ASSERT_EQ(l.monitors.size(), 1u);
             EXPECT_EQ(l.monitors[0].y, 480 - 22);
             EXPECT_EQ(l.monitors[0].kind, (6 * 7 + 5) % 5);
         }},
        {CourseItemKind::Spikes, 6, [&](const Level& l) {
             ASSERT_EQ(l.spikes.size(), 1u);
             EXPECT_EQ(l.spikes[0].x, x6);
             EXPECT_EQ(l.spikes[0].width, 48);
         }},
        {CourseItemKind::Crawler, 7, [&](const Level& l) {
             ASSERT_EQ(l.enemies.size(), 1u);
             const Baddie& b = l.enemies[0];
             EXPECT_EQ(b.kind, BaddieKind::Crawler);
             EXPECT_EQ(b.x, x7);
             EXPECT_EQ(b.y, cellY + 24 - 16);  // over the pit: 16 above the bottom of its cell
             EXPECT_EQ(b.homeX, b.x);
             EXPECT_EQ(b.homeY, b.y);
             EXPECT_EQ(b.dir, -1);
             EXPECT_TRUE(b.alive);
         }},
        {CourseItemKind::Buzzer, 7, [&](const Level& l) {
             ASSERT_EQ(l.enemies.size(), 1u);
             EXPECT_EQ(l.enemies[0].kind, BaddieKind::Buzzer);
             EXPECT_EQ(l.enemies[0].y, cellY);  // at its cell centre
         }},
        {CourseItemKind::Hopper, 6, [&](const Level& l) {
             ASSERT_EQ(l.enemies.size(), 1u);
             EXPECT_EQ(l.enemies[0].kind, BaddieKind::Hopper);
             EXPECT_EQ(l.enemies[0].y, 480 - 16);
         }},
        {CourseItemKind::Spiker, 6, [&](const Level& l) {
             ASSERT_EQ(l.enemies.size(), 1u);
             EXPECT_EQ(l.enemies[0].kind, BaddieKind::Spiker);
             EXPECT_EQ(l.enemies[0].y, 480 - 16);
         }},
        {CourseItemKind::Turret, 6, [&](const Level& l) {
             ASSERT_EQ(l.enemies.size(), 1u);
             EXPECT_EQ(l.enemies[0].kind, BaddieKind::Turret);
             EXPECT_EQ(l.enemies[0].y, 480 - 22);
         }},
        {CourseItemKind::Stalactite, 6, [&](const Level& l) {
             ASSERT_EQ(l.hazards.size(), 1u);
             EXPECT_EQ(l.hazards[0].kind, HazardKind::Stalactite);
             EXPECT_EQ(l.hazards[0].y, cellY);
             EXPECT_EQ(l.hazards[0].w, 0);
         }},
        {CourseItemKind::Updraft, 7, [&](const Level& l) {
             ASSERT_EQ(l.hazards.size(), 1u);
             EXPECT_EQ(l.hazards[0].kind, HazardKind::Updraft);
             EXPECT_EQ(l.hazards[0].y, cellY + 24);  // max(base y, cellY)
             EXPECT_EQ(l.hazards[0].w, 110);
             EXPECT_EQ(l.hazards[0].h, 520);
         }},
        {CourseItemKind::Laser, 6, [&](const Level& l) {
             ASSERT_EQ(l.hazards.size(), 1u);
             EXPECT_EQ(l.hazards[0].kind, HazardKind::Laser);
             EXPECT_EQ(l.hazards[0].y, 480);
             EXPECT_EQ(l.hazards[0].w, 10);
             EXPECT_EQ(l.hazards[0].h, 180);
         }},
        {CourseItemKind::Checkpoint, 6, [&](const Level& l) {
             ASSERT_EQ(l.checkpoints.size(), 1u);
             EXPECT_EQ(l.checkpoints[0].x, x6);
             EXPECT_EQ(l.checkpoints[0].y, 480);
         }},
        {CourseItemKind::StonePortal, 6, [&](const Level& l) {
             ASSERT_EQ(l.stonePortals.size(), 1u);
             EXPECT_EQ(l.stonePortals[0].y, cellY);
         }},
        {CourseItemKind::Goal, 6, [&](const Level& l) {
             EXPECT_EQ(l.bossX, x6 + 160);
             EXPECT_EQ(l.arenaY, 480);
         }},
        {CourseItemKind::Eraser, 6, [](const Level& l) { EXPECT_EQ(l.bossX, 20 * 48 - 100.0f); }},
    };
    for (const Case& c : cases) {
        Course course = flat(20, 4, {{c.kind, c.column, 5}});
        course.heights[7] = 0;
        SCOPED_TRACE(paletteName(c.kind));
        c.check(build(course));
    }
}

TEST(CourseLevel, MonitorContentsFollowTheirCell) {
    struct Case {
        int column, row, kind;
    };
    for (const Case& c : {Case{3, 4, 0}, Case{1, 1, 3}, Case{0, 2, 2}, Case{-1, 0, -2}, Case{2147483647, 0, 4}}) {
        const Level l = build(flat(20, 3, {{CourseItemKind::Monitor, c.column, c.row}}));
        ASSERT_EQ(l.monitors.size(), 1u);
        EXPECT_EQ(l.monitors[0].kind, c.kind) << c.column << "," << c.row;
        EXPECT_TRUE(std::isfinite(l.monitors[0].x));
    }
}

TEST(CourseLevel, OddCoursesBuildSafely) {
    // Out-of-range values a caller might hand over: no columns at all,
    // heights and theme out of range.
    Course empty;
    empty.theme = 42;
    empty.items = {{CourseItemKind::Spring, 0, 0}};
    const Level e = build(empty);
    EXPECT_EQ(e.zone, 5);
    EXPECT_EQ(e.groundPaths.size(), 1u);
    EXPECT_EQ(e.springs.size(), 1u);

    Course wild = flat(20, 40);
    wild.heights[0] = -5;
    const Level w = build(wild);
    EXPECT_EQ(w.startPos, sf::Vector2f(72, 96 - 60));
    EXPECT_EQ(w.lowestGroundY, 96.0f);
}
