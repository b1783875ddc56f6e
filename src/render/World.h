#pragma once
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>
#include <string>

#include "content/BossLooks.h"
#include "content/Bosses.h"
#include "level/Effects.h"
#include "level/Level.h"
#include "render/Draw.h"
#include "render/Hero.h"

// Everything one frame of an act shows, read-only. The game fills it from
// its members; tools and tests fill it by hand.
struct WorldScene {
    const Level* level = nullptr;  // nothing is drawn without a level
    float time = 0;                // total time t
    sf::Vector2f camera;           // view centre
    float shakeTime = 0;
    const Effects* effects = nullptr;

    const PlayerFigure* player = nullptr;  // the local player, if shown
    PlayerLook look;                       // the mods' picture rules
    RemoteScene remotes;                   // multiplayer peers

    bool goalPresent = false;
    sf::Vector2f goal;       // sign position
    float goalSpin = 0;
    int hero = 0;            // the local player's hero (goal sign back, portal look)

    int secretStones = 0;    // bit masks of the save
    int divineStones = 0;

    std::string playerSpeech;     // the script's line over the player
    float playerSpeechTime = 0;

    // The boss of the act: drawn while the fight is on, or while a beaten
    // boss is still sinking; its speech bubble only while the fight is on.
    const BossState* boss = nullptr;
    bool bossFight = false;
};

// The shake offset of the camera at time t: zero unless the timer runs.
sf::Vector2f shakeOffset(float shakeTime, float t);
// The world view: 960 x 540 around the camera, shifted by the shake.
sf::FloatRect worldViewRect(sf::Vector2f camera, float shakeTime, float t);
// A point-like object at x is drawn only strictly inside the view widened by
// the margin (100 units for objects).
bool insideCull(float x, sf::FloatRect view, float margin = 100);

// Draws the act with the world camera (keeping the current viewport), then
// restores the view the target had before.
void drawWorld(DrawContext& ctx, const WorldScene& scene);
