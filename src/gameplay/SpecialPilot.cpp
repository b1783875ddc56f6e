#include "gameplay/SpecialPilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kSteerRate = 2.4f;    // radians per second

// The plan looks ahead frame by frame: each frame the lane moves by one
// steering step or stays, so the lanes it can reach form a grid centred on
// the runner's own lane. An orb counts once within its pick-up window (the
// windows of different orbs never overlap); running into a bomb costs more
// than it could bring.
constexpr float kPlanTime = 2.0f;   // seconds ahead
constexpr float kOrbReach = 0.16f;  // of the 0.17 pick-up window
constexpr float kBombReach = 0.2f;  // kept clear of a bomb

struct Plan {
    std::vector<float> lanes;  // per frame, from now
    std::vector<float> at;     // the pick-up point on each of those frames
};

Plan planPath(const SpecialRun& run, float dt, float bombCost) {
    const float laneStep = kSteerRate * dt;
    const int frames = std::clamp(int(kPlanTime / dt), 1, 600);
    const int lo = -int(std::floor((run.lane + 1.25f) / laneStep));
    const int hi = int(std::floor((1.25f - run.lane) / laneStep));
    const int bins = hi - lo + 1;
    auto laneOf = [&](int b) { return run.lane + float(b + lo) * laneStep; };

    // Where the runner's pick-up point is on each future frame.
    std::vector<float> at(std::size_t(frames) + 1);
    float distance = run.distance, speed = run.speed;
    at[0] = distance + kSpecialPlayerAhead;
    for (int k = 1; k <= frames; ++k) {
        speed += 8.0f * dt;
        distance += speed * dt;
        at[std::size_t(k)] = distance + kSpecialPlayerAhead;
    }
    // The orb window each frame lies in, and the bomb cost of every cell.
    std::vector<const SpecialItem*> orbs;
    std::vector<const SpecialItem*> bombs;
    for (const SpecialItem& it : run.items) {
        if (it.used || it.distance < at[0] - 40.0f || it.distance > at.back() + 40.0f) continue;
        (it.bomb ? bombs : orbs).push_back(&it);
    }
    std::vector<int> window(at.size(), -1);
    std::vector<std::vector<float>> bombLanes(at.size());  // bombs within reach of each frame
    for (std::size_t k = 0; k < at.size(); ++k) {
        for (std::size_t o = 0; o < orbs.size(); ++o)
            if (std::fabs(orbs[o]->distance - at[k]) <= 40.0f) window[k] = int(o);
        if (bombCost > 0.0f)
            for (const SpecialItem* b : bombs)
                if (std::fabs(b->distance - at[k]) <= 40.0f) bombLanes[k].push_back(b->lane);
    }
    auto cost = [&](std::size_t k, float lane) {
        float c = 0.0f;
        for (float l : bombLanes[k])
            if (std::fabs(l - lane) <= kBombReach) c += bombCost;
        return c;
    };

    // Backwards over the frames; state: lane bin, and whether the orb of the
    // current window is already held.
    const std::size_t n = std::size_t(bins) * 2;
    std::vector<float> value(n, 0.0f), next(n, 0.0f);
    std::vector<signed char> move((at.size()) * n, 0);
    for (std::size_t k = at.size(); k-- > 0;) {
        const bool sameNext = k + 1 < at.size() && window[k] >= 0 && window[k + 1] == window[k];
        for (int b = 0; b < bins; ++b) {
            const float lane = laneOf(b);
            const float bombHit = bombLanes[k].empty() ? 0.0f : cost(k, lane);
            for (int taken = 0; taken < 2; ++taken) {
                float gain = -bombHit;
                int nowTaken = taken;
                if (window[k] >= 0 && !taken && std::fabs(orbs[std::size_t(window[k])]->lane - lane) <= kOrbReach) {
                    gain += 1.0f;
                    nowTaken = 1;
                }
                float best = 0.0f;
                signed char bestMove = 0;
                if (k + 1 < at.size()) {
                    best = -1e9f;
                    const int carry = sameNext ? nowTaken : 0;
                    for (int m : {0, -1, 1}) {
                        const int nb = b + m;
                        if (nb < 0 || nb >= bins) continue;
                        // Ties go to holding still, then to the pipe's middle.
                        const float v = value[std::size_t(nb) * 2 + std::size_t(carry)] - (m != 0 ? 1e-3f : 0.0f) -
                                        1e-4f * std::fabs(laneOf(nb));
                        if (v > best) {
                            best = v;
                            bestMove = static_cast<signed char>(m);
                        }
                    }
                }
                next[std::size_t(b) * 2 + std::size_t(taken)] = best + gain;
                move[k * n + std::size_t(b) * 2 + std::size_t(taken)] = bestMove;
            }
        }
        value.swap(next);
    }

    // Follow the best moves from the runner's own lane.
    Plan plan;
    plan.at = at;
    int b = -lo, taken = 0;
    for (std::size_t k = 0; k < at.size(); ++k) {
        plan.lanes.push_back(laneOf(b));
        const float lane = laneOf(b);
        int nowTaken = taken;
        if (window[k] >= 0 && !taken && std::fabs(orbs[std::size_t(window[k])]->lane - lane) <= kOrbReach) nowTaken = 1;
        const int m = move[k * n + std::size_t(b) * 2 + std::size_t(taken)];
        taken = (k + 1 < at.size() && window[k] >= 0 && window[k + 1] == window[k]) ? nowTaken : 0;
        b = std::clamp(b + m, 0, bins - 1);
    }
    return plan;
}

// Whether a bomb will meet the runner along its planned lanes at a moment a
// jump started now would clear (a jump is above 40 from 0.09 s to 0.6 s).
bool bombAhead(const SpecialRun& run, const Plan& plan, float dt) {
    for (const SpecialItem& it : run.items) {
        if (it.used || !it.bomb) continue;
        for (std::size_t k = 1; k < plan.at.size(); ++k) {
            if (std::fabs(it.distance - plan.at[k]) > 40.0f || std::fabs(plan.lanes[k] - it.lane) > 0.17f) continue;
            const float t = float(k) * dt;
            if (t >= 0.10f && t <= 0.16f) return true;  // the first frame of a meeting, just in reach of a jump
            break;
        }
    }
    return false;
}

}  // namespace

InputState specialPilot(const SpecialRun& run, float dt, PilotStyle style) {
    InputState in;
    if (!(dt > 0.0f)) return in;
    // Dodging: a bomb costs more than the ten orbs it takes.
    const Plan plan = planPath(run, dt, style == PilotStyle::Dodge ? 12.0f : 0.0f);
    const float lane = plan.lanes.size() > 1 ? plan.lanes[1] : run.lane;
    const float step = kSteerRate * dt;
    if (lane < run.lane - 0.5f * step) in.left = true;
    if (lane > run.lane + 0.5f * step) in.right = true;
    if (run.height == 0.0f && bombAhead(run, plan, dt)) {
        in.jumpPressed = true;
        in.jumpHeld = true;
    }
    return in;
}

SpecialRun pilotStage(int stage, int hero, PilotStyle style, float dt) {
    SpecialRun run = buildStage(stage, hero);
    for (int frame = 0; frame < 100000 && run.result == kSpecialRunning; ++frame)
        stepSpecial(run, specialPilot(run, dt, style), dt);
    return run;
}

int orbsInStage(const SpecialRun& run) {
    return int(std::count_if(run.items.begin(), run.items.end(), [](const SpecialItem& i) { return !i.bomb; }));
}
