#pragma once
// A flat course at ground height 500 with one hero on it, and the calls of
// one frame of the object passes.
#include <algorithm>
#include <string>

#include "gameplay/Objects.h"

struct ObjectTestWorld {
    static constexpr float kGround = 500.0f;
    static constexpr float kDt = 1.0f / 60.0f;

    Level level;
    Player player;
    Effects fx;
    XorShift32 rng{kEffectsSeed};
    ObjectFrame frame;
    ObjectEvents ev;

    explicit ObjectTestWorld(int hero = 0) {
        level.groundPaths = {{{-3000, kGround}, {6000, kGround}}};
        level.lowestGroundY = kGround;
        level.endX = 6000;
        frame.dt = kDt;
        standAt(hero, 1000);
    }

    void standAt(int hero, float x, float groundSpeed = 0) {
        player = makePlayer(hero, {x, kGround - 18});
        player.grounded = true;
        player.surface = -1;
        player.groundSpeed = groundSpeed;
    }

    void airAt(int hero, float x, float y, float vx, float vy) {
        player = makePlayer(hero, {x, y});
        player.grounded = false;
        player.vx = vx;
        player.vy = vy;
    }

    void advance() { frame.time += frame.dt; }
    void items() { updateItems(level, player, fx, rng, frame, ev); advance(); }
    void baddies() {
        updateBaddies(level, player, fx, rng, frame, ev);
        updateProjectiles(level, player, fx, rng, frame, ev);
        advance();
    }
    void hazards() { updateHazards(level, player, fx, rng, frame, ev); advance(); }
    void all() { updateObjects(level, player, fx, rng, frame, ev); advance(); }

    bool fired(const std::string& name) const {
        return std::find(ev.scriptEvents.begin(), ev.scriptEvents.end(), name) != ev.scriptEvents.end();
    }
    bool played(int sound) const {
        return std::any_of(ev.sounds.begin(), ev.sounds.end(),
                           [&](const ObjectSoundCue& c) { return c.sound == sound; });
    }
};
