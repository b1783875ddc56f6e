// The debug editor's pure steps: who may use it, the palette, flying, the
// snapped cursor, placing entries and choosing what a right click removes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "debug/DebugEditor.h"
#include "gameplay/Player.h"

namespace {

constexpr float kGround = 400.0f;

// Flat ground at 400 from x 0 to 2000, a pit beyond.
Level flatLevel() {
    Level level;
    level.groundPaths = {{{0, kGround}, {2000, kGround}}};
    level.lowestGroundY = kGround;
    level.endX = 2000;
    level.arenaX = 1500;
    level.arenaY = 380;
    level.bossX = 1960;
    return level;
}

int entry(const char* name) {
    const int i = debugEntryIndex(name);
    EXPECT_GE(i, 0) << name;
    return i;
}

}  // namespace

TEST(DebugEditor, AllowedOnlyWithTheSettingInANoSaveStoryOrActOutsideLobbiesAndCourses) {
    struct Case { bool setting; int slot; bool lobby; bool course; bool allowed; };
    const Case cases[] = {
        {true, -1, false, false, true},
        {false, -1, false, false, false},  // the option is off
        {true, 0, false, false, false},    // a saved game
        {true, 2, false, false, false},
        {true, -1, true, false, false},    // a lobby
        {true, -1, false, true, false},    // a course test
    };
    for (const Case& c : cases)
        EXPECT_EQ(debugModeAllowed(c.setting, c.slot, c.lobby, c.course), c.allowed)
            << c.setting << ' ' << c.slot << ' ' << c.lobby << ' ' << c.course;
}

TEST(DebugEditor, PaletteHoldsTheTwentyOneEntriesInOrder) {
    const char* names[] = {"Gem",        "Spring",       "Big Spring",   "Monitor",  "Crawler",  "Buzzer",
                           "Hopper",     "Spiker",       "Bomber",       "Turret",   "Checkpoint", "Stone Portal",
                           "Dash Panel", "Spikes",       "Ledge",        "Secret Stone", "Divine Stone",
                           "+50 Gems",   "Teleport",     "Go to Boss",   "Goal"};
    ASSERT_EQ(debugPalette().size(), std::size(names));
    for (int i = 0; i < kDebugPaletteSize; ++i) {
        EXPECT_EQ(debugPalette()[std::size_t(i)], names[i]);
        EXPECT_EQ(debugEntryIndex(names[i]), i);
    }
    EXPECT_EQ(debugEntryIndex("gem"), -1);
    EXPECT_EQ(debugEntryName(-1), "Goal");
    EXPECT_EQ(debugEntryName(21), "Gem");
}

TEST(DebugEditor, PickingStepsAndWrapsThePalette) {
    struct Case { int index; DebugPick pick; int want; };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {5, {true, false, 0}, 4},
        {0, {true, false, 0}, 20},    // Q wraps to the last entry
        {20, {false, true, 0}, 0},    // E wraps to the first
        {5, {true, true, 3}, 4},      // previous wins over next and the wheel
        {5, {false, true, 3}, 6},     // next wins over the wheel
        {5, {false, false, 2.7f}, 3}, // whole wheel steps up pick earlier entries
        {5, {false, false, -1.9f}, 6},
        {1, {false, false, 3}, 19},
        {20, {false, false, -1}, 0},
        {7, {false, false, 0.5f}, 7},
        {7, {false, false, 42}, 7},   // two full turns
        {7, {false, false, 3.0e12f}, wrapDebugIndex(7 - 1000000LL)},
        {7, {false, false, nan}, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pickDebugEntry(c.index, c.pick), c.want)
            << c.index << ' ' << c.pick.previous << c.pick.next << ' ' << c.pick.wheel;
}

TEST(DebugEditor, TheArrowBoxesOfTheStrip) {
    struct Case { sf::Vector2f at; bool previous, next; };
    const Case cases[] = {
        {{250, 6}, true, false},  {{300, 46}, true, false}, {{249, 20}, false, false}, {{275, 47}, false, false},
        {{660, 6}, false, true},  {{710, 46}, false, true}, {{711, 20}, false, false}, {{480, 20}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inDebugPreviousBox(c.at), c.previous) << c.at.x << ',' << c.at.y;
        EXPECT_EQ(inDebugNextBox(c.at), c.next) << c.at.x << ',' << c.at.y;
    }
}

TEST(DebugEditor, FlyingMovesByTheHeldKeysAndHoldsEverythingElseStill) {
    struct Case { DebugFlyKeys keys; sf::Vector2f move; int facing; };
    const Case cases[] = {
        {{}, {0, 0}, -1},
        {{false, true, false, false, false}, {60, 0}, 1},
        {{true, false, false, false, true}, {-150, 0}, -1},
        {{false, false, true, false, false}, {0, -60}, -1},   // up keeps the facing
        {{false, false, false, true, true}, {0, 150}, -1},
        {{true, true, true, true, false}, {0, 0}, -1},        // opposite keys cancel
        {{false, true, false, true, true}, {150, 150}, 1},
    };
    for (const Case& c : cases) {
        Player p = makePlayer(0, {500, 300});
        p.facing = -1;
        p.vx = 300;
        p.vy = -200;
        p.groundSpeed = 400;
        p.grounded = true;
        p.dead = true;
        p.deathStarted = true;
        p.deathTime = 0.7f;
        p.surface = 2;
        p.loopIndex = 1;
        flyDebugHero(p, c.keys, 0.1f);
        EXPECT_NEAR(p.x, 500 + c.move.x, 1e-3f);
        EXPECT_NEAR(p.y, 300 + c.move.y, 1e-3f);
        EXPECT_EQ(p.facing, c.facing);
        EXPECT_EQ(p.vx, 0.0f);
        EXPECT_EQ(p.vy, 0.0f);
        EXPECT_EQ(p.groundSpeed, 0.0f);
        EXPECT_FALSE(p.grounded);
        EXPECT_FALSE(p.dead);
        EXPECT_FALSE(p.deathStarted);  // a later death falls from its start
        EXPECT_EQ(p.deathTime, 0.0f);
        EXPECT_EQ(p.surface, -1);
        EXPECT_EQ(p.loopIndex, -1);
    }
}

TEST(DebugEditor, TheCursorSnapsToGroundAboveItOrLessThanFortyInto) {
    const Level level = flatLevel();
    EXPECT_EQ(debugCursor({1000, 300}, {480, 270}), sf::Vector2f(1000, 300));
    EXPECT_EQ(debugCursor({1000, 300}, {0, 50}), sf::Vector2f(520, 80));
    struct Case { sf::Vector2f cursor; float want; };
    const Case cases[] = {
        {{500, kGround - 100}, kGround},
        {{500, kGround - 1000}, kGround},
        {{500, kGround}, kGround},
        {{500, kGround + 39}, kGround},
        {{500, kGround + 40}, kGround + 40},  // 40 or more into the ground stays
        {{500, kGround + 60}, kGround + 60},
        {{2100, 300}, 300},                   // over the pit
    };
    for (const Case& c : cases) EXPECT_EQ(debugSnappedY(level, c.cursor), c.want) << c.cursor.x << ',' << c.cursor.y;
}

TEST(DebugEditor, EachLevelEntryLandsWhereItBelongs) {
    using Get = std::function<sf::Vector2f(const Level&)>;
    auto lastOf = [](auto list) {
        return Get([list](const Level& l) {
            const auto& v = l.*list;
            return v.empty() ? sf::Vector2f(-1, -1) : sf::Vector2f(v.back().x, v.back().y);
        });
    };
    const Get dash = [](const Level& l) { return sf::Vector2f(l.dashPanels.back().x, 0); };
    const Get spikes = [](const Level& l) { return sf::Vector2f(l.spikes.back().x, 0); };
    const Get ledge = [](const Level& l) { return sf::Vector2f(l.platforms.back().x1 + 70, l.platforms.back().y1); };
    struct Case { const char* name; Get get; sf::Vector2f want; };
    // Aimed at (600, 350), 50 above the ground.
    const Case cases[] = {
        {"Gem", lastOf(&Level::gems), {600, 350}},
        {"Spring", lastOf(&Level::springs), {600, kGround}},
        {"Big Spring", lastOf(&Level::springs), {600, kGround}},
        {"Monitor", lastOf(&Level::monitors), {600, kGround - 22}},
        {"Crawler", lastOf(&Level::enemies), {600, kGround - 16}},
        {"Buzzer", lastOf(&Level::enemies), {600, 350}},
        {"Hopper", lastOf(&Level::enemies), {600, kGround - 15}},
        {"Spiker", lastOf(&Level::enemies), {600, kGround - 16}},
        {"Bomber", lastOf(&Level::enemies), {600, 350}},
        {"Turret", lastOf(&Level::enemies), {600, kGround - 22}},
        {"Checkpoint", lastOf(&Level::checkpoints), {600, kGround}},
        {"Stone Portal", lastOf(&Level::stonePortals), {600, 350}},
        {"Dash Panel", dash, {600, 0}},
        {"Spikes", spikes, {600, 0}},
        {"Ledge", ledge, {600, 350}},
    };
    for (const Case& c : cases) {
        Level level = flatLevel();
        const DebugPlacement r = placeDebugEntry(level, entry(c.name), {600, 350}, -1);
        EXPECT_EQ(c.get(level), c.want) << c.name;
        EXPECT_EQ(r.cheat, DebugCheat::None) << c.name;
        EXPECT_TRUE(r.burst) << c.name;
    }
}

TEST(DebugEditor, PlacedObjectsCarryTheirFields) {
    Level level = flatLevel();
    const sf::Vector2f at{600, 350};
    placeDebugEntry(level, entry("Spring"), at, 1);
    placeDebugEntry(level, entry("Big Spring"), at, 1);
    ASSERT_EQ(level.springs.size(), 2u);
    EXPECT_EQ(level.springs[0].power, 1150.0f);
    EXPECT_EQ(level.springs[1].power, 1500.0f);
    EXPECT_EQ(level.springs[1].sideways, 0);
    EXPECT_EQ(level.springs[1].lifetime, -1.0f);

    // Monitors take the kinds in turn by how many the level already holds.
    for (int i = 0; i < 7; ++i) placeDebugEntry(level, entry("Monitor"), at, 1);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(level.monitors[std::size_t(i)].kind, i % 5);

    const char* baddies[] = {"Crawler", "Buzzer", "Hopper", "Spiker", "Bomber", "Turret"};
    for (const char* b : baddies) placeDebugEntry(level, entry(b), at, 1);
    ASSERT_EQ(level.enemies.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        const Baddie& b = level.enemies[std::size_t(k)];
        EXPECT_EQ(b.kind, k);
        EXPECT_EQ(b.homeX, b.x);
        EXPECT_EQ(b.homeY, b.y);
        EXPECT_EQ(b.dir, -1);
        EXPECT_TRUE(b.alive);
        EXPECT_EQ(b.vx, 0.0f);
        EXPECT_EQ(b.timer, 0.0f);
    }

    placeDebugEntry(level, entry("Dash Panel"), at, 1);
    placeDebugEntry(level, entry("Dash Panel"), at, -1);
    EXPECT_EQ(level.dashPanels[0].direction, 1.0f);
    EXPECT_EQ(level.dashPanels[1].direction, -1.0f);
    placeDebugEntry(level, entry("Spikes"), at, 1);
    EXPECT_EQ(level.spikes[0].width, 64.0f);
    placeDebugEntry(level, entry("Ledge"), at, 1);
    const Platform& p = level.platforms[0];
    EXPECT_EQ(p.x1, 530.0f);
    EXPECT_EQ(p.x2, 670.0f);
    EXPECT_EQ(p.y1, 350.0f);
    EXPECT_EQ(p.y2, 350.0f);
    EXPECT_EQ(p.crumbleTimer, -1.0f);
    EXPECT_FALSE(p.crumbles);
    EXPECT_EQ(p.movePeriod, 0.0f);
}

TEST(DebugEditor, CheatsAreHandedBackWithTheirPoints) {
    struct Case { const char* name; sf::Vector2f cursor; DebugCheat cheat; sf::Vector2f at; bool burst; };
    const Case cases[] = {
        {"Secret Stone", {600, 350}, DebugCheat::SecretStone, {0, 0}, true},
        {"Divine Stone", {600, 350}, DebugCheat::DivineStone, {0, 0}, true},
        {"+50 Gems", {600, 350}, DebugCheat::FiftyGems, {0, 0}, true},
        {"Teleport", {600, 350}, DebugCheat::Teleport, {600, 350}, false},
        {"Go to Boss", {600, 350}, DebugCheat::GoToBoss, {1400, kGround - 60}, false},
        {"Goal", {700, 300}, DebugCheat::Goal, {700, kGround - 70}, true},
        {"Goal", {700, 460}, DebugCheat::Goal, {700, 390}, true},  // deep in the ground: at the cursor
    };
    for (const Case& c : cases) {
        Level level = flatLevel();
        const Level before = level;
        const DebugPlacement r = placeDebugEntry(level, entry(c.name), c.cursor, 1);
        EXPECT_EQ(r.cheat, c.cheat) << c.name;
        EXPECT_EQ(r.at, c.at) << c.name;
        EXPECT_EQ(r.burst, c.burst) << c.name;
        EXPECT_EQ(level.gems.size() + level.springs.size() + level.enemies.size() + level.platforms.size(),
                  before.gems.size() + before.springs.size() + before.enemies.size() + before.platforms.size());
    }
    // Without ground before the arena the arena's height counts.
    Level pit = flatLevel();
    pit.arenaX = 2500;
    EXPECT_EQ(debugBossSpot(pit), sf::Vector2f(2400, 320));
}

TEST(DebugEditor, StonesAreGrantedLowestFirstWithTheirMessages) {
    struct Case { int mask; bool divine; int stone; int after; const char* message; };
    const Case cases[] = {
        {0, false, 0, 1, "You got the Red Secret Stone!"},
        {0b0111111, false, 6, 127, "You got the Purple Secret Stone!"},
        {0b0000101, true, 1, 0b0000111, "You got the Divine Orange Stone!"},
        {127, false, -1, 127, "You have all 7 Secret Stones"},
        {127, true, -1, 127, "You have all 7 Divine Stones"},
    };
    for (const Case& c : cases) {
        const DebugStoneGrant g = grantDebugStone(c.mask, c.divine);
        EXPECT_EQ(g.stone, c.stone) << c.mask;
        EXPECT_EQ(g.mask, c.after) << c.mask;
        EXPECT_EQ(g.message, c.message);
    }
}

// ---- Removal ------------------------------------------------------------------

namespace {

// One object of each removable kind, each with its reference point at p
// plus an offset (gems, monitors, baddies and portals sit at their point;
// springs 14 below it, checkpoints 40 below; spikes, dash panels and
// platforms on the ground line).
struct RemovalWorld {
    Level level = flatLevel();
    void gem(sf::Vector2f at, bool taken = false) { level.gems.push_back({at.x, at.y, taken}); }
    void spring(sf::Vector2f ref) { level.springs.push_back({ref.x, ref.y + 14}); }
    void monitor(sf::Vector2f at) { level.monitors.push_back({at.x, at.y}); }
    void baddie(sf::Vector2f at, bool alive = true) {
        Baddie b;
        b.x = at.x;
        b.y = at.y;
        b.alive = alive;
        level.enemies.push_back(b);
    }
    void checkpoint(sf::Vector2f ref) { level.checkpoints.push_back({ref.x, ref.y + 40}); }
    void portal(sf::Vector2f at) { level.stonePortals.push_back({at.x, at.y}); }
    void spikes(float x) { level.spikes.push_back({x, 64}); }
    void dash(float x) { level.dashPanels.push_back({x, 1}); }
    void ledge(float x1, float y1, float x2, float y2) {
        Platform p;
        p.x1 = x1;
        p.y1 = y1;
        p.x2 = x2;
        p.y2 = y2;
        level.platforms.push_back(p);
    }
};

}  // namespace

TEST(DebugEditor, RemovalPicksTheStrictlyNearestWithinFifty) {
    struct Case {
        const char* what;
        std::function<void(RemovalWorld&)> build;
        sf::Vector2f point;
        DebugTarget kind;
        std::size_t index;
    };
    const Case cases[] = {
        {"nothing near", [](RemovalWorld& w) { w.gem({300, 300}); w.baddie({700, 300}); }, {500, 300},
         DebugTarget::None, 0},
        {"exactly 50 is too far", [](RemovalWorld& w) { w.gem({550, 300}); }, {500, 300}, DebugTarget::None, 0},
        {"just inside 50", [](RemovalWorld& w) { w.gem({549.9f, 300}); }, {500, 300}, DebugTarget::Gem, 0},
        {"taken gems and broken baddies are not there",
         [](RemovalWorld& w) { w.gem({500, 300}, true); w.baddie({500, 300}, false); }, {500, 300},
         DebugTarget::None, 0},
        {"a tie goes to the kind examined first",
         [](RemovalWorld& w) { w.monitor({530, 300}); w.gem({470, 300}); }, {500, 300}, DebugTarget::Gem, 0},
        {"a tie inside one list goes to the earlier entry",
         [](RemovalWorld& w) { w.baddie({520, 300}); w.baddie({480, 300}); }, {500, 300}, DebugTarget::Baddie, 0},
        {"a later kind wins when strictly nearer",
         [](RemovalWorld& w) { w.gem({530, 300}); w.portal({510, 300}); }, {500, 300}, DebugTarget::StonePortal,
         0},
        {"the nearest of several", [](RemovalWorld& w) { w.gem({540, 300}); w.gem({505, 300}); w.gem({520, 300}); },
         {500, 300}, DebugTarget::Gem, 1},
        {"springs are taken 14 above their base", [](RemovalWorld& w) { w.spring({500, 300}); w.gem({501, 300}); },
         {500, 300}, DebugTarget::Spring, 0},
        {"checkpoints 40 above their base",
         [](RemovalWorld& w) { w.checkpoint({500, 300}); w.monitor({501, 300}); }, {500, 300},
         DebugTarget::Checkpoint, 0},
        {"spikes 10 above the ground",
         [](RemovalWorld& w) { w.spikes(500); w.gem({500, kGround - 9}); }, {500, kGround - 10},
         DebugTarget::Spikes, 0},
        {"spikes over a pit at the point's height", [](RemovalWorld& w) { w.spikes(2100); }, {2130, 100},
         DebugTarget::Spikes, 0},
        {"dash panels on the ground", [](RemovalWorld& w) { w.dash(500); w.spikes(500); }, {500, kGround},
         DebugTarget::DashPanel, 0},
        {"dash panels over a pit at the point's height", [](RemovalWorld& w) { w.dash(2100); }, {2120, 100},
         DebugTarget::DashPanel, 0},
        {"a ledge under the point", [](RemovalWorld& w) { w.ledge(400, 300, 600, 300); }, {450, 320},
         DebugTarget::Platform, 0},
        {"a ledge is measured along its slope", [](RemovalWorld& w) { w.ledge(400, 200, 600, 400); }, {500, 340},
         DebugTarget::Platform, 0},
        {"a sloped ledge too far below", [](RemovalWorld& w) { w.ledge(400, 200, 600, 400); }, {500, 240},
         DebugTarget::None, 0},
        {"a ledge that does not reach the point's x", [](RemovalWorld& w) { w.ledge(400, 300, 490, 300); },
         {495, 300}, DebugTarget::None, 0},
        {"a ledge given right to left", [](RemovalWorld& w) { w.ledge(600, 300, 400, 300); }, {450, 310},
         DebugTarget::Platform, 0},
        {"a zero-width ledge", [](RemovalWorld& w) { w.ledge(500, 280, 500, 320); }, {500, 300},
         DebugTarget::Platform, 0},
    };
    for (const Case& c : cases) {
        RemovalWorld w;
        c.build(w);
        const DebugFind f = findDebugRemoval(w.level, c.point);
        EXPECT_EQ(f.kind, c.kind) << c.what;
        EXPECT_EQ(f.index, f ? c.index : 0) << c.what;
    }
}

TEST(DebugEditor, ErasingMovesLaterEntriesUp) {
    RemovalWorld w;
    w.gem({100, 100});
    w.gem({500, 300});
    w.gem({900, 100});
    EXPECT_TRUE(eraseDebugFind(w.level, findDebugRemoval(w.level, {500, 300})));
    ASSERT_EQ(w.level.gems.size(), 2u);
    EXPECT_EQ(w.level.gems[0].x, 100.0f);
    EXPECT_EQ(w.level.gems[1].x, 900.0f);
    EXPECT_FALSE(eraseDebugFind(w.level, findDebugRemoval(w.level, {500, 300})));
    EXPECT_FALSE(eraseDebugFind(w.level, {DebugTarget::Gem, 7, 0}));  // a stale index erases nothing
    EXPECT_EQ(w.level.gems.size(), 2u);
}
