#include "gameplay/Temple.h"

#include <algorithm>
#include <cmath>

#include "core/Input.h"

TempleState enterTemple(bool introSeen) {
    TempleState t;
    t.x = 120.0f;
    t.y = kTempleStandY;
    t.vx = 0.0f;
    t.vy = 0.0f;
    t.onGround = true;
    t.facing = 1;
    t.phaseTime = 0.0f;
    t.armed = false;
    t.phase = introSeen ? kTempleWalking : kTempleDark;
    t.slotsAwake = introSeen ? kStoneCount : 0;
    return t;
}

int templeWarningStage(int divineStones) { return stonesHeld(divineStones) + 8; }

namespace {

void setPhase(TempleState& t, int phase) {
    t.phase = phase;
    t.phaseTime = 0.0f;
}

bool inBox(sf::Vector2f p, float x, float y, float w, float h) {
    return p.x >= x && p.x <= x + w && p.y >= y && p.y <= y + h;
}

float distanceTo(const TempleState& t, sf::Vector2f p) { return std::hypot(t.x - p.x, t.y - p.y); }

void walk(TempleState& t, const InputState& in, float dt, int divineStones, float jumpStrength, TempleStep& out) {
    using K = sf::Keyboard;
    if (in.pressed(K::Escape) || in.pressed(K::Backspace)) {
        out.leave = true;
        return;
    }

    const int d = (in.right ? 1 : 0) - (in.left ? 1 : 0);
    if (d != 0) t.facing = d;
    t.vx += (380.0f * float(d) - t.vx) * std::min(10.0f * dt, 1.0f);

    if (in.jumpPressed && t.onGround) {
        t.vy = -jumpStrength;
        t.onGround = false;
        out.sounds.push_back({kSoundJump, 1.0f});
    }
    if (!in.jumpHeld) t.vy = std::max(t.vy, -400.0f);

    t.vy += 1900.0f * dt;
    t.x = std::clamp(t.x + t.vx * dt, kTempleWallLeft, kTempleWallRight);
    t.y += t.vy * dt;
    if (t.y + 18.0f >= kTempleFloorY) {
        t.y = kTempleStandY;
        t.vy = 0.0f;
        t.onGround = true;
    }

    const int next = lowestMissingStone(divineStones);
    if (next < 0) {
        t.armed = true;
    } else if (distanceTo(t, templeSlotCentre(next)) >= 40.0f) {
        t.armed = true;
    } else if (t.armed) {
        setPhase(t, kTempleWarning);
        t.vx = 0.0f;
        out.sounds.push_back({kSoundWarning, 1.0f});
        return;
    }

    if (distanceTo(t, kTempleDoorway) < 50.0f) out.leave = true;
}

void warning(TempleState& t, const InputState& in, TempleStep& out) {
    using K = sf::Keyboard;
    const bool clickYes =
        in.clicked && inBox(in.mousePos, kTempleYesX, kTempleButtonY, kTempleButtonW, kTempleButtonH);
    const bool clickNo = in.clicked && inBox(in.mousePos, kTempleNoX, kTempleButtonY, kTempleButtonW, kTempleButtonH);
    const bool yes = in.pressed(K::Enter) || in.pressed(K::Space) || clickYes;
    const bool no = in.pressed(K::Escape) || in.pressed(K::Backspace) || clickNo;
    if (yes) {
        // The run starts from here; should nothing start, the player walks on.
        setPhase(t, kTempleWalking);
        t.armed = false;
        out.startDivine = true;
    } else if (no) {
        setPhase(t, kTempleWalking);
        t.armed = false;
        out.sounds.push_back({kSoundMenu, 1.0f});
    }
}

}  // namespace

TempleStep stepTemple(TempleState& t, const InputState& in, float dt, int divineStones, float jumpStrength) {
    TempleStep out;
    if (!(dt > 0.0f) || !std::isfinite(dt)) dt = 0.0f;
    if (!std::isfinite(jumpStrength)) jumpStrength = 0.0f;

    t.phaseTime += dt;
    t.shakeTime = std::max(t.shakeTime - dt, 0.0f);

    switch (t.phase) {
        case kTempleDark:
            if (t.phaseTime >= 1.2f) setPhase(t, kTempleStones);
            break;
        case kTempleStones:
            if (t.phaseTime >= 2.4f) setPhase(t, kTempleRumble);
            break;
        case kTempleRumble:
            if (t.phaseTime >= 1.6f) setPhase(t, kTempleAwaken);
            break;
        case kTempleAwaken: {
            if (t.phaseTime >= 0.25f) {
                const int k = int((t.phaseTime - 0.25f) / 0.7f);
                while (t.slotsAwake <= k && t.slotsAwake < kStoneCount) {
                    out.sounds.push_back({kSoundChime, 0.6f + 0.08f * float(t.slotsAwake)});
                    t.shakeTime = 0.15f;
                    t.slotsAwake += 1;
                }
            }
            if (t.phaseTime >= 5.7f) {
                setPhase(t, kTempleWalking);
                t.slotsAwake = kStoneCount;
                out.introDone = true;
            }
            break;
        }
        case kTempleWalking:
            walk(t, in, dt, divineStones, jumpStrength, out);
            break;
        case kTempleWarning:
            warning(t, in, out);
            break;
        default:
            setPhase(t, kTempleWalking);
            break;
    }
    return out;
}
