// The hero and the boss in view during a fight, the boss's marker and speech
// bubble clear of the HUD, and the goal a beaten boss drops where the player
// meets it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/Bosses.h"
#include "gameplay/ActFlow.h"
#include "gameplay/Player.h"
#include "render/BossInView.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

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

bool clearOfHud(sf::FloatRect r) {
    return !r.intersects(kHudRows) && !r.intersects(kHudStones) && !r.intersects(kHudBottom);
}

}  // namespace

TEST(ArenaView, TheCameraKeepsTheHeroInsideTheView) {
    const Level level = flatLevel();
    struct Case {
        const char* what;
        bool fight;
        sf::Vector2f camera, hero;
        bool grounded;
    };
    const Case cases[] = {
        {"flapping far above the arena", true, {4600, 210}, {4600, -900}, false},
        {"at the arena's left wall", true, {4780, 210}, {4018, 300}, false},
        {"at the arena's right wall", true, {4420, 210}, {5182, 382}, true},
        {"launched high by a spring", false, {1000, 342}, {1000, -300}, false},
        {"far ahead after a teleport", false, {1000, 342}, {1700, 382}, true},
        {"far behind after a knock", false, {2000, 342}, {1200, 382}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Player p = makePlayer(2, c.hero);
        p.grounded = c.grounded;
        const sf::Vector2f cam = stepCamera(c.camera, p, level, c.fight, {}, kDt);
        EXPECT_GE(p.y - (cam.y - 270.0f), kHeroViewMargin - 0.01f);
        EXPECT_LE(std::fabs(p.x - cam.x), 480.0f - kHeroViewMargin + 0.01f);
        if (c.fight) {
            EXPECT_GE(cam.x, level.arenaX + 420.0f);
            EXPECT_LE(cam.x, level.bossX - 420.0f);
        }
    }
}

TEST(ArenaView, TheFightCameraFramesAHoveringBossClearOfTheHud) {
    // The Prism Bat comes down from far above and hovers over the arena; the
    // player stands on the floor. Once the bat has settled, its body stays
    // below the HUD's top rows whenever it is on the screen.
    const Level level = flatLevel();
    Player p = makePlayer(2, {4300, 382});
    p.grounded = true;
    sf::Vector2f cam{4300, 342};
    BossState bat;
    spawnBoss(bat, PrismBat, level.arenaX, level.bossX, level.arenaY);
    BossArena arena;
    arena.left = level.arenaX;
    arena.right = level.bossX;
    arena.floor = level.arenaY;
    arena.player = {p.x, p.y};
    for (int i = 0; i < 60 * 6; ++i) {
        updateBoss(bat, arena, kDt);
        cam = stepCamera(cam, p, level, true, {}, kDt);
        if (i < 72 || bat.state == 3) continue;  // settling in; swoops come down at the player
        const float top = cam.y - 270.0f, left = cam.x - 480.0f;
        const sf::FloatRect body{bat.x - 34 - left, bat.y - 34 - top, 68, 68};
        SCOPED_TRACE(i);
        EXPECT_GE(body.top, kHudStones.top + kHudStones.height);
    }
}

TEST(ArenaView, AnOffScreenBossGetsAMarkerAtTheNearestEdge) {
    const sf::FloatRect view{1000, 2000, 960, 540};
    struct Case {
        const char* what;
        sf::Vector2f boss;  // on the screen: subtract (1000, 2000)
        bool marker;
        sf::Vector2f at;
        float reach = 0;    // the boss's body around its centre
    };
    const Case cases[] = {
        {"in view", {1480, 2270}, false, {}},
        {"just inside the right edge", {1959, 2300}, false, {}},
        {"its body reaching into view", {2000, 2300}, false, {}, 50},
        {"its body short of the view", {2000, 2300}, true, {920, 300}, 30},
        {"its body short of a corner", {2000, 1960}, true, {920, 100}, 55},
        {"right", {2200, 2300}, true, {920, 300}},
        {"left", {700, 2300}, true, {40, 300}},
        {"above", {1480, 1800}, true, {480, 40}},
        {"below", {1480, 2900}, true, {480, 426}},
        {"above the score rows", {1100, 1800}, true, {284, 40}},
        {"left of the score rows", {600, 2050}, true, {40, 152}},
        {"above the stones", {1900, 1800}, true, {678, 40}},
        {"right of the stones", {2300, 2010}, true, {920, 100}},
        {"below and right", {2600, 3000}, true, {920, 426}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto m = bossEdgeMarker(c.boss, view, c.reach);
        ASSERT_EQ(m.has_value(), c.marker);
        if (!m) continue;
        EXPECT_NEAR(m->pos.x, c.at.x, 0.01f);
        EXPECT_NEAR(m->pos.y, c.at.y, 0.01f);
        // The arrow points at the boss.
        const sf::Vector2f toBoss = c.boss - sf::Vector2f(view.left, view.top) - m->pos;
        EXPECT_GT(m->dir.x * toBoss.x + m->dir.y * toBoss.y, 0.0f);
        EXPECT_NEAR(std::hypot(m->dir.x, m->dir.y), 1.0f, 1e-4f);
    }
    // Wherever the boss is, the marker stays on the screen and off the HUD.
    for (float x = -3000; x <= 5000; x += 97)
        for (float y = -2000; y <= 4000; y += 89) {
            const auto m = bossEdgeMarker({x, y}, {0, 0, 960, 540});
            if (!m) continue;
            const float r = kBossMarkerRadius;
            const sf::FloatRect disc{m->pos.x - r, m->pos.y - r, 2 * r, 2 * r};
            EXPECT_TRUE(clearOfHud(disc)) << x << ", " << y;
            // Ring and arrow on the screen.
            const float reach = r + 17;
            EXPECT_TRUE(sf::FloatRect(reach, reach, 960 - 2 * reach, 540 - 2 * reach).contains(m->pos))
                << x << ", " << y;
        }
    EXPECT_FALSE(bossEdgeMarker({NAN, 10}, view));
}

TEST(ArenaView, SpeechBubblesKeepOffTheHud) {
    struct Case {
        const char* what;
        sf::FloatRect box;
        sf::FloatRect expected;
    };
    const Case cases[] = {
        {"in the clear", {300, 200, 340, 40}, {300, 200, 340, 40}},
        {"over the score rows", {100, 20, 340, 40}, {270, 20, 340, 40}},
        {"over the stones", {600, 10, 340, 56}, {352, 10, 340, 56}},
        {"over both, too wide for the gap", {150, 30, 500, 40}, {150, 138, 500, 40}},
        {"out of the screen's top", {300, -30, 340, 40}, {300, 8, 340, 40}},
        {"over the boss bar", {300, 450, 340, 40}, {300, 418, 340, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const sf::FloatRect r = bubbleOffHud(c.box);
        EXPECT_EQ(r, c.expected);
        EXPECT_TRUE(clearOfHud(r));
    }
    for (float x = -200; x < 1000; x += 37)
        for (float y = -100; y < 560; y += 23) {
            const sf::FloatRect r = bubbleOffHud({x, y, 380, 56});
            EXPECT_TRUE(clearOfHud(r)) << x << ", " << y;
            EXPECT_TRUE(sf::FloatRect(0, 0, 960, 540).contains({r.left, r.top})) << x << ", " << y;
        }
}

TEST(ArenaView, ABeatenBossDropsTheGoalWherePlayerHoldingRightMeetsIt) {
    Level level = flatLevel();
    struct Case {
        float playerX;  // where the player is when the boss falls
        float goalX;
    };
    // bossX - 160 as long as the player is no further right than 30 past it.
    const Case cases[] = {{4100, 5040}, {5070, 5040}, {5100, 5070}, {5150, 5120}, {5182, 5152}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playerX);
        ActState act;
        dropGoalAfterBoss(act, level, c.playerX);
        EXPECT_EQ(act.goalX, c.goalX);
        EXPECT_TRUE(act.arenaHeld);

        // Holding Right from there, at full speed, reaches the sign.
        Player p = makePlayer(3, {c.playerX, 382});
        p.grounded = true;
        p.groundSpeed = 900;
        PlayerInput right;
        right.right = true;
        bool touched = false;
        float t = 0;
        for (int i = 0; i < 180 && !touched; ++i) {
            t += kDt;
            updatePlayer(p, right, level, kDt, t);
            applyWalls(p, level, act);
            EXPECT_LE(p.x, c.goalX + 30.0f);
            touched = stepGoal(act, level, p, kDt).touched;
        }
        EXPECT_TRUE(touched);
        EXPECT_FALSE(act.arenaHeld);
        // Then the act's own walls again.
        p.x = 5390;
        applyWalls(p, level, act);
        EXPECT_EQ(p.x, 5382.0f);
    }
}
