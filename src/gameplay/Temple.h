#pragma once
#include <SFML/System/Vector2.hpp>
#include <vector>

#include "gameplay/Special.h"

struct InputState;
struct DrawContext;

// ---------------------------------------------------------------------------
// The hidden temple: one screen with seven carved slots, one per Divine
// Stone, and a doorway back to the act. Jumping into the glowing slot of the
// next missing stone and confirming the warning starts its Divine run. The
// first visit of a save plays the awakening.
// ---------------------------------------------------------------------------

// Layout in the 960 x 540 view.
constexpr float kTempleFloorY = 470.0f;
constexpr float kTempleStandY = 452.0f;  // the player's centre when standing
constexpr float kTempleWallLeft = 40.0f;
constexpr float kTempleWallRight = 920.0f;
constexpr float kTempleSlotY = 360.0f;
constexpr float kTempleSlotRadius = 36.0f;
const sf::Vector2f kTempleDoorway{905.0f, 420.0f};

inline sf::Vector2f templeSlotCentre(int i) { return {210.0f + 90.0f * float(i), kTempleSlotY}; }

enum TemplePhase : int {
    kTempleDark = 0,      // 1.2 s
    kTempleStones = 1,    // 2.4 s: the Secret Stones rise around the hero
    kTempleRumble = 2,    // 1.6 s
    kTempleAwaken = 3,    // the slots awaken one by one, until 5.7 s
    kTempleWalking = 4,
    kTempleWarning = 5,
};

// The warning dialog's two buttons (x, y, w, h).
constexpr float kTempleNoX = 300.0f, kTempleYesX = 500.0f, kTempleButtonY = 360.0f;
constexpr float kTempleButtonW = 160.0f, kTempleButtonH = 50.0f;

struct TempleState {
    int phase = kTempleWalking;
    float phaseTime = 0.0f;   // reset at every phase change
    float x = 120.0f, y = kTempleStandY;
    float vx = 0.0f, vy = 0.0f;
    bool onGround = true;
    bool armed = false;       // the next slot may open the warning
    int facing = 1;
    int slotsAwake = 0;       // slots lit so far by the awakening
    float shakeTime = 0.0f;   // screen shake of the awakening
};

// A fresh visit: the awakening on the first visit of a save, walking at once
// on later ones. (The caller ends the player's form, shows the screen and
// plays the temple music.)
TempleState enterTemple(bool introSeen);

// What a frame in the temple asks of the game.
struct TempleStep {
    std::vector<SoundCue> sounds;
    bool introDone = false;    // set the save's intro-seen flag and write the slot (when allowed)
    bool startDivine = false;  // the warning was accepted: enterFromTemple
    bool leave = false;        // leaveTemple: back into the act
};

// The number shown in the warning: the special stage number, 8 for the
// first Divine Stone up to 14 for the last.
int templeWarningStage(int divineStones);

// One frame. `jumpStrength` is the player's full jump speed (hero, form and
// mod scales applied).
TempleStep stepTemple(TempleState& temple, const InputState& input, float dt, int divineStones,
                      float jumpStrength);

// Everything the temple screen draws; `intro` of the hero is its index.
void drawTemple(DrawContext& ctx, const TempleState& temple, float t, int hero, int divineStones);
