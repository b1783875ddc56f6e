#include "gameplay/Special.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/Input.h"
#include "core/Random.h"
#include "render/Draw.h"

// ---- Stones ---------------------------------------------------------------

namespace {
constexpr unsigned kAllStones = (1u << kStoneCount) - 1u;
}

int stonesHeld(int mask) { return std::popcount(unsigned(mask) & kAllStones); }

bool allStonesHeld(int mask) { return (unsigned(mask) & kAllStones) == kAllStones; }

int lowestMissingStone(int mask) {
    for (int i = 0; i < kStoneCount; ++i)
        if ((unsigned(mask) & (1u << i)) == 0) return i;
    return -1;
}

const char* stoneColorName(int index) {
    static const char* const names[kStoneCount] = {"Red", "Orange", "Yellow", "Green", "Cyan", "Blue", "Purple"};
    return names[std::clamp(index, 0, kStoneCount - 1)];
}

std::string stoneName(int index, bool divine) {
    const std::string colour = stoneColorName(index);
    return divine ? "Divine " + colour + " Stone" : colour + " Secret Stone";
}

sf::Color stoneColor(int index) { return hueColor(float(std::clamp(index, 0, kStoneCount - 1)) / 7.0f); }

// ---- Building a stage -----------------------------------------------------

std::array<int, kGateCount> gateNeeds(int stage) {
    stage = std::clamp(stage, 0, kStageCount - 1);
    const int base = stage >= 7 ? 32 : 22;
    return {base + 3 * stage, 2 * base + 6 * stage, 3 * base + 9 * stage};
}

SpecialRun buildStage(int stage, int hero) {
    SpecialRun run;
    run.stage = std::clamp(stage, 0, kStageCount - 1);
    run.divine = run.stage >= 7;
    run.hero = hero;
    run.gateNeed = gateNeeds(run.stage);
    run.speed = 950.0f + 25.0f * float(run.stage);

    XorShift32 rng(387276918u - 776508287u * std::uint32_t(run.stage));
    auto orb = [&run](float z, float lane) { run.items.push_back({z, lane, false, false}); };
    auto bomb = [&run](float z, float lane) { run.items.push_back({z, lane, true, false}); };

    float z = 1500.0f;
    while (z < 42000.0f - 400.0f) {
        const std::uint32_t a = rng.next();
        const float b = rng.rand();
        const float c = b * 1.8f - 0.9f;
        switch (a % 5u) {
            case 0:  // line
                for (int i = 0; i < 8; ++i) orb(z + 120.0f * float(i), c);
                z += 1100.0f;
                break;
            case 1:  // weave
                for (int i = 0; i < 10; ++i) orb(z + 110.0f * float(i), 0.8f * std::sin(0.8f * float(i)));
                z += 1250.0f;
                break;
            case 2:  // guarded line
                for (int i = 0; i < 6; ++i) {
                    const float at = z + 130.0f * float(i);
                    orb(at, c);
                    bomb(at, c + 0.45f);
                    bomb(at, c - 0.45f);
                }
                z += 1000.0f;
                break;
            case 3: {  // bomb wall with one gap
                const float e = rng.rand() * 1.6f - 0.8f;
                for (int k = 0; k < 8; ++k) {
                    const float lane = -1.1f + 0.3f * float(k);
                    if (std::fabs(lane - e) > 0.25f) bomb(z, lane);
                }
                for (int i = 0; i < 5; ++i) orb(z + 120.0f * float(i), e);
                z += 1000.0f;
                break;
            }
            default: {  // diagonal, then loose bombs
                for (int i = 0; i < 12; ++i) orb(z + 100.0f * float(i), 2.0f * float(i) / 11.0f - 1.0f);
                const int bombs = run.divine ? 6 : 3;
                for (int i = 0; i < bombs; ++i) {
                    const float u = rng.rand();
                    const float v = rng.rand();
                    bomb(z + 1200.0f * u, 2.0f * v - 1.0f);
                }
                z += 1350.0f;
                break;
            }
        }
    }
    return run;
}

// ---- The run --------------------------------------------------------------

namespace {
float fallTo0(float v, float dt) { return std::max(v - dt, 0.0f); }
}  // namespace

SpecialStep stepSpecial(SpecialRun& run, const InputState& input, float dt) {
    SpecialStep step;
    if (!(dt > 0.0f) || !std::isfinite(dt)) dt = 0.0f;

    run.orbFlash = fallTo0(run.orbFlash, dt);
    run.bombFlash = fallTo0(run.bombFlash, dt);
    run.messageTimer = fallTo0(run.messageTimer, dt);

    if (run.result != kSpecialRunning) {
        run.endTimer += dt;
        if (run.endTimer > 3.0f && !run.reported) {
            run.reported = true;
            step.result = run.result;
        }
        return step;
    }

    run.speed += 8.0f * dt;
    run.distance += run.speed * dt;

    if (input.left) run.lane -= 2.4f * dt;
    if (input.right) run.lane += 2.4f * dt;
    run.lane = std::clamp(run.lane, -1.25f, 1.25f);

    if (run.height == 0.0f && input.jumpPressed) run.jumpSpeed = 520.0f;
    run.jumpSpeed -= 1500.0f * dt;
    run.height = std::max(run.height + run.jumpSpeed * dt, 0.0f);
    if (run.height == 0.0f) run.jumpSpeed = 0.0f;

    const float at = run.distance + kSpecialPlayerAhead;
    for (SpecialItem& item : run.items) {
        if (item.used) continue;
        const float dz = item.distance - at;
        if (dz < -40.0f || dz > 40.0f || std::fabs(item.lane - run.lane) > 0.17f) continue;
        if (!item.bomb && run.height <= 70.0f) {
            item.used = true;
            run.orbs += 1;
            run.orbFlash = 0.15f;
            step.orbsTaken += 1;
        } else if (item.bomb && run.height <= 40.0f) {
            item.used = true;
            run.orbs = std::max(run.orbs - 10, 0);
            run.bombFlash = 0.5f;
            run.speed *= 0.8f;
            step.bombHit = true;
        }
    }

    if (run.gate < kGateCount && at >= run.gatePos[std::size_t(run.gate)]) {
        if (run.orbs < run.gateNeed[std::size_t(run.gate)]) {
            run.result = kSpecialFailed;
            run.endTimer = 0.0f;
            step.failedNow = true;
        } else {
            run.gate += 1;
            run.messageTimer = 1.5f;
            run.message = run.gate < kGateCount ? "Gate " + std::to_string(run.gate) + " cleared!" : "";
            if (run.gate == kGateCount) {
                run.result = kSpecialWon;
                run.endTimer = 0.0f;
                step.wonNow = true;
            }
        }
    }
    return step;
}

std::vector<SoundCue> specialSounds(const SpecialStep& step) {
    std::vector<SoundCue> cues;
    if (step.orbsTaken > 0) cues.push_back({kSoundOrb, 1.2f});
    if (step.bombHit) cues.push_back({kSoundBomb, 1.0f});
    if (step.wonNow) cues.push_back({kSoundStone, 1.0f});
    return cues;
}

// ---- Entering -------------------------------------------------------------

SpecialEntry enterFromPortal(int secretStones, int hero) {
    SpecialEntry e;
    if (allStonesHeld(secretStones)) return e;
    e.start = true;
    e.stone = lowestMissingStone(secretStones);
    e.divine = false;
    e.run = buildStage(stonesHeld(secretStones), hero);
    return e;
}

SpecialEntry enterFromTemple(int divineStones, int hero) {
    SpecialEntry e;
    if (allStonesHeld(divineStones)) return e;
    e.start = true;
    e.stone = lowestMissingStone(divineStones);
    e.divine = true;
    e.run = buildStage(7 + stonesHeld(divineStones), hero);
    return e;
}

bool canEnterTemple(int hero) { return hero >= 1 && hero <= 4; }

PortalResult portalOutcome(int secretStones, int divineStones, int hero) {
    PortalResult r;
    if (!allStonesHeld(secretStones)) {
        r.outcome = PortalOutcome::SpecialStage;
        return r;
    }
    const bool divineMissing = !allStonesHeld(divineStones);
    if (divineMissing && canEnterTemple(hero)) {
        r.outcome = PortalOutcome::Temple;
        return r;
    }
    r.outcome = PortalOutcome::Gems;
    r.toast = divineMissing;
    r.gems = kPortalGemPayout;
    return r;
}

// ---- After a run ----------------------------------------------------------

SpecialReward specialReward(int result, int stone, bool divine, int secretStones, int divineStones) {
    SpecialReward r;
    r.secretStones = secretStones;
    r.divineStones = divineStones;
    if (result != kSpecialWon || stone < 0 || stone >= kStoneCount) return r;
    (divine ? r.divineStones : r.secretStones) |= 1 << stone;
    r.achievements.push_back(kAchievementStoneSeeker);
    if (allStonesHeld(r.secretStones)) r.achievements.push_back(kAchievementRainbowAgain);
    r.save = true;
    return r;
}

// ---- Projection -----------------------------------------------------------

sf::Vector2f projectPipe(float distance, float d, float theta, float radius, float* scaleOut) {
    const float s = 420.0f / (0.35f * std::max(d, 0.0f) + 420.0f);
    const float w = distance + d;
    const float bx = 260.0f * std::sin(0.0006f * w) * (1.0f - s);
    const float by = 60.0f * std::cos(0.0004f * w) * (1.0f - s);
    if (scaleOut) *scaleOut = s;
    return {480.0f + radius * std::sin(theta) * s + bx, 150.0f + (110.0f + radius * std::cos(theta)) * s - by};
}
