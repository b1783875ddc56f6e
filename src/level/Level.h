#pragma once
#include <SFML/System/Vector2.hpp>
#include <vector>

#include "level/Effects.h"

// Units: logical units of the 960x540 view, x right, y down; seconds; radians.

// Ledges, movers, crumblers and grind rails share one record.
struct Platform {
    float x1 = 0, y1 = 0;   // left end of the walkable segment
    float x2 = 0, y2 = 0;   // right end (may differ in y: sloped ledges and rails)
    bool isRail = false;    // collides like a ledge
    float moveX = 0, moveY = 0;  // motion amplitudes
    float movePeriod = 0;   // seconds per cycle; 0 = static
    float movePhase = 0;    // phase offset in cycles (0..1)
    bool crumbles = false;
    float crumbleTimer = -1;  // -1 idle, else seconds left before it falls
    bool fallen = false;      // a fallen crumbler takes part in no collision
};

// A vertical loop; (x, y) is its bottom, where it touches the ground.
struct Loop {
    float x = 0, y = 0;
    float radius = 150;
};

struct Spring {
    float x = 0, y = 0;     // base
    float power = 1250;     // launch speed
    int sideways = 0;       // 0 straight up; +-1 also sets vx = sideways * power * 0.6
    float squash = 0;       // animation, 1 on launch, falls by 4/s
    float lifetime = -1;    // -1 permanent; gadget springs count down from 3
};

struct DashPanel {
    float x = 0;
    float direction = 1;    // +1 right, -1 left
};

struct SpikeStrip {
    float x = 0;            // centre; the strip sits on the ground there
    float width = 64;
};

struct Gem {
    float x = 0, y = 0;
    bool taken = false;
};

struct MonitorKind {
    enum : int { TenGems = 0, Shield = 1, SpeedShoes = 2, ExtraHeart = 3, Invincibility = 4 };
};

struct Monitor {
    float x = 0, y = 0;
    int kind = MonitorKind::TenGems;
    bool broken = false;
};

struct Checkpoint {
    float x = 0, y = 0;
    bool reached = false;
    float spin = 0;
};

struct StonePortal {
    float x = 0, y = 0;
    bool used = false;
};

struct BaddieKind {
    enum : int { Crawler = 0, Buzzer = 1, Hopper = 2, Spiker = 3, Bomber = 4, Turret = 5 };
};

struct Baddie {
    int kind = BaddieKind::Crawler;
    float x = 0, y = 0;          // current position
    float homeX = 0, homeY = 0;  // spawn position
    float vx = 0, vy = 0;
    float timer = 0;             // grows by dt; drives flight paths
    float cooldown = 0;          // attacks when 0 or less
    int dir = -1;                // facing, +1 or -1
    bool alive = true;
};

// A fresh enemy standing at (x, y) as its home, facing left.
inline Baddie baddieAt(int kind, float x, float y) {
    Baddie b;
    b.kind = kind;
    b.x = b.homeX = x;
    b.y = b.homeY = y;
    return b;
}

struct HazardKind {
    enum : int { Stalactite = 0, Updraft = 1, Laser = 2, Wisp = 3, Crusher = 4 };
};

struct Hazard {
    int kind = HazardKind::Stalactite;
    float x = 0, y = 0, w = 0, h = 0;
    float timer = 0;   // grows by dt; the start value sets the phase
    float vy = 0;
    bool falling = false;
    bool shattered = false;
};

// Result of a ground probe: found is false over a pit (no ground path covers x).
struct GroundHeight {
    float y = 0;
    bool found = false;
    explicit operator bool() const { return found; }
};

using GroundPath = std::vector<sf::Vector2f>;

// The whole playable course of one act. Copying copies every list.
struct Level {
    int zone = 0;
    int act = 1;
    // Polylines with strictly increasing x; ground is solid from the line down.
    // Between the end of one and the start of the next lies a pit. Where
    // polylines overlap, the first in list order wins.
    std::vector<GroundPath> groundPaths;
    std::vector<Platform> platforms;
    std::vector<Loop> loops;
    std::vector<Spring> springs;
    std::vector<DashPanel> dashPanels;
    std::vector<SpikeStrip> spikes;
    std::vector<Gem> gems;
    std::vector<Monitor> monitors;
    std::vector<Checkpoint> checkpoints;
    std::vector<StonePortal> stonePortals;
    std::vector<Baddie> enemies;
    std::vector<Hazard> hazards;
    sf::Vector2f startPos;
    float arenaX = 0;        // left edge of the boss arena
    float bossX = 0;         // right edge of the arena, the boss's home
    float arenaY = 0;        // ground height at the arena
    int bossId = 0;
    float endX = 0;          // the player can never pass endX - 18
    float lowestGroundY = 0; // falling 700 below it is death

    // Ground height under x. Takes the first polyline whose x range holds x
    // (ends inclusive) and interpolates between its points.
    GroundHeight groundHeightAt(float x) const;

    // The greatest y of any ground point, and never less than 0.
    float greatestGroundY() const;
};

// The platform's displacement at total game time t: zero for a static one.
sf::Vector2f platformOffset(const Platform& p, float t);

// The y of the platform's surface line at x, time t (shifted by its offset).
// A zero-width platform gives y1 plus the offset. Does not check whether x
// lies on the platform: see platformCovers.
float platformHeightAt(const Platform& p, float x, float t);

// True when x lies between the shifted ends (inclusive) of a platform that
// has not fallen.
bool platformCovers(const Platform& p, float x, float t);
