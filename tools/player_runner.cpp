// Headless playability probe: every hero runs through every generated act with
// a simple strategy (hold Right, jump when blocked or at a gap edge, spin dash
// when stopped) and the table shows how far each got and how often it fell.
// Like a person watching the screen, the runner looks ahead: every tenth of a
// second it plays the next two seconds of its strategy on a copy of the act,
// and when that copy is hit, dies or drops into a pit it tries a few other
// moves first (hold off a jump, jump now, wait, back off, steer a fall) and
// takes the first that comes through clean. --simple turns the look ahead off.
// It also watches for heroes that stop for good, sink into the ground or hang
// on walls, and times the player step. Items, baddies, their shots and the
// hazards act on the heroes as in play, and a second table shows the hits
// taken and the deaths (falls and lost hearts) in every act; with
// --no-baddies the act's baddies are taken out first.
//
//   player_runner [--abilities] [--no-baddies] [--simple] [seconds per act]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Heroes.h"
#include "gameplay/ActFlow.h"
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
    long long moves = 0;  // moves the look ahead laid over the strategy
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

    // Forget the headway, so that a wait does not count as being blocked.
    void forgetHeadway() {
        stoppedFor = 0;
        historyFilled = 0;
    }
    // Take back a jump press decided this frame.
    void cancelJump(PlayerInput& in) {
        if (!in.jumpPressed) return;
        in.jumpPressed = false;
        in.jumpHeld = false;
        jumpHeld = false;
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
    // An attacking hero breaks what it touches, except a spiker it lands on.
    const bool attacking = isAttacking(p) || p.loopIndex >= 0;
    for (const Baddie& b : level.enemies)
        if (b.alive && b.kind >= 0 && b.kind < 6 && (!attacking || b.kind == BaddieKind::Spiker))
            consider(b.x, b.y, baddies[b.kind]);
    for (const Hazard& h : level.hazards)
        if (h.kind >= 0 && h.kind < 5) consider(h.x, h.y, hazards[h.kind]);
    for (const Projectile& pr : fx.projectiles) consider(pr.x, pr.y, pr.kind ? "fire" : "shot");
    for (const SpikeStrip& s : level.spikes) consider(s.x, p.y, "spikes");
    if (best.empty()) return "";
    char buf[64];
    std::snprintf(buf, sizeof buf, " near a %s %.0f away", best.c_str(), bestD);
    return buf;
}

// The act in play as the runner steps it: the level, the hero, the effect
// lists, the clock and where a fallen hero comes back. A look ahead copies it.
struct Play {
    Level level;
    Player p;
    Effects fx;
    XorShift32 rng{kEffectsSeed};
    float time = 0;
    sf::Vector2f respawn;
    int broken = 0;
};

struct FrameResult {
    int hits = 0;
    int broken = 0;
    bool killed = false;     // a hit took the last heart
    bool checkpoint = false; // a checkpoint was reached
    std::string threat;      // with a hit while tracing: what was nearest just before it
};

// One frame of play for a living hero, in the order of the play session: the
// player step, a gadget spring, the side walls, the object passes and the
// effects. The player step is timed into clock when one is given.
FrameResult stepFrame(Play& s, const PlayerInput& in, StepClock* clock, bool tracing = false) {
    static const HomingTargetFinder noTarget = [](sf::Vector2f, int) { return std::optional<sf::Vector2f>(); };
    FrameResult r;
    s.time += kDt;
    auto t0 = std::chrono::steady_clock::now();
    updatePlayer(s.p, in, s.level, kDt, s.time, noTarget);
    if (clock) {
        double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        clock->seconds += took;
        clock->longest = std::max(clock->longest, took);
        clock->steps += 1;
    }
    if (s.p.buildSpring) s.level.springs.push_back(gadgetSpringFor(s.p));
    applyWalls(s.p, s.level, false);
    if (s.p.dead) return r;
    ObjectFrame frame;
    frame.dt = kDt;
    frame.time = s.time;
    frame.jumpHeld = in.jumpHeld;
    frame.baddiesBrokenBefore = s.broken;
    ObjectEvents ev;
    // Shots that hit are gone after the pass, so the suspect is named before it.
    std::string threat = tracing ? nearestThreat(s.level, s.fx, s.p) : std::string();
    auto o0 = std::chrono::steady_clock::now();
    updateObjects(s.level, s.p, s.fx, s.rng, frame, ev);
    updateEffectLists(s.level, s.fx, kDt);
    if (clock) {
        objectClock.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - o0).count();
        objectClock.frames += 1;
    }
    if (ev.respawnPoint) {
        s.respawn = *ev.respawnPoint;
        r.checkpoint = true;
    }
    s.broken += ev.baddiesBroken;
    r.hits = ev.hits;
    if (r.hits) r.threat = std::move(threat);
    r.broken = ev.baddiesBroken;
    r.killed = ev.killed;
    return r;
}

// What a person may do instead of following the simple strategy for a
// moment: hold off a jump, jump (at once or a little later, a full jump or a
// short hop), stand still (or drift, in the air), or back off to the left.
enum class Move { Follow, NoJump, Jump, Hop, Wait, Back };

struct Plan {
    Move move = Move::Follow;
    int frames = 0;
    int delay = 0;  // frames of the strategy first (for Jump and Hop without its own jumps)
};

const char* moveName(Move m) {
    switch (m) {
        case Move::Follow: return "follow";
        case Move::NoJump: return "no-jump";
        case Move::Jump: return "jump";
        case Move::Hop: return "hop";
        case Move::Wait: return "wait";
        case Move::Back: return "back";
    }
    return "?";
}

constexpr int kJumpWindow = 12;  // frames a planned jump waits for ground under the hero
constexpr int kHopFrames = 5;    // Jump held this long for a short hop

// The other moves, in the order they are tried.
const Plan kMoves[] = {
    {Move::NoJump, 12},
    {Move::NoJump, 30},
    {Move::Jump, kJumpWindow, 0},
    {Move::Hop, kJumpWindow, 0},
    {Move::Jump, 6 + kJumpWindow, 6},
    {Move::Hop, 6 + kJumpWindow, 6},
    {Move::Jump, 14 + kJumpWindow, 14},
    {Move::Hop, 14 + kJumpWindow, 14},
    {Move::Jump, 24 + kJumpWindow, 24},
    {Move::Hop, 24 + kJumpWindow, 24},
    {Move::Jump, 40 + kJumpWindow, 40},
    {Move::Wait, 6},
    {Move::Wait, 15},
    {Move::Wait, 30},
    {Move::Wait, 50},
    {Move::Wait, 80},
    {Move::Back, 8},
    {Move::Back, 20},
    {Move::Back, 40},
    {Move::Wait, 10 + 30, 10},
    {Move::Wait, 20 + 30, 20},
    {Move::Wait, 35 + 40, 35},
    {Move::Wait, 50 + 40, 50},
};

constexpr int kLookAhead = 120;  // frames played after a move
constexpr int kCheckEvery = 6;   // frames between two looks ahead

struct Outcome {
    bool died = false;
    bool inPit = false;     // falling with no ground to land on at the end
    int hits = 0;
    bool checkpoint = false;
    bool passed = false;    // got past the point it was asked to pass
    float troubleX = 0;     // where the first hit or the death came
    bool clean() const { return !died && !inPit && hits == 0; }
    int badness() const { return (died || inPit ? 1000 : 0) + 10 * hits; }
};

// The simple strategy, with a move laid over it for a few frames, and the
// look ahead that picks the move.
struct Runner {
    Strategy base;
    Plan plan;
    int planLeft = 0;
    int planDone = 0;
    bool lookAhead = true;
    int checkIn = 0;     // frames until the next look ahead
    int searchCalm = 0;  // frames before another search for a way through
    long long movesTaken = 0;

    int hopLeft = 0;      // frames until a short hop lets go of Jump
    bool jumped = false;  // the planned jump has been made

    void start(Plan p) {
        plan = p;
        planLeft = p.move == Move::Follow ? 0 : p.frames;
        planDone = 0;
        jumped = false;
    }

    PlayerInput input(const Play& s) {
        PlayerInput in = base.decide(s.p, s.level, s.time);
        if (hopLeft > 0 && --hopLeft == 0 && base.jumpHeld) base.jumpHeldFor = 1.0f;  // let go next frame
        if (planLeft <= 0) return in;
        --planLeft;
        const int done = planDone++;
        switch (plan.move) {
            case Move::Follow: break;
            case Move::NoJump: base.cancelJump(in); break;
            case Move::Jump:
            case Move::Hop:
                if (jumped) break;
                base.cancelJump(in);
                if (done >= plan.delay && s.p.grounded && !base.jumpHeld && base.dashFrames < 0) {
                    in.jumpPressed = in.jumpHeld = true;
                    base.jumpHeld = true;
                    base.jumpHeldFor = 0;
                    jumped = true;
                    if (plan.move == Move::Hop) hopLeft = kHopFrames;
                    planLeft = 0;
                }
                break;
            case Move::Wait:
            case Move::Back:
                if (done < plan.delay) break;
                base.cancelJump(in);
                base.forgetHeadway();
                base.dashFrames = -1;
                in.down = false;
                in.right = false;
                in.left = plan.move == Move::Back;
                break;
        }
        return in;
    }
};

// Plays a move (or what is left of the current one) and then the simple
// strategy on a copy of the act, until the hero gets past passX or the look
// ahead is over. A move that only puts the trouble off does not get past it.
Outcome tryAhead(const Play& s, const Runner& r, const Plan* move, float passX) {
    Play sim = s;
    Runner rr = r;
    rr.lookAhead = false;
    if (move) rr.start(*move);
    const int frames = rr.planLeft + kLookAhead;
    Outcome o;
    for (int i = 0; i < frames; ++i) {
        const PlayerInput in = rr.input(sim);
        const FrameResult f = stepFrame(sim, in, nullptr);
        if (f.hits > 0 && o.hits == 0 && !o.died) o.troubleX = sim.p.x;
        o.hits += f.hits;
        o.checkpoint = o.checkpoint || f.checkpoint;
        if (sim.p.dead) {
            if (o.hits == 0) o.troubleX = sim.p.x;
            o.died = true;
            return o;
        }
        if (sim.p.x > passX) {
            o.passed = true;
            return o;
        }
    }
    const Player& p = sim.p;
    if (!p.grounded && p.loopIndex < 0 && p.vy > 0 && p.y > s.level.lowestGroundY + 100 &&
        !s.level.groundHeightAt(p.x)) {
        o.inPit = true;
        if (o.hits == 0) o.troubleX = p.x;
    }
    return o;
}

// The first unreached checkpoint a little ahead, or none.
const Checkpoint* checkpointAhead(const Play& s) {
    for (const Checkpoint& c : s.level.checkpoints)
        if (!c.reached && c.x > s.p.x && c.x < s.p.x + 500) return &c;
    return nullptr;
}

// Every few frames: is the way ahead clean? If not, find a move that gets
// past the trouble clean, or at least with less harm.
void lookAhead(Runner& r, const Play& s) {
    if (!r.lookAhead || s.p.dead) return;
    if (--r.checkIn > 0) return;
    r.checkIn = kCheckEvery;
    if (r.searchCalm > 0) r.searchCalm -= kCheckEvery;
    const float never = 1e9f;
    const Outcome now = tryAhead(s, r, nullptr, never);
    const Checkpoint* cp = now.checkpoint ? nullptr : checkpointAhead(s);
    if (now.clean() && !cp) return;
    if (r.searchCalm > 0 && !cp) return;
    // Past the trouble, or past the checkpoint that would be missed.
    const float passX = (now.clean() ? cp->x : now.troubleX) + 100;
    const Plan* best = nullptr;
    int bestBad = now.badness();
    for (const Plan& m : kMoves) {
        if (now.clean() && m.move != Move::NoJump) continue;
        const Outcome o = tryAhead(s, r, &m, passX);
        if (!o.passed) continue;
        if (o.clean() && (now.clean() ? o.checkpoint : true)) {
            best = &m;
            bestBad = 0;
            break;
        }
        if (!now.clean() && o.badness() < bestBad) {
            bestBad = o.badness();
            best = &m;
        }
    }
    if (bestBad > 0 || !best) r.searchCalm = 30;  // look again in a while
    if (!best) return;
    ++r.movesTaken;
    r.start(*best);
}

RunResult runAct(int hero, int zone, int act, float limit, bool abilities, bool looking, StepClock& clock,
                 const Trace& trace = {}, bool objects = true) {
    Play s;
    generateAct(s.level, zone, act);
    // Without baddies the rest of the object pass still runs as in play.
    if (!objects) s.level.enemies.clear();
    RunResult r;
    r.goalX = s.level.bossX - 160;
    s.respawn = s.level.startPos;
    s.p = makePlayer(hero, s.level.startPos);
    auto freshRunner = [&] {
        Runner run;
        run.base.useAbilities = abilities;
        run.base.jumpBaddies = objects;
        run.lookAhead = looking;
        return run;
    };
    Runner runner = freshRunner();
    float bestX = s.p.x, bestAt = 0;
    float airStillFor = 0;

    while (s.time < limit) {
        if (s.p.dead) {
            s.time += kDt;
            DeathFallStep d = updateDeathFall(s.p, kDt);
            if (d.respawnDue) {
                s.p = respawnPlayer(s.p, s.respawn);
                restoreAfterRespawn(s.level, s.fx);
                runner = freshRunner();
            }
            continue;
        }
        lookAhead(runner, s);
        const Plan planNow = runner.planLeft > 0 ? runner.plan : Plan{};
        PlayerInput in = runner.input(s);
        float oldX = s.p.x;
        bool wasInLoop = s.p.loopIndex >= 0;

        const bool tracing = trace.on && s.time + kDt >= trace.fromTime && s.time + kDt <= trace.toTime;
        const FrameResult f = stepFrame(s, in, &clock, tracing);
        const Player& p = s.p;

        if (trace.on && s.time >= trace.fromTime && s.time <= trace.toTime) {
            GroundHeight g = s.level.groundHeightAt(p.x);
            std::printf("t %.3f x %.1f y %.1f feet %.1f ground %s%.1f gr %d surf %d gs %.0f v (%.0f, %.0f) ang %.2f "
                        "roll %d spin %d loop %d in R%d L%d D%d J%d/%d %s\n",
                        s.time, p.x, p.y, p.y + 18, g ? "" : "none ", g.y, p.grounded, p.surface, p.groundSpeed,
                        p.vx, p.vy, p.angle, p.rolling, p.spinning, p.loopIndex, in.right, in.left, in.down,
                        in.jumpPressed, in.jumpHeld, planNow.move == Move::Follow ? "" : moveName(planNow.move));
            if (f.hits > 0)
                std::printf("t %.3f HIT at (%.0f, %.0f)%s\n", s.time, p.x, p.y, f.threat.c_str());
        }
        if (wasInLoop && p.loopIndex < 0) {
            if (!p.grounded)
                r.loopsFallen += 1;
            else if (p.groundSpeed > 0)
                r.loopsRun += 1;
            else
                r.loopsSlidBack += 1;
        }
        r.hits += f.hits;
        r.broken += f.broken;

        if (p.dead) {
            if (f.killed)
                r.killed += 1;
            else
                r.falls += 1;
            continue;
        }
        if (p.grounded && p.surface < 0) {
            GroundHeight g = s.level.groundHeightAt(p.x);
            if (!g || std::fabs(g.y - (p.y + 18)) > 1.0f) r.sunkFrames += 1;
        }
        if (!p.grounded && p.loopIndex < 0 && in.right && std::fabs(p.x - oldX) < 0.01f && p.vx == 0)
            airStillFor += kDt;
        else
            airStillFor = 0;
        if (airStillFor > 0.5f) r.wallFrames += 1;

        if (p.x > bestX + 50) {
            bestX = p.x;
            bestAt = s.time;
        }
        r.reached = std::max(r.reached, p.x);
        if (p.x >= r.goalX) {
            r.finished = true;
            break;
        }
        if (s.time - bestAt > 30) {
            r.stuck = true;
            r.stuckX = p.x;
            break;
        }
    }
    r.time = s.time;
    r.moves = runner.movesTaken;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    float limit = 400;
    bool abilities = false;
    bool objects = true;
    bool looking = true;
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
        } else if (args[0] == "--simple") {
            looking = false;
            args.erase(args.begin());
            again = true;
        }
    }
    if (args.size() >= 6 && args[0] == "trace") {
        // player_runner [--abilities] trace HERO ZONE ACT FROM_SECONDS TO_SECONDS
        Trace t{true, float(std::atof(args[4].c_str())), float(std::atof(args[5].c_str()))};
        StepClock c;
        RunResult r = runAct(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()),
                             limit, abilities, looking, c, t, objects);
        std::printf("reached %.0f falls %d stuck %d hits %d killed %d\n", r.reached, r.falls, r.stuck, r.hits,
                    r.killed);
        return 0;
    }
    if (!args.empty()) limit = std::max(10.0f, float(std::atof(args[0].c_str())));
    const auto& heroes = heroTable();
    StepClock clock;
    std::vector<std::vector<RunResult>> table(kHeroCount);

    std::printf("Strategy: hold Right, jump when blocked or at a gap edge, spin dash when stopped%s%s\n",
                abilities ? ", air ability over pits" : "",
                looking ? "; looking 2 s ahead (hold off a jump, jump or hop, wait, back off)" : "");
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
                RunResult r = runAct(h, zone, act, limit, abilities, looking, clock, {}, objects);
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
    long long moves = 0;
    for (const auto& row : table)
        for (const RunResult& r : row) {
            falls += r.falls;
            finished += r.finished ? 1 : 0;
            loopsRun += r.loopsRun;
            loopsFallen += r.loopsFallen;
            loopsSlid += r.loopsSlidBack;
            moves += r.moves;
        }
    std::printf("\nLoops: %d run through, %d fallen out of, %d slid back out of\n", loopsRun, loopsFallen, loopsSlid);
    if (looking) std::printf("Moves the look ahead laid over the strategy: %lld\n", moves);
    double us = clock.steps ? clock.seconds / double(clock.steps) * 1e6 : 0;
    std::printf("\nGoal reached in %d of %d runs; %d falls in all; %d runs short of the goal; %d with a movement fault\n",
                finished, kHeroCount * 12, falls, problems, faults);
    std::printf("Player step: %lld steps, mean %.3f microseconds, longest %.1f microseconds\n", clock.steps, us,
                clock.longest * 1e6);
    std::printf("Rolling at 1500, 30 frames a second: %.3f microseconds per step\n", heavyStepMicroseconds());
    return 0;
}
