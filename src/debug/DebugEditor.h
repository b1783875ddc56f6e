#pragma once
// The debug editor's pure parts: who may use it, the palette and choosing an
// entry, flying the hero, the cursor and the height it snaps to, placing an
// entry into the live level, granting stones, and finding the object to
// remove near a point. The game side (debug/DebugMode.cpp) turns the results
// into sounds, particles, messages and changes to the hero, the camera and
// the save record.

#include <SFML/System/Vector2.hpp>
#include <array>
#include <cstddef>
#include <string>

#include "level/Level.h"

struct Player;

// ---- Who may use it -------------------------------------------------------------

// The debug setting is on, the game has no save slot, no multiplayer game
// runs and the level is not a course test.
bool debugModeAllowed(bool settingOn, int saveSlot, bool multiplayer, bool courseTest);

// ---- The palette ----------------------------------------------------------------

constexpr int kDebugPaletteSize = 21;

// The entries in palette order; the values are their palette indices.
enum class DebugEntry : int {
    Gem, Spring, BigSpring, Monitor, Crawler, Buzzer, Hopper, Spiker, Bomber, Turret, Checkpoint,
    StonePortal, DashPanel, Spikes, Ledge, SecretStone, DivineStone, FiftyGems, Teleport, GoToBoss, Goal,
};

// The entry names in palette order, as the editor shows them.
const std::array<std::string, kDebugPaletteSize>& debugPalette();
// The name of palette index i, wrapped into the palette.
const std::string& debugEntryName(int index);
// The palette index of a name, or -1 for a name that is not in the palette.
int debugEntryIndex(const std::string& name);

// Index i wrapped into 0..20.
int wrapDebugIndex(long long index);

// The "<" and ">" boxes of the top strip (view units, edges inclusive).
bool inDebugPreviousBox(sf::Vector2f mouse);
bool inDebugNextBox(sf::Vector2f mouse);

struct DebugPick {
    bool previous = false;  // Q, or a click on "<"
    bool next = false;      // E, or a click on ">"
    float wheel = 0;        // mouse-wheel steps this frame
};
// The entry picked this frame: previous, else next, else the wheel's whole
// steps (a step up picks the entry before); wrapped into the palette.
int pickDebugEntry(int index, const DebugPick& pick);

// ---- Flying ---------------------------------------------------------------------

constexpr float kDebugFlySpeed = 600.0f;
constexpr float kDebugFastFlySpeed = 1500.0f;

struct DebugFlyKeys {
    bool left = false, right = false, up = false, down = false;
    bool fast = false;
};
// Moves the hero by the held directions and holds it still otherwise: no
// speed, not grounded, not dead (nor falling from a death), on no surface and
// in no loop.
void flyDebugHero(Player& player, const DebugFlyKeys& keys, float dt);

// ---- Cursor ---------------------------------------------------------------------

constexpr float kDebugStripHeight = 50.0f;  // clicks above this line do not place

// The world point under the mouse (view units) for a camera centre.
sf::Vector2f debugCursor(sf::Vector2f camera, sf::Vector2f mouse);
// Where an item aimed at the cursor stands: on the ground when there is
// ground at its x and the cursor is above it or less than 40 into it, else
// at the cursor.
float debugSnappedY(const Level& level, sf::Vector2f cursor);

// ---- Placing --------------------------------------------------------------------

// What a placement asks of the game beyond the level itself.
enum class DebugCheat : int { None, SecretStone, DivineStone, FiftyGems, Teleport, GoToBoss, Goal };

struct DebugPlacement {
    DebugCheat cheat = DebugCheat::None;
    sf::Vector2f at;     // Teleport, GoToBoss: where the hero goes; Goal: the goal post
    bool burst = false;  // mark the cursor with the particle burst
};

// Applies palette entry `index` at the cursor. Items, baddies and ledges are
// added to the level here; the cheats are handed back. facing is the hero's
// (a dash panel points the same way).
DebugPlacement placeDebugEntry(Level& level, int index, sf::Vector2f cursor, int facing);

// Where "Go to Boss" puts the hero: 100 before the arena, 60 above its ground.
sf::Vector2f debugBossSpot(const Level& level);

struct DebugStoneGrant {
    int mask = 0;        // the mask after the grant
    int stone = -1;      // the stone granted, or -1 when all seven were held
    std::string message;
};
// Grants the lowest stone of the mask not yet held.
DebugStoneGrant grantDebugStone(int mask, bool divine);

// ---- Removing -------------------------------------------------------------------

constexpr float kDebugRemoveRadius = 50.0f;

enum class DebugTarget : int {
    None, Gem, Spring, Monitor, Baddie, Checkpoint, StonePortal, Spikes, DashPanel, Platform,
};

struct DebugFind {
    DebugTarget kind = DebugTarget::None;
    std::size_t index = 0;
    float distance = 0;
    explicit operator bool() const { return kind != DebugTarget::None; }
};

// The removable object nearest to the point, closer than 50 units. Kinds are
// examined in the order of DebugTarget, each at its own reference point; on
// equal distance the one examined first wins.
DebugFind findDebugRemoval(const Level& level, sf::Vector2f point);
// Erases what was found (later entries move up). False when there was
// nothing to erase.
bool eraseDebugFind(Level& level, const DebugFind& found);
