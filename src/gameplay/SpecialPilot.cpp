#include "gameplay/SpecialPilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kSteerRate = 2.4f;    // radians per second
constexpr float kHorizon = 1600.0f;   // how far ahead the pilot plans
constexpr float kLaneSlack = 0.12f;   // of the 0.17 pick-up window, what the plan may lean on

struct Target {
    float z = 0.0f;
    float lane = 0.0f;
};

float moveToward(float from, float to, float maxStep) {
    if (std::fabs(to - from) <= maxStep) return to;
    return from + (to > from ? maxStep : -maxStep);
}

// The lane to steer for: the first orb of the longest chain of orbs that can
// be reached one after another at the current speed.
bool planTarget(const SpecialRun& run, Target& out) {
    const float at = run.distance + kSpecialPlayerAhead;
    const float v = std::max(run.speed, 1.0f);
    std::vector<Target> orbs;
    for (const SpecialItem& it : run.items) {
        if (it.used || it.bomb) continue;
        const float dz = it.distance - at;
        if (dz < -40.0f || dz > kHorizon) continue;
        orbs.push_back({it.distance, it.lane});
    }
    if (orbs.empty()) return false;
    std::sort(orbs.begin(), orbs.end(), [](const Target& a, const Target& b) { return a.z < b.z; });

    const std::size_t n = orbs.size();
    std::vector<int> best(n, 0), nextOf(n, -1);
    for (std::size_t i = n; i-- > 0;) {
        best[i] = 1;
        for (std::size_t j = i + 1; j < n; ++j) {
            const float dt = (orbs[j].z - orbs[i].z) / v;
            if (std::fabs(orbs[j].lane - orbs[i].lane) <= kSteerRate * dt + 2.0f * kLaneSlack &&
                best[j] + 1 > best[i]) {
                best[i] = best[j] + 1;
                nextOf[i] = int(j);
            }
        }
    }
    int pick = -1;
    for (std::size_t i = 0; i < n; ++i) {
        const float dt = std::max(orbs[i].z + 40.0f - at, 0.0f) / v;
        if (std::fabs(orbs[i].lane - run.lane) > kSteerRate * dt + kLaneSlack) continue;
        if (pick < 0 || best[i] > best[std::size_t(pick)]) pick = int(i);
    }
    if (pick < 0) return false;
    out = orbs[std::size_t(pick)];

    // Lean toward the next orb of the chain while still inside this one's window.
    if (nextOf[std::size_t(pick)] >= 0) {
        const Target& after = orbs[std::size_t(nextOf[std::size_t(pick)])];
        const float lean = std::clamp(after.lane - out.lane, -kLaneSlack, kLaneSlack);
        const float dz = out.z - at;
        if (dz < 120.0f) out.lane += lean * (1.0f - std::max(dz, 0.0f) / 120.0f);
    }
    return true;
}

// Whether a bomb will meet the runner on the lane it is heading along, at a
// moment a jump started now would clear.
bool bombAhead(const SpecialRun& run, float targetLane) {
    const float at = run.distance + kSpecialPlayerAhead;
    const float v = std::max(run.speed, 1.0f);
    for (const SpecialItem& it : run.items) {
        if (it.used || !it.bomb) continue;
        const float dz = it.distance - at;
        const float tIn = (dz - 40.0f) / v, tOut = (dz + 40.0f) / v;
        // A jump is above 40 from 0.09 s to 0.6 s after take-off.
        if (tIn < 0.10f || tIn > 0.15f || tOut > 0.58f) continue;
        const float a = moveToward(run.lane, targetLane, kSteerRate * tIn);
        const float b = moveToward(run.lane, targetLane, kSteerRate * tOut);
        const float lo = std::min(a, b) - 0.2f, hi = std::max(a, b) + 0.2f;
        if (it.lane >= lo && it.lane <= hi) return true;
    }
    return false;
}

}  // namespace

InputState specialPilot(const SpecialRun& run, float dt) {
    InputState in;
    Target target;
    const float lane = planTarget(run, target) ? target.lane : 0.0f;
    const float step = kSteerRate * dt;
    if (lane < run.lane - 0.5f * step) in.left = true;
    if (lane > run.lane + 0.5f * step) in.right = true;
    if (run.height == 0.0f && bombAhead(run, lane)) {
        in.jumpPressed = true;
        in.jumpHeld = true;
    }
    return in;
}

SpecialRun pilotStage(int stage, int hero, float dt) {
    SpecialRun run = buildStage(stage, hero);
    for (int frame = 0; frame < 100000 && run.result == kSpecialRunning; ++frame)
        stepSpecial(run, specialPilot(run, dt), dt);
    return run;
}

int orbsInStage(const SpecialRun& run) {
    return int(std::count_if(run.items.begin(), run.items.end(), [](const SpecialItem& i) { return !i.bomb; }));
}
