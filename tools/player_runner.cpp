// Headless playability probe: every hero runs through every generated act with
// a simple strategy (hold Right, jump when blocked or at a gap edge, spin dash
// when stopped) and the table shows how far each got and how often it fell.
// It also watches for heroes that stop for good, sink into the ground or hang
// on walls, and times the player step. Items, baddies, their shots and the
// hazards act on the heroes as in play, and a second table shows the hits
// taken and the deaths (falls and lost hearts) in every act; with
// --no-baddies the act's baddies are taken out first.
//
//   player_runner [--abilities] [--no-baddies] [seconds per act]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Heroes.h"
#include "gameplay/Objects.h"
#include "gameplay/Player.h"
#include "level/ActGenerator.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

struct RunResult {
    float reached = 0;   // furthest x
    float goalX = 0;
    int falls = 0;       // deaths by falling
    int hits = 0;        // hits from baddies, shots, spikes and hazards
    int killed = 0;      // deaths by losing the last heart
    int broken = 0;      // baddies broken
    float time = 0;      // game seconds used
    bool finished = false;
    bool stuck = false;  // no progress for a long time
    int sunkFrames = 0;  // grounded on a ground path but not on its surface
    int wallFrames = 0;  // airborne, pressing right, not moving sideways for long
    float stuckX = 0;
    int loopsRun = 0, loopsFallen = 0, loopsSlidBack = 0;
};

// The act's side walls and where a fallen hero comes back.
struct World {
    Level& level;
    sf::Vector2f respawn;

    void walls(Player& p) {
        float lo = -380, hi = level.endX - 18;
        if (p.x < lo || p.x > hi) {
            p.x = std::clamp(p.x, lo, hi);
            p.vx = 0;
            if (p.grounded) p.groundSpeed = 0;
        }
    }
};

// Hold Right; jump at gap edges and when blocked; hero 0 spin dashes when stopped.
// With baddies acting, also jump at a baddie close ahead.
struct Strategy {
    float stoppedFor = 0;
    float jumpHeldFor = 0;
    bool jumpHeld = false;
    int dashFrames = -1;  // frames into a spin dash, -1 when none
    int dashesTried = 0;
    bool actionHeld = false;
    bool useAbilities = false;
    bool jumpBaddies = false;  // jump when a baddie stands close ahead
    static constexpr int kHistory = 24;
    float history[kHistory] = {};
    int historyAt = 0;
    int historyFilled = 0;

    static bool gapAhead(const Player& p, const Level& level, float time) {
        float look = 30 + 0.12f * std::fabs(p.groundSpeed);
        float ax = p.x + look;
        float feet = p.y + 18;
        GroundHeight g = level.groundHeightAt(ax);
        if (g && g.y < feet + 120) return false;
        for (const Platform& pl : level.platforms) {
            if (platformCovers(pl, ax, time) && std::fabs(platformHeightAt(pl, ax, time) - feet) < 40) return false;
        }
        return true;
    }

    // A baddie close ahead on the way, with solid ground to land on past it.
    static bool baddieAhead(const Player& p, const Level& level) {
        float feet = p.y + 18;
        float landing = 120 + 0.9f * std::fabs(p.groundSpeed);  // about a jump's length
        for (float d = 100; d <= landing; d += 100) {
            GroundHeight g = level.groundHeightAt(p.x + float(p.facing) * d);
            if (!g || std::fabs(g.y - feet) > 60) return false;
        }
        float reach = 40 + 0.15f * std::fabs(p.groundSpeed);
        for (const Baddie& b : level.enemies) {
            if (!b.alive) continue;
            float ahead = (b.x - p.x) * float(p.facing);
            if (ahead > 0 && ahead < reach && std::fabs(b.y - p.y) < 60) return true;
        }
        return false;
    }

    PlayerInput decide(const Player& p, const Level& level, float time) {
        PlayerInput in;
        in.right = true;
        bool wantJump = false;

        // Stopped: grounded and less than 3 units of headway in the last 0.4 s.
        history[historyAt] = p.x;
        historyAt = (historyAt + 1) % kHistory;
        float headway = p.x - history[historyAt];
        if (p.grounded && headway < 3 && ++historyFilled >= kHistory)
            stoppedFor += kDt;
        else if (headway >= 3) {
            stoppedFor = 0;
            dashesTried = 0;
        }

        if (dashFrames >= 0) {
            // Down + Jump to start, three more revs, then let go of Down.
            ++dashFrames;
            in.right = false;
            in.down = dashFrames < 26;
            if (dashFrames == 1 || dashFrames == 7 || dashFrames == 13 || dashFrames == 19) wantJump = true;
            if (dashFrames >= 26) {
                dashFrames = -1;
                stoppedFor = 0;
            }
        } else if (p.grounded) {
            bool blocked = stoppedFor > 0.1f;
            if (p.hero == 0 && blocked && dashesTried == 0 && !p.charging) {
                dashFrames = 0;
                dashesTried = 1;
                in.right = false;
                in.down = true;
            } else if (blocked || gapAhead(p, level, time) || (jumpBaddies && !p.rolling && baddieAhead(p, level))) {
                wantJump = true;
            }
        }

        // With abilities on: over a pit and coming down, use the hero's air ability.
        bool overPit = !p.grounded && p.loopIndex < 0 && p.vy > 0 && !level.groundHeightAt(p.x) &&
                       !level.groundHeightAt(p.x + 60);
        if (useAbilities && overPit) {
            if (p.hero == 1 || p.hero == 2 || p.hero == 3 || p.hero == 5) wantJump = true;
            if ((p.hero == 6 || p.hero == 7 || p.hero == 8) && !actionHeld && p.abilityCooldown <= 0) {
                in.actionPressed = true;
                actionHeld = true;
            }
        } else if (actionHeld) {
            actionHeld = false;
            in.actionReleased = true;
        }

        // A jump is one press, held for a full jump, then let go.
        if (wantJump && !jumpHeld) {
            in.jumpPressed = true;
            jumpHeld = true;
            jumpHeldFor = 0;
        } else if (jumpHeld) {
            jumpHeldFor += kDt;
            bool keep = dashFrames >= 0 ? false : (!p.grounded && jumpHeldFor < 0.45f && p.vy < 0) || p.gliding;
            if (!keep) {
                jumpHeld = false;
                in.jumpReleased = true;
            }
        }
        in.jumpHeld = jumpHeld;
        in.actionHeld = actionHeld;
        return in;
    }
};

struct StepClock {
    double seconds = 0;
    double longest = 0;
    long long steps = 0;
};

// Mean time of a step with the most slices: rolling at 1500 on a generated
// act at 30 frames a second (five slices a step), looping back to the start.
double heavyStepMicroseconds() {
    Level level;
    generateAct(level, 0, 1);
    Player p = makePlayer(0, level.startPos);
    const int steps = 200000;
    float time = 0;
    PlayerInput in;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) {
        if (p.dead || p.x > 20000 || !p.grounded) {
            p = makePlayer(0, {300, level.groundHeightAt(300).y - 18});
            p.grounded = true;
        }
        p.rolling = true;
        p.groundSpeed = 1500;
        time += 1.0f / 30.0f;
        updatePlayer(p, in, level, 1.0f / 30.0f, time);
    }
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(t1 - t0).count() / steps * 1e6;
}

struct Trace {
    bool on = false;
    float fromTime = 0, toTime = 0;
};

// Time spent in the object passes and the effects pass.
struct ObjectClock {
    double seconds = 0;
    long long frames = 0;
};
ObjectClock objectClock;

// What most likely hit the hero: the nearest baddie, hazard or shot.
std::string nearestThreat(const Level& level, const Effects& fx, const Player& p) {
    static const char* baddies[] = {"crawler", "buzzer", "hopper", "spiker", "bomber", "turret"};
    static const char* hazards[] = {"stalactite", "updraft", "laser", "wisp", "crusher"};
    std::string best;
    float bestD = 1e9f;
    auto consider = [&](float x, float y, std::string what) {
        float d = std::hypot(x - p.x, y - p.y);
        if (d < bestD) {
            bestD = d;
            best = std::move(what);
        }
    };
    for (const Baddie& b : level.enemies)
        if (b.kind >= 0 && b.kind < 6) consider(b.x, b.y, baddies[b.kind]);
    for (const Hazard& h : level.hazards)
        if (h.kind >= 0 && h.kind < 5) consider(h.x, h.y, hazards[h.kind]);
    for (const Projectile& pr : fx.projectiles) consider(pr.x, pr.y, pr.kind ? "fire" : "shot");
    for (const SpikeStrip& s : level.spikes) consider(s.x, p.y, "spikes");
    if (best.empty()) return "";
    char buf[64];
    std::snprintf(buf, sizeof buf, " near a %s %.0f away", best.c_str(), bestD);
    return buf;
}

RunResult runAct(int hero, int zone, int act, float limit, bool abilities, StepClock& clock,
                 const Trace& trace = {}, bool objects = true) {
    Level level;
    generateAct(level, zone, act);
    if (!objects) {
        // The rest of the object pass still runs as in play.
        level.enemies.clear();
    }
    RunResult r;
    r.goalX = level.bossX - 160;
    World world{level, level.startPos};
    Player p = makePlayer(hero, level.startPos);
    Strategy strategy;
    strategy.useAbilities = abilities;
    strategy.jumpBaddies = objects;
    float time = 0;
    float bestX = p.x, bestAt = 0;
    float airStillFor = 0;
    HomingTargetFinder noTarget = [](sf::Vector2f, int) { return std::optional<sf::Vector2f>(); };
    Effects fx;
    XorShift32 fxRng(kEffectsSeed);

    while (time < limit) {
        time += kDt;
        if (p.dead) {
            DeathFallStep d = updateDeathFall(p, kDt);
            if (d.respawnDue) {
                p = respawnPlayer(p, world.respawn);
                restoreAfterRespawn(level, fx);
                strategy = Strategy();
                strategy.useAbilities = abilities;
                strategy.jumpBaddies = objects;
            }
            continue;
        }
        PlayerInput in = strategy.decide(p, level, time);
        float oldX = p.x;
        bool wasInLoop = p.loopIndex >= 0;

        auto t0 = std::chrono::steady_clock::now();
        updatePlayer(p, in, level, kDt, time, noTarget);
        auto t1 = std::chrono::steady_clock::now();
        double took = std::chrono::duration<double>(t1 - t0).count();
        clock.seconds += took;
        clock.longest = std::max(clock.longest, took);
        clock.steps += 1;

        if (trace.on && time >= trace.fromTime && time <= trace.toTime) {
            GroundHeight g = level.groundHeightAt(p.x);
            std::printf("t %.3f x %.1f y %.1f feet %.1f ground %s%.1f gr %d surf %d gs %.0f v (%.0f, %.0f) ang %.2f "
                        "roll %d spin %d loop %d in R%d D%d J%d/%d\n",
                        time, p.x, p.y, p.y + 18, g ? "" : "none ", g.y, p.grounded, p.surface, p.groundSpeed, p.vx,
                        p.vy, p.angle, p.rolling, p.spinning, p.loopIndex, in.right, in.down, in.jumpPressed,
                        in.jumpHeld);
        }
        if (wasInLoop && p.loopIndex < 0) {
            if (!p.grounded)
                r.loopsFallen += 1;
            else if (p.groundSpeed > 0)
                r.loopsRun += 1;
            else
                r.loopsSlidBack += 1;
        }
        if (p.buildSpring) level.springs.push_back(gadgetSpringFor(p));
        world.walls(p);
        bool killedNow = false;
        if (!p.dead) {
            ObjectFrame frame;
            frame.dt = kDt;
            frame.time = time;
            frame.jumpHeld = in.jumpHeld;
            frame.baddiesBrokenBefore = r.broken;
            ObjectEvents ev;
            auto o0 = std::chrono::steady_clock::now();
            updateObjects(level, p, fx, fxRng, frame, ev);
            updateEffectLists(level, fx, kDt);
            auto o1 = std::chrono::steady_clock::now();
            objectClock.seconds += std::chrono::duration<double>(o1 - o0).count();
            objectClock.frames += 1;
            if (ev.respawnPoint) world.respawn = *ev.respawnPoint;
            if (trace.on && ev.hits > 0)
                std::printf("t %.3f HIT at (%.0f, %.0f)%s\n", time, p.x, p.y, nearestThreat(level, fx, p).c_str());
            r.hits += ev.hits;
            r.broken += ev.baddiesBroken;
            killedNow = ev.killed;
        }

        if (p.dead) {
            if (killedNow)
                r.killed += 1;
            else
                r.falls += 1;
            continue;
        }
        if (p.grounded && p.surface < 0) {
            GroundHeight g = level.groundHeightAt(p.x);
            if (!g || std::fabs(g.y - (p.y + 18)) > 1.0f) r.sunkFrames += 1;
        }
        if (!p.grounded && p.loopIndex < 0 && in.right && std::fabs(p.x - oldX) < 0.01f && p.vx == 0)
            airStillFor += kDt;
        else
            airStillFor = 0;
        if (airStillFor > 0.5f) r.wallFrames += 1;

        if (p.x > bestX + 50) {
            bestX = p.x;
            bestAt = time;
        }
        r.reached = std::max(r.reached, p.x);
        if (p.x >= r.goalX) {
            r.finished = true;
            break;
        }
        if (time - bestAt > 30) {
            r.stuck = true;
            r.stuckX = p.x;
            break;
        }
    }
    r.time = time;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    float limit = 400;
    bool abilities = false;
    bool objects = true;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (bool again = true; again && !args.empty();) {
        again = false;
        if (args[0] == "--abilities") {
            abilities = true;
            args.erase(args.begin());
            again = true;
        } else if (args[0] == "--no-baddies") {
            objects = false;
            args.erase(args.begin());
            again = true;
        }
    }
    if (args.size() >= 6 && args[0] == "trace") {
        // player_runner [--abilities] trace HERO ZONE ACT FROM_SECONDS TO_SECONDS
        Trace t{true, float(std::atof(args[4].c_str())), float(std::atof(args[5].c_str()))};
        StepClock c;
        RunResult r = runAct(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()),
                             limit, abilities, c, t, objects);
        std::printf("reached %.0f falls %d stuck %d hits %d killed %d\n", r.reached, r.falls, r.stuck, r.hits,
                    r.killed);
        return 0;
    }
    if (!args.empty()) limit = std::max(10.0f, float(std::atof(args[0].c_str())));
    const auto& heroes = heroTable();
    StepClock clock;
    std::vector<std::vector<RunResult>> table(kHeroCount);

    std::printf("Strategy: hold Right, jump when blocked or at a gap edge, spin dash when stopped%s\n",
                abilities ? ", air ability over pits" : "");
    std::printf("%s\n", objects ? "Items, baddies and hazards act on the heroes"
                                 : "Baddies taken out");
    std::printf("Each cell: furthest x reached as %% of the goal x (bossX - 160), * = goal reached, then falls\n\n");
    std::printf("%-6s", "hero");
    for (int zone = 0; zone < 6; ++zone)
        for (int act = 1; act <= 2; ++act) std::printf("  %d-%d      ", zone, act);
    std::printf("\n");
    for (int h = 0; h < kHeroCount; ++h) {
        std::printf("%-6s", heroes[std::size_t(h)].name.c_str());
        for (int zone = 0; zone < 6; ++zone) {
            for (int act = 1; act <= 2; ++act) {
                RunResult r = runAct(h, zone, act, limit, abilities, clock, {}, objects);
                table[std::size_t(h)].push_back(r);
                char cell[32];
                std::snprintf(cell, sizeof cell, "%3.0f%%%s%2dF", 100.0f * std::min(r.reached / r.goalX, 1.0f),
                              r.finished ? "*" : " ", r.falls);
                std::printf("  %-10s", cell);
                std::fflush(stdout);
            }
        }
        std::printf("\n");
    }

    if (objects) {
        std::printf("\nHits and deaths per act: hits taken H, deaths D (falls and lost hearts), baddies broken B\n\n");
        std::printf("%-6s", "hero");
        for (int zone = 0; zone < 6; ++zone)
            for (int act = 1; act <= 2; ++act) std::printf("  %d-%d         ", zone, act);
        std::printf("\n");
        for (int h = 0; h < kHeroCount; ++h) {
            std::printf("%-6s", heroes[std::size_t(h)].name.c_str());
            for (const RunResult& r : table[std::size_t(h)]) {
                char cell[40];
                std::snprintf(cell, sizeof cell, "%3dH %2dD %3dB", r.hits, r.falls + r.killed, r.broken);
                std::printf("  %-13s", cell);
            }
            std::printf("\n");
        }
        int hits = 0, killed = 0, broken = 0;
        for (const auto& row : table)
            for (const RunResult& r : row) {
                hits += r.hits;
                killed += r.killed;
                broken += r.broken;
            }
        std::printf("\n%d hits taken; %d deaths by losing the last heart; %d baddies broken\n", hits, killed, broken);
        if (objectClock.frames)
            std::printf("Object passes: %lld frames, mean %.3f microseconds per frame\n", objectClock.frames,
                        objectClock.seconds / double(objectClock.frames) * 1e6);
    }

    std::printf("\nRuns that did not reach the goal or showed a fault:\n");
    int problems = 0, faults = 0;
    for (int h = 0; h < kHeroCount; ++h) {
        for (int i = 0; i < 12; ++i) {
            const RunResult& r = table[std::size_t(h)][std::size_t(i)];
            std::string notes;
            if (r.stuck && r.falls + r.killed > 0)
                notes += " no headway for 30 s (dies again and again past x " + std::to_string(int(r.stuckX)) + ")";
            else if (r.stuck)
                notes += " STOPPED for good at x " + std::to_string(int(r.stuckX));
            if (r.sunkFrames) notes += " SUNK " + std::to_string(r.sunkFrames) + " frames";
            if (r.wallFrames) notes += " ON A WALL " + std::to_string(r.wallFrames) + " frames";
            if (!r.finished && !r.stuck) notes += " out of time";
            if (notes.empty()) continue;
            ++problems;
            if ((r.stuck && r.falls + r.killed == 0) || r.sunkFrames || r.wallFrames) ++faults;
            std::printf("%-6s %d-%d  %7.0f / %7.0f  %3d falls  %6.1f s%s\n", heroes[std::size_t(h)].name.c_str(), i / 2,
                        i % 2 + 1, r.reached, r.goalX, r.falls, r.time, notes.c_str());
        }
    }
    int falls = 0, finished = 0, loopsRun = 0, loopsFallen = 0, loopsSlid = 0;
    for (const auto& row : table)
        for (const RunResult& r : row) {
            falls += r.falls;
            finished += r.finished ? 1 : 0;
            loopsRun += r.loopsRun;
            loopsFallen += r.loopsFallen;
            loopsSlid += r.loopsSlidBack;
        }
    std::printf("\nLoops: %d run through, %d fallen out of, %d slid back out of\n", loopsRun, loopsFallen, loopsSlid);
    double us = clock.steps ? clock.seconds / double(clock.steps) * 1e6 : 0;
    std::printf("\nGoal reached in %d of %d runs; %d falls in all; %d runs short of the goal; %d with a movement fault\n",
                finished, kHeroCount * 12, falls, problems, faults);
    std::printf("Player step: %lld steps, mean %.3f microseconds, longest %.1f microseconds\n", clock.steps, us,
                clock.longest * 1e6);
    std::printf("Rolling at 1500, 30 frames a second: %.3f microseconds per step\n", heavyStepMicroseconds());
    return 0;
}
