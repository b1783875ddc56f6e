#pragma once
#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <vector>

#include "core/Random.h"
#include "level/Level.h"

// What a build did, section by section; for tests and tools. Nothing in the
// course depends on whether a trace is kept.
struct ActSectionTrace {
    enum : int { SetPiece = 8, FinalPortal = 9 };  // besides the regular types 0..7
    int type = 0;
    float startX = 0, startY = 0;  // cursor when the section began
    float endX = 0, endY = 0;      // cursor when it was built
};

struct ActTrace {
    std::vector<ActSectionTrace> sections;
    std::vector<sf::Vector2f> afterKeepInBand;  // cursor after every keepInBand
};

// The state of one build: a cursor walking left to right through the level.
// Every random draw is taken in a fixed order; that order is what makes an
// act the same course on every machine, so do not reorder draws.
struct ActGenerator {
    Level& level;
    XorShift32 rng;
    float x = 0, y = 0;
    ActTrace* trace = nullptr;

    ActGenerator(Level& target, std::uint32_t seed) : level(target), rng(seed) {}

    std::uint32_t next() { return rng.next(); }
    float rand() { return rng.rand(); }

    // Ground under px, or the cursor's y where no path covers px.
    float groundAt(float px) const;

    void addFlat(float len);
    void addSlope(float len, float rise);  // smoothstep; a positive rise goes down
    void startGroundPath(float px, float py);
    void placeGemRow(float xa, float xb, float lift, int count);
    void placeGemArc(sf::Vector2f p1, sf::Vector2f p2, float lift, int count);
    int rollMonitorKind();
    void placeEnemy(int kind, float ex);
    void placeEnemies(const std::vector<int>& kinds, int count);
    void keepInBand();

    void buildHills();
    void buildLoop();
    void buildRampGap();
    void buildDownhill();
    bool buildSkyPlatforms(const std::vector<int>& kinds, bool portalHere);  // true: portal placed
    void buildPlatformPit(bool crumbling);
    void buildGauntlet(const std::vector<int>& kinds);
    void buildValley();
    void buildSetPiece(int zone);
};

// Seed of an act: 587797195 - 1640531535 * (31 zone + 7 act), wrapping.
std::uint32_t actSeed(int zone, int act);

// Walk length before the arena: 23000 + 1000 zone, 12000 for the final act.
float actLength(int zone, int act);

// Clears level and builds the act. Zones outside 0..5 and acts outside 1..2
// are clamped into range.
void generateAct(Level& level, int zone, int act, ActTrace* trace = nullptr);
