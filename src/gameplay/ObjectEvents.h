#pragma once
#include <SFML/System/Vector2.hpp>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/SoundEffects.h"
#include "core/Random.h"
#include "gameplay/Player.h"
#include "level/Effects.h"
#include "level/Level.h"

// What the object, baddie and hazard passes need from the frame, and what they
// report back. The passes change the level, the player and the effect lists
// directly (particles included); everything that belongs to the play session
// (sound, scripts, score, toasts, the respawn point, screen shake, portals)
// comes back as an ObjectEvents record for the session to apply.

// Sound effect numbers the passes raise (the game's SoundId numbers).
struct ObjectSound {
    enum : int {
        Gem = SoundGem,
        Hurt = SoundHurt,
        Spring = SoundSpring,
        Stomp = SoundStomp,          // a baddie broken; a stalactite shattering at pitch 1.5
        DashPanel = 7,               // at pitch 1.4
        Checkpoint = SoundCheckpoint,
        PowerUp = SoundHeart,        // shield, a heart (from a monitor or the gem meter)
        Monitor = SoundMonitor,
    };
};

struct ObjectSoundCue {
    int sound = 0;
    float pitch = 1.0f;
};

struct ObjectEvents {
    std::vector<ObjectSoundCue> sounds;     // in the order raised
    std::vector<std::string> scriptEvents;  // "gem", "stomp", "hurt", "checkpoint"
    std::vector<std::string> toasts;        // "Speed Shoes!", "Invincible!"
    int score = 0;                          // points to add to the running score
    int baddiesBroken = 0;                  // add to the achievement counter
    int hits = 0;                           // hits that took a shield or a heart
    bool killed = false;                    // a hit took the last heart
    std::vector<int> stonePortals;          // portals touched this frame (now marked used)
    std::optional<sf::Vector2f> respawnPoint;  // a checkpoint was reached
    float shake = 0;                        // screen shake asked for, seconds (longest ask)

    void clear() { *this = ObjectEvents(); }
    void sound(int number, float pitch = 1.0f) { sounds.push_back({number, pitch}); }
    void script(std::string name) { scriptEvents.push_back(std::move(name)); }
    void shakeFor(float seconds) { shake = std::max(shake, seconds); }
};

// Plays the raised sounds on anything with playSound(number, pitch), such as
// the game object.
template <class Audio>
void playEventSounds(Audio& audio, const ObjectEvents& events) {
    for (const ObjectSoundCue& c : events.sounds) audio.playSound(c.sound, c.pitch);
}

// The frame as the passes see it. Mod flags are neutral by default.
struct ObjectFrame {
    float dt = 0;
    float time = 0;             // total game time (moving and crumbling ledges)
    bool jumpHeld = false;      // the bounce off a baddie or monitor is higher with Jump held
    int baddiesBrokenBefore = 0;  // the achievement counter before this frame (critter colours)
    bool noBaddies = false;     // "nobadniks": the baddie pass does nothing
    bool doubleGems = false;    // "doublegems": as the player's own flag, every gem counts twice
};

// Shared by the passes.

// A hit on the player; records "hurt", sound 2, a 0.25 s shake, and counts it.
HurtResult hurtPlayer(Player& player, Effects& effects, ObjectEvents& events);

// One gem pickup at point: counts it, 10 points, the gem sound at its pitch,
// "gem", a sparkle rising from point, and sound 19 when a heart came back.
void pickUpGem(Player& player, Effects& effects, const ObjectFrame& frame, ObjectEvents& events,
               sf::Vector2f point);

// The bounce of an airborne player off a broken baddie or monitor.
void bounceOffObject(Player& player, bool jumpHeld);

// Airborne and free: not on a surface and not in a loop.
inline bool playerAirborne(const Player& p) { return !p.grounded && p.loopIndex < 0; }
