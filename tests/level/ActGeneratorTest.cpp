#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "content/Zones.h"
#include "level/ActGenerator.h"

namespace {

struct Fingerprint {
    std::size_t paths = 0, points = 0, platforms = 0, loops = 0, springs = 0, dashPanels = 0,
                spikes = 0, gems = 0, monitors = 0, checkpoints = 0, portals = 0, enemies = 0,
                hazards = 0;
    std::uint64_t hash = 0;
    bool operator==(const Fingerprint&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Fingerprint& f) {
    return os << "{" << f.paths << ", " << f.points << ", " << f.platforms << ", " << f.loops
              << ", " << f.springs << ", " << f.dashPanels << ", " << f.spikes << ", " << f.gems
              << ", " << f.monitors << ", " << f.checkpoints << ", " << f.portals << ", "
              << f.enemies << ", " << f.hazards << ", 0x" << std::hex << f.hash << std::dec
              << "ull}";
}

// FNV-1a over the bit patterns of every position, size, kind and timer.
struct Hasher {
    std::uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, std::size_t n) {
        auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    void f(float v) { bytes(&v, sizeof v); }
    void i(int v) { bytes(&v, sizeof v); }
};

Fingerprint fingerprint(const Level& l) {
    Fingerprint fp;
    Hasher h;
    fp.paths = l.groundPaths.size();
    for (const GroundPath& path : l.groundPaths) {
        fp.points += path.size();
        h.i(int(path.size()));
        for (const sf::Vector2f& p : path) { h.f(p.x); h.f(p.y); }
    }
    for (const Platform& p : l.platforms) {
        h.f(p.x1); h.f(p.y1); h.f(p.x2); h.f(p.y2); h.i(p.isRail); h.f(p.moveX); h.f(p.moveY);
        h.f(p.movePeriod); h.f(p.movePhase); h.i(p.crumbles);
    }
    for (const Loop& o : l.loops) { h.f(o.x); h.f(o.y); h.f(o.radius); }
    for (const Spring& s : l.springs) { h.f(s.x); h.f(s.y); h.f(s.power); }
    for (const DashPanel& d : l.dashPanels) { h.f(d.x); h.f(d.direction); }
    for (const SpikeStrip& s : l.spikes) { h.f(s.x); h.f(s.width); }
    for (const Gem& g : l.gems) { h.f(g.x); h.f(g.y); }
    for (const Monitor& m : l.monitors) { h.f(m.x); h.f(m.y); h.i(m.kind); }
    for (const Checkpoint& c : l.checkpoints) { h.f(c.x); h.f(c.y); }
    for (const StonePortal& s : l.stonePortals) { h.f(s.x); h.f(s.y); }
    for (const Baddie& b : l.enemies) { h.i(b.kind); h.f(b.x); h.f(b.y); h.f(b.timer); }
    for (const Hazard& z : l.hazards) {
        h.i(z.kind); h.f(z.x); h.f(z.y); h.f(z.w); h.f(z.h); h.f(z.timer);
    }
    h.f(l.startPos.x); h.f(l.startPos.y); h.f(l.arenaX); h.f(l.bossX); h.f(l.arenaY);
    h.i(l.bossId); h.f(l.endX); h.f(l.lowestGroundY);
    fp.platforms = l.platforms.size();
    fp.loops = l.loops.size();
    fp.springs = l.springs.size();
    fp.dashPanels = l.dashPanels.size();
    fp.spikes = l.spikes.size();
    fp.gems = l.gems.size();
    fp.monitors = l.monitors.size();
    fp.checkpoints = l.checkpoints.size();
    fp.portals = l.stonePortals.size();
    fp.enemies = l.enemies.size();
    fp.hazards = l.hazards.size();
    fp.hash = h.h;
    return fp;
}

struct BuiltAct {
    int zone, act;
    Level level;
    ActTrace trace;
};

// All twelve acts, built once for the whole test program.
const std::vector<BuiltAct>& allActs() {
    static const std::vector<BuiltAct> acts = [] {
        std::vector<BuiltAct> v;
        for (int z = 0; z < kZoneCount; ++z)
            for (int a = 1; a <= 2; ++a) {
                BuiltAct b{z, a, {}, {}};
                generateAct(b.level, z, a, &b.trace);
                v.push_back(std::move(b));
            }
        return v;
    }();
    return acts;
}

std::string name(const BuiltAct& b) {
    return "zone " + std::to_string(b.zone) + " act " + std::to_string(b.act);
}

// Sections of the main walk (the fallback portal section is not one of them).
std::vector<ActSectionTrace> walkSections(const ActTrace& t) {
    std::vector<ActSectionTrace> v;
    for (const ActSectionTrace& s : t.sections)
        if (s.type != ActSectionTrace::FinalPortal) v.push_back(s);
    return v;
}

}  // namespace

TEST(ActGenerator, FingerprintOfEveryActIsPinned) {
    // Any change to the order or number of random draws changes these.
    const Fingerprint expected[12] = {
        {3, 714, 8, 9, 1, 16, 0, 162, 1, 4, 1, 10, 0, 0x3513e55247214b5eull},
        {1, 770, 10, 7, 2, 9, 0, 149, 4, 4, 1, 9, 0, 0x3b3decd282975863ull},
        {5, 632, 23, 1, 3, 2, 3, 154, 6, 5, 1, 20, 19, 0xfa10945c2ce5ee98ull},
        {2, 691, 11, 2, 2, 7, 5, 175, 5, 5, 1, 15, 18, 0xfa8b845adb5f3ce2ull},
        {11, 593, 26, 0, 3, 7, 1, 154, 3, 5, 1, 23, 14, 0x72965a1970ca90a1ull},
        {11, 556, 29, 0, 3, 1, 2, 137, 4, 5, 1, 28, 15, 0x70863d809a74a9efull},
        {10, 602, 20, 1, 1, 13, 3, 146, 2, 5, 1, 19, 8, 0x20a07d4543024a1dull},
        {5, 707, 13, 5, 1, 15, 3, 183, 4, 5, 1, 18, 8, 0x2d97386b7943d0b3ull},
        {8, 712, 22, 1, 1, 10, 1, 156, 1, 5, 1, 27, 18, 0x3f59a592fff98b6cull},
        {7, 678, 39, 1, 4, 1, 0, 176, 5, 5, 1, 23, 18, 0x578b9551a0d5bac0ull},
        {10, 615, 43, 1, 4, 2, 0, 134, 4, 5, 1, 34, 8, 0x79886c27f4000a1eull},
        {5, 358, 15, 1, 1, 3, 2, 61, 1, 2, 1, 18, 4, 0xc4f829a2860bfd79ull},
    };
    for (std::size_t i = 0; i < allActs().size(); ++i) {
        SCOPED_TRACE(name(allActs()[i]));
        EXPECT_EQ(fingerprint(allActs()[i].level), expected[i]);
    }
}

TEST(ActGenerator, SameActSameCourseEvenIntoAUsedLevel) {
    Level used;
    generateAct(used, 3, 2);
    used.gems[0].taken = true;
    used.platforms.push_back({});
    generateAct(used, 0, 1);
    Level fresh;
    generateAct(fresh, 0, 1);
    EXPECT_EQ(fingerprint(used), fingerprint(fresh));
    EXPECT_FALSE(used.gems[0].taken);
    EXPECT_EQ(used.zone, 0);
    EXPECT_EQ(used.act, 1);
}

TEST(ActGenerator, SeedWrapsInThirtyTwoBits) {
    EXPECT_EQ(actSeed(0, 1), std::uint32_t(587797195u - 1640531535u * 7u));
    EXPECT_EQ(actSeed(5, 2), std::uint32_t(587797195ull - 1640531535ull * 169ull));
    for (int z = 0; z < kZoneCount; ++z)
        for (int a = 1; a <= 2; ++a) EXPECT_NE(actSeed(z, a), 0u);  // xorshift would stick
}

TEST(ActGenerator, OutOfRangeZoneAndActAreClamped) {
    Level odd, last;
    generateAct(odd, 42, 9);
    generateAct(last, 5, 2);
    EXPECT_EQ(fingerprint(odd), fingerprint(last));
    generateAct(odd, -3, 0);
    generateAct(last, 0, 1);
    EXPECT_EQ(fingerprint(odd), fingerprint(last));
}

TEST(ActGenerator, OpensWithAFlatRunFromMinusFourHundred) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        const GroundPath& first = b.level.groundPaths.front();
        EXPECT_EQ(first.front(), sf::Vector2f(-400, 420));
        EXPECT_EQ(b.level.startPos, sf::Vector2f(260, 380));
        ASSERT_GE(b.trace.sections.size(), 1u);
        EXPECT_EQ(b.trace.sections[0].type, 0);
        EXPECT_FLOAT_EQ(b.trace.sections[0].startX, 300);
    }
}

TEST(ActGenerator, ExactlyOnePortalPastThirtyFivePercentAndInTheAir) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        ASSERT_EQ(b.level.stonePortals.size(), 1u);
        const StonePortal& p = b.level.stonePortals[0];
        EXPECT_GT(p.x, 0.35f * actLength(b.zone, b.act));
        EXPECT_LT(p.x, b.level.arenaX);
        GroundHeight g = b.level.groundHeightAt(p.x);
        ASSERT_TRUE(g.found);       // sky platforms run over solid ground
        EXPECT_LT(p.y, g.y - 200);  // standing on a ledge high above it
    }
}

TEST(ActGenerator, CursorInsideTheBandAfterEveryKeepInBand) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        EXPECT_FALSE(b.trace.afterKeepInBand.empty());
        for (sf::Vector2f c : b.trace.afterKeepInBand) {
            EXPECT_GE(c.y, 200) << "at x " << c.x;
            EXPECT_LE(c.y, 900) << "at x " << c.x;
        }
    }
}

TEST(KeepInBand, PullsTheCursorBackFromEitherSide) {
    for (float start : {-300.0f, 0.0f, 199.0f, 200.0f, 555.0f, 900.0f, 901.0f, 1600.0f}) {
        SCOPED_TRACE(start);
        Level l;
        ActGenerator g(l, 12345);
        g.startGroundPath(0, start);
        std::uint32_t before = g.rng.state;
        g.keepInBand();
        EXPECT_GE(g.y, 200);
        EXPECT_LE(g.y, 900);
        if (start >= 200 && start <= 900) {
            EXPECT_EQ(g.x, 0);  // nothing added, nothing drawn
            EXPECT_EQ(g.rng.state, before);
        } else {
            EXPECT_FLOAT_EQ(g.x, 400);
        }
    }
}

TEST(ActGenerator, CheckpointsAtTheFirstBoundaryPastEachMultipleOf4500) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        std::vector<ActSectionTrace> walk = walkSections(b.trace);
        std::size_t expected = 0;
        for (int k = 1;; ++k) {
            float mark = 4500.0f * float(k);
            std::size_t i = 0;
            while (i < walk.size() && !(walk[i].endX > mark)) ++i;
            if (i + 1 >= walk.size()) break;  // the walk ended there: no section follows
            ASSERT_LT(expected, b.level.checkpoints.size()) << "missing checkpoint for " << mark;
            const Checkpoint& c = b.level.checkpoints[expected];
            EXPECT_FLOAT_EQ(c.x, walk[i].endX + 80);
            EXPECT_FLOAT_EQ(c.y, walk[i].endY);
            EXPECT_FLOAT_EQ(walk[i + 1].startX, c.x + 80);  // between sections, never inside
            EXPECT_FALSE(c.reached);
            ++expected;
        }
        EXPECT_EQ(b.level.checkpoints.size(), expected);
        EXPECT_GE(expected, b.zone == 5 && b.act == 2 ? 2u : 4u);
    }
}

TEST(ActGenerator, ActAndArenaLengths) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        const Level& l = b.level;
        const bool finalAct = b.zone == 5 && b.act == 2;
        float length = actLength(b.zone, b.act);
        EXPECT_FLOAT_EQ(length, finalAct ? 12000.0f : 23000.0f + 1000.0f * float(b.zone));
        std::vector<ActSectionTrace> walk = walkSections(b.trace);
        for (std::size_t i = 0; i + 1 < walk.size(); ++i) EXPECT_LT(walk[i].endX, length);
        EXPECT_LT(walk.back().startX, length);
        EXPECT_GE(walk.back().endX, length);

        float walkEnd = b.trace.sections.back().endX;
        EXPECT_FLOAT_EQ(l.arenaX, walkEnd + 500);
        EXPECT_NEAR(l.bossX - l.arenaX, finalAct ? 1500 : b.act == 1 ? 1100 : 1300, 0.01);
        EXPECT_NEAR(l.endX - l.bossX, 900, 0.01);
        EXPECT_FLOAT_EQ(l.arenaY, l.groundHeightAt(l.arenaX).y);
        EXPECT_FLOAT_EQ(l.arenaY, l.groundHeightAt(l.endX).y);
        const ZoneDef& z = zoneTable()[b.zone];
        EXPECT_EQ(l.bossId, b.act == 1 ? z.miniBossIndex : z.bossIndex);
        EXPECT_FLOAT_EQ(l.groundPaths.back().back().x, l.endX);
    }
    EXPECT_EQ(allActs().back().level.bossId, 9);
}

TEST(ActGenerator, SetPieceRhythm) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        const int rhythm = b.zone == 0 ? 4 : 3;
        int regular = 0, setPieces = 0;
        for (const ActSectionTrace& s : walkSections(b.trace)) {
            if (s.type == ActSectionTrace::SetPiece) {
                EXPECT_EQ(regular, rhythm);
                regular = 0;
                ++setPieces;
            } else {
                ++regular;
                EXPECT_LE(regular, rhythm);
            }
        }
        EXPECT_GE(setPieces, 2);
    }
}

TEST(ActGenerator, GroundPathsAreOrderedFineAndApart) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        const Level& l = b.level;
        float lowest = 0;
        for (std::size_t p = 0; p < l.groundPaths.size(); ++p) {
            const GroundPath& path = l.groundPaths[p];
            ASSERT_GE(path.size(), 2u);
            if (p > 0) {
                EXPECT_GT(path.front().x, l.groundPaths[p - 1].back().x);
            }
            for (std::size_t i = 0; i < path.size(); ++i) {
                lowest = std::max(lowest, path[i].y);
                if (i == 0) continue;
                EXPECT_GT(path[i].x, path[i - 1].x);
                EXPECT_LE(path[i].x - path[i - 1].x, 48.01f);
            }
        }
        EXPECT_FLOAT_EQ(l.lowestGroundY, lowest);
    }
}

TEST(ActGenerator, BaddiesStandOverGroundAndUseTheZoneKinds) {
    for (const BuiltAct& b : allActs()) {
        SCOPED_TRACE(name(b));
        const std::vector<int>& kinds = zoneTable()[b.zone].enemyKinds;
        for (const Baddie& e : b.level.enemies) {
            EXPECT_TRUE(b.level.groundHeightAt(e.homeX).found) << "baddie over a gap at " << e.x;
            EXPECT_NE(std::find(kinds.begin(), kinds.end(), e.kind), kinds.end());
            EXPECT_GE(e.timer, 0);
            EXPECT_LT(e.timer, 3);
            EXPECT_EQ(e.dir, -1);
            EXPECT_TRUE(e.alive);
        }
    }
}

TEST(PlaceEnemies, ARollOverAGapPlacesNothingAndDrawsOnce) {
    struct Case { float pathStart, pathEnd; std::size_t placed; int draws; };
    const Case cases[] = {
        {0, 100, 0, 3},       // every roll lands in the gap before x = 2000
        {1400, 2000, 3, 9},   // ground under every roll: position, kind and timer
    };
    for (const Case& c : cases) {
        Level l;
        ActGenerator g(l, 2463534242u);
        g.startGroundPath(c.pathStart, 500);
        g.addFlat(c.pathEnd - c.pathStart);
        if (c.placed == 0) g.startGroundPath(2000, 500);
        XorShift32 expected = g.rng;
        for (int i = 0; i < c.draws; ++i) expected.next();
        g.placeEnemies({0, 1, 2}, 3);
        EXPECT_EQ(l.enemies.size(), c.placed);
        EXPECT_EQ(g.rng.state, expected.state);
    }
}

TEST(PlaceEnemy, SpawnHeightByKind) {
    struct Case { int kind; float y; };
    const Case cases[] = {{BaddieKind::Crawler, 484}, {BaddieKind::Buzzer, 380},
                          {BaddieKind::Hopper, 484},  {BaddieKind::Spiker, 484},
                          {BaddieKind::Bomber, 240},  {BaddieKind::Turret, 478}};
    for (const Case& c : cases) {
        Level l;
        ActGenerator g(l, 7);
        g.startGroundPath(0, 500);
        g.addFlat(200);
        g.placeEnemy(c.kind, 100);
        ASSERT_EQ(l.enemies.size(), 1u);
        EXPECT_FLOAT_EQ(l.enemies[0].y, c.y);
        EXPECT_FLOAT_EQ(l.enemies[0].homeY, c.y);
        EXPECT_FLOAT_EQ(l.enemies[0].homeX, 100);
    }
}

TEST(Primitives, FlatAndSlopeSpacing) {
    Level l;
    ActGenerator g(l, 7);
    g.startGroundPath(0, 500);
    g.addFlat(100);
    EXPECT_EQ(l.groundPaths[0], (GroundPath{{0, 500}, {48, 500}, {96, 500}, {100, 500}}));
    g.addSlope(40, 60);  // at least two steps even when short
    ASSERT_EQ(l.groundPaths[0].size(), 6u);
    EXPECT_FLOAT_EQ(l.groundPaths[0][4].x, 120);
    EXPECT_FLOAT_EQ(l.groundPaths[0][4].y, 530);
    EXPECT_FLOAT_EQ(g.x, 140);
    EXPECT_FLOAT_EQ(g.y, 560);

    g.placeGemRow(0, 100, 50, 1);
    g.placeGemArc({0, 100}, {100, 100}, 40, 3);
    ASSERT_EQ(l.gems.size(), 4u);
    EXPECT_FLOAT_EQ(l.gems[0].x, 0);
    EXPECT_FLOAT_EQ(l.gems[0].y, 450);
    EXPECT_FLOAT_EQ(l.gems[2].y, 60);  // the arc's top: 4 * lift * 1/4 above the chord
}

TEST(RollMonitorKind, UsesOneDraw) {
    Level l;
    ActGenerator g(l, 99);
    XorShift32 copy = g.rng;
    float r = copy.rand();
    int kind = g.rollMonitorKind();
    int expected = r < 0.4f ? 0 : r < 0.65f ? 1 : r < 0.8f ? 2 : r < 0.93f ? 3 : 4;
    EXPECT_EQ(kind, expected);
    EXPECT_EQ(g.rng.state, copy.state);
}
