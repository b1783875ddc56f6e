#pragma once
// Small levels and input helpers for the player tests.
#include <cmath>

#include "gameplay/Player.h"
#include "level/Level.h"

namespace fixture {

constexpr float kDt = 1.0f / 60.0f;
constexpr float kPi = 3.14159265358979323846f;

// Flat ground at height y from x0 to x1, points 48 apart.
inline GroundPath flatPath(float x0, float x1, float y) {
    GroundPath path;
    for (float x = x0; x < x1; x += 48) path.push_back({x, y});
    path.push_back({x1, y});
    return path;
}

inline Level flatLevel(float y = 400) {
    Level l;
    l.groundPaths = {flatPath(-2000, 8000, y)};
    l.lowestGroundY = l.greatestGroundY();
    l.endX = 8000;
    return l;
}

// A straight slope of the given angle (radians, positive goes down to the
// right) through (0, 400), from x -1000 to 1000.
inline Level slopeLevel(float angle) {
    Level l;
    GroundPath path;
    float t = std::tan(angle);
    for (float x = -1000; x <= 1000; x += 40) path.push_back({x, 400 + t * x});
    l.groundPaths = {path};
    l.lowestGroundY = l.greatestGroundY();
    return l;
}

// Ground only under x in [x0, x1]; below and beside it, a pit.
inline Level islandLevel(float x0, float x1, float y = 400) {
    Level l;
    l.groundPaths = {flatPath(x0, x1, y)};
    l.lowestGroundY = l.greatestGroundY();
    return l;
}

inline Player standingAt(int hero, float x, float groundY) {
    Player p = makePlayer(hero, {x, groundY - 18});
    p.grounded = true;
    p.surface = -1;
    return p;
}

inline Player airborneAt(int hero, float x, float y, float vx, float vy) {
    Player p = makePlayer(hero, {x, y});
    p.grounded = false;
    p.vx = vx;
    p.vy = vy;
    return p;
}

struct Keys {
    bool left = false, right = false, down = false, jump = false, action = false;
};

// Input for one frame from the keys held now and the keys held last frame.
inline PlayerInput inputFor(const Keys& now, const Keys& before = {}) {
    PlayerInput in;
    in.left = now.left;
    in.right = now.right;
    in.down = now.down;
    in.jumpHeld = now.jump;
    in.actionHeld = now.action;
    in.jumpPressed = now.jump && !before.jump;
    in.jumpReleased = !now.jump && before.jump;
    in.actionPressed = now.action && !before.action;
    in.actionReleased = !now.action && before.action;
    return in;
}

inline bool hasEvent(const Player& p, PlayerEvent e) {
    for (PlayerEvent x : p.events)
        if (x == e) return true;
    return false;
}

// Runs frames of the same held keys (edges only on the first frame, from
// `before`). Returns the total time reached.
inline float run(Player& p, Level& level, int frames, const Keys& keys, float time = 0, const Keys& before = {},
                 float dt = kDt, const HomingTargetFinder& finder = {}) {
    Keys last = before;
    for (int i = 0; i < frames; ++i) {
        time += dt;
        updatePlayer(p, inputFor(keys, last), level, dt, time, finder);
        last = keys;
    }
    return time;
}

}  // namespace fixture
