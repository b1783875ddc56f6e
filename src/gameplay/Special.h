#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/SoundEffects.h"

struct InputState;
struct DrawContext;

// ---------------------------------------------------------------------------
// The special stage: a run down the inside of a half-pipe, steering, jumping
// bombs and collecting orbs, through three gates that each ask for a running
// total of orbs. Fourteen stages, one per stone: 0-6 for the Secret Stones,
// 7-13 for the Divine Stones.
// ---------------------------------------------------------------------------

constexpr int kStoneCount = 7;
constexpr int kStageCount = 14;
constexpr int kGateCount = 3;
constexpr float kSpecialPlayerAhead = 260.0f;  // the runner stands this far ahead of the camera

// ---- Stones ---------------------------------------------------------------

// Bit i of a stone mask: stone i is held. Only bits 0..6 count.
int stonesHeld(int mask);              // 0..7
bool allStonesHeld(int mask);          // bits 0..6 all set
int lowestMissingStone(int mask);      // 0..6, or -1 when all seven are held

const char* stoneColorName(int index);            // "Red" .. "Purple"; index clamped to 0..6
std::string stoneName(int index, bool divine);    // "Red Secret Stone", "Divine Red Stone"
sf::Color stoneColor(int index);                  // hueColor(index / 7)

// ---- The run --------------------------------------------------------------

struct SpecialItem {
    float distance = 0.0f;
    float lane = 0.0f;   // radians around the pipe, 0 at the bottom
    bool bomb = false;   // false: an orb
    bool used = false;
};

struct SpecialRun {
    int stage = 0;          // 0..13
    bool divine = false;    // stage >= 7
    std::vector<SpecialItem> items;  // in build order
    float distance = 0.0f;  // run so far
    float speed = 0.0f;     // units per second
    float lane = 0.0f;      // -1.25..1.25
    float height = 0.0f;    // jump height above the surface, >= 0
    float jumpSpeed = 0.0f;
    int orbs = 0;           // one running total for the whole run
    int gate = 0;           // gates passed, 0..3
    std::array<float, kGateCount> gatePos{14000.0f, 28000.0f, 42000.0f};
    std::array<int, kGateCount> gateNeed{0, 0, 0};
    float orbFlash = 0.0f;
    float bombFlash = 0.0f;
    float messageTimer = 0.0f;
    float endTimer = 0.0f;
    std::string message;    // the gate message
    int result = 0;         // 0 running, 1 won, 2 failed
    int hero = 0;           // the hero drawn running
    bool reported = false;  // the result has been handed back once
};

enum SpecialResult : int { kSpecialRunning = 0, kSpecialWon = 1, kSpecialFailed = 2 };

// Orbs needed at each gate of a stage (stage clamped to 0..13).
std::array<int, kGateCount> gateNeeds(int stage);

// A fresh run of the stage, with its items from the stage's own generator:
// the same stage number always builds the same items.
SpecialRun buildStage(int stage, int hero);

// What a frame of the run did, for the screen to turn into sounds.
struct SpecialStep {
    int result = kSpecialRunning;  // won or failed on the frame the result has been shown for 3 s
    int orbsTaken = 0;             // orbs picked up this frame
    bool bombHit = false;          // a bomb hit this frame
    bool wonNow = false;           // the last gate was passed this frame
    bool failedNow = false;        // a gate was reached short of orbs this frame
};

// One frame: steering (Left/Right held), jumping (Jump pressed), pickups,
// bombs and gates. The result is handed back once, 3 s after it was decided;
// after that the run lies idle.
SpecialStep stepSpecial(SpecialRun& run, const InputState& input, float dt);

// ---- Sounds by number ---------------------------------------------------------

struct SoundCue {
    int effect = 0;
    float pitch = 1.0f;
};

constexpr int kSoundJump = SoundJump;
constexpr int kSoundOrb = SoundGem;           // played at pitch 1.2 for orbs
constexpr int kSoundBomb = SoundHurt;
constexpr int kSoundChime = SoundCheckpoint;  // the slots awakening, rising in pitch
constexpr int kSoundMenu = SoundMenu;
constexpr int kSoundStone = SoundStone;       // the success jingle
constexpr int kSoundPortal = SoundPortal;     // into and out of the special stage
constexpr int kSoundWarning = 23;             // the low buzz

// The sounds a frame of the run plays: the orb sound at pitch 1.2 when orbs
// went up, the bomb sound on the hit frame, the jingle on the frame of a win.
std::vector<SoundCue> specialSounds(const SpecialStep& step);

// ---- Entering a run -----------------------------------------------------------

// Which run a portal or the temple starts. `start` is false when nothing starts.
struct SpecialEntry {
    bool start = false;
    int stone = -1;       // 0..6
    bool divine = false;
    SpecialRun run;
};

// A stone portal while fewer than seven Secret Stones are held: a Secret run
// for the lowest missing stone, stage = Secret Stones held. Nothing starts
// once all seven are held (the temple or the gem payout takes over).
SpecialEntry enterFromPortal(int secretStones, int hero);

// The temple's slot: a Divine run for the lowest missing Divine Stone, stage
// 7 + Divine Stones held. Nothing starts when all seven are held.
SpecialEntry enterFromTemple(int divineStones, int hero);

// ---- What a stone portal leads to -----------------------------------------------

enum class PortalOutcome { SpecialStage, Temple, Gems };

struct PortalResult {
    PortalOutcome outcome = PortalOutcome::SpecialStage;
    bool toast = false;  // show kDivineHeroesToast
    int gems = 0;        // gems given at once, each a normal pickup
};

inline constexpr const char* kDivineHeroesToast = "Only Fr, Tr, Ktr and Bolim can awaken the Divine Stones";
constexpr int kPortalGemPayout = 50;

// Heroes 1..4 ("Fr", "Tr", "Ktr", "Bolim") can enter the temple.
bool canEnterTemple(int hero);

// What a stone portal leads to, once touched (the item pass has spent it,
// whatever the run that follows brings). Fewer than seven Secret Stones: the special stage. All seven, Divine Stones
// missing and a temple hero: the temple. Otherwise 50 gems, with the toast
// when Divine Stones are still missing.
PortalResult portalOutcome(int secretStones, int divineStones, int hero);

// ---- After a run --------------------------------------------------------------------

// What a finished run does to the save and the achievements.
struct SpecialReward {
    int secretStones = 0;   // the masks after the run
    int divineStones = 0;
    std::vector<int> achievements;  // to unlock, in order
    bool save = false;      // write the slot (when saving is allowed)
};

constexpr int kAchievementStoneSeeker = 4;
constexpr int kAchievementRainbowAgain = 5;

// A win sets the stone's bit in its mask, earns the Secret Stone achievement
// and, with all seven Secret Stones, the one for holding them all, and asks
// for a save. A failed run changes nothing.
SpecialReward specialReward(int result, int stone, bool divine, int secretStones, int divineStones);

// ---- Drawing --------------------------------------------------------------------------

// Where a point on the pipe lands on screen: d ahead of the camera, angle
// theta, radius r from the pipe centre (the surface is at 300); `distance`
// is the run's distance (it bends the pipe). Also gives the depth scale s.
sf::Vector2f projectPipe(float distance, float d, float theta, float radius, float* scaleOut = nullptr);

void drawSpecial(DrawContext& ctx, const SpecialRun& run, float t, const std::string& stoneName,
                 sf::Color stoneColour);
