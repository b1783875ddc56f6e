#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>
#include <string>
#include <vector>

#include "level/Level.h"
#include "render/Batch.h"
#include "render/Draw.h"

struct Player;

// How one hero is to be drawn. The caller fills it for each drawing: the
// local player in the world, the remote players, the hero cards of menus.
struct HeroPose {
    int hero = 0;              // 0..8
    float x = 0, y = 0;        // centre of the body
    float tilt = 0;            // degrees, when not rolling
    float squash = 0;          // clamped to -0.35..0.45
    float spin = 0;            // radians, the rolling angle
    float flap = 0;            // wing lift of a winged hero
    float time = 0;            // total time
    int facing = 1;            // +1 right, -1 left
    bool rolling = false;
    bool transformed = false;
    bool divine = false;
    bool shielded = false;
    bool flameTrail = false;
    float opacity = 1;         // 0..1
    float scale = 1;
    sf::Color tint = sf::Color::Transparent;  // alpha 0: no tint
};

void drawHero(DrawContext& ctx, const HeroPose& pose);
void drawHero(ShapeBatch& batch, const HeroPose& pose);

// The body colour of a pose: the hero's colour or the forms' colours, then
// blended toward the tint.
sf::Color heroBodyColor(const HeroPose& pose);

// ---- The local player -------------------------------------------------------

// What a mod changes about the player's look. Neutral by default.
struct PlayerLook {
    enum : int { NoTint = 0, Rainbow = 1, FixedTint = 2 };
    int tintMode = NoTint;
    sf::Color tintColor = sf::Color::White;  // for FixedTint
    const sf::Texture* picture = nullptr;   // the mod's player picture, if loaded
};

// The tint a look puts on the body at time t (alpha 0: none).
sf::Color playerTint(const PlayerLook& look, float time);

// The player as the drawing sees it: the pose plus the overlay effects.
struct PlayerFigure {
    HeroPose pose;
    bool gliding = false;
    bool dead = false;
    float hurtTime = 0;
    float blinkTime = 0;
    sf::Vector2f blinkFrom, blinkTo;
    bool charging = false;
    float charge = 0;
    float invincibleTime = 0;
};

// The figure of a player at time t: its pose (a ball while rolling, spinning,
// revving, slamming, homing, in a loop, or always for Bolim; the mod's size
// and tint) and its effect timers.
PlayerFigure playerFigure(const Player& player, float time, const PlayerLook& look = {});

// False on the frames the mercy-time flicker hides a living player.
bool playerFlickerVisible(float hurtTime, bool dead);

// Blink trail, spin-dash dust, star power, then the picture or the hero.
// The batch is flushed before a mod picture is drawn; the caller flushes the
// rest.
void drawLocalPlayer(DrawContext& ctx, ShapeBatch& batch, const PlayerFigure& figure, const PlayerLook& look,
                     float time);
void drawLocalPlayer(DrawContext& ctx, const PlayerFigure& figure, const PlayerLook& look, float time);
void drawLocalPlayer(DrawContext& ctx, const Player& player, const PlayerLook& look, float time);

// ---- Remote players -------------------------------------------------------

// A peer's last state as the lobby knows it.
struct RemotePeer {
    bool local = false;          // this machine's own entry
    std::string name;
    int hero = 0;
    float x = 0, y = 0;
    float spin = 0;              // the drawing angle: radians in a ball, else degrees
    int facing = 1;
    bool ball = false, transformed = false, divine = false, hurt = false;
    bool visible = true;
    int zone = 0, act = 1;
    float secondsSinceHeard = 0;
};

// The multiplayer peers to draw, and where this machine is. An empty list
// (the default) draws nothing.
struct RemoteScene {
    const std::vector<RemotePeer>* peers = nullptr;
    bool inGame = false;  // a multiplayer game is running
    int zone = 0, act = 1;
};

// Heard from within the last 2 s, flagged visible, in the same act, not local.
bool remotePeerShown(const RemotePeer& peer, int zone, int act);
// The pose of a shown peer, and whether the hurt flicker hides it at time t.
HeroPose remotePeerPose(const RemotePeer& peer, float time);
bool remotePeerFlickerVisible(const RemotePeer& peer, float time);

void drawRemotePlayers(DrawContext& ctx, ShapeBatch& batch, const RemoteScene& scene, float time);
void drawRemotePlayers(DrawContext& ctx, const RemoteScene& scene, float time);

// ---- Baddies and hazards --------------------------------------------------

void drawEnemy(ShapeBatch& batch, const Baddie& enemy, float time);
void drawEnemy(DrawContext& ctx, const Baddie& enemy, float time);

// Hazards are drawn where the hazard pass of the play session puts them
// (its crusher, laser and wisp cycles).
void drawHazard(ShapeBatch& batch, const Hazard& hazard, const Level& level, float time);
void drawHazard(DrawContext& ctx, const Hazard& hazard, const Level& level, float time);
