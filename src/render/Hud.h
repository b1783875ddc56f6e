#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>
#include <string>
#include <vector>

#include "render/Draw.h"

struct MenuList;
struct Player;
struct BossState;

// What the play HUD shows; the game fills it from its members.
struct HudInfo {
    float time = 0;          // total time t (flashes, cycling colours)
    int score = 0;
    float actTime = 0;
    int gems = 0;
    int hearts = 3, maxHearts = 3;
    bool shield = false;
    int secretStones = 0, divineStones = 0;  // bit masks
    int hero = 0;
    bool transformed = false;
    float abilityCooldown = 0, flapCooldown = 0;
    float speedShoesTime = 0, invincibleTime = 0;

    bool bossBar = false;    // a fight is on and the boss is not beaten
    std::string bossName;
    int bossHp = 0, bossMaxHp = 1;

    float titleCardTime = 0;      // counts down from titleCardLength
    float titleCardLength = 2.6f;  // what it started from (shorter in a lobby)
    int zone = 0, act = 1;
    bool dead = false;

    enum : int { Solo = 0, Race = 1, Together = 2 };
    int multiplayer = Solo;
    int players = 1;
    bool waitingForNextAct = false;  // together: the local player reached the goal
    bool makerTest = false;
};

// Copies the player's part of the HUD: gems, hearts, shield, hero, form,
// cooldowns, power-up times and whether it is dead.
void hudFromPlayer(HudInfo& hud, const Player& player);

// The boss bar: shown while the fight is on and the boss is not beaten.
void hudFromBoss(HudInfo& hud, const BossState& boss, bool fightOn);

// One line of HUD text, placed in the logical 960 x 540 view.
struct HudLabel {
    std::string text;
    sf::Vector2f pos;
    unsigned size = 18;
    sf::Color color = sf::Color::White;
    float outline = 0;
    int align = kAlignLeft;
};

// The texts of the HUD, in drawing order (rows, hint, meter, timers, boss,
// title card, death message, status lines).
std::vector<HudLabel> hudLabels(const HudInfo& hud);
// The row label flashes red on the even quarter-seconds while alert.
sf::Color hudRowLabelColor(bool alert, float t);
// The ability meter's fill, 0..1.
float abilityMeterFill(int hero, float abilityCooldown, float flapCooldown);
// The title card's ease (0 off screen, 1 in place) with cardTime left of a
// card shown for length seconds: in for 0.3 s, out for the last 0.4 s.
float titleCardEase(float cardTime, float length = 2.6f);

void drawHudRow(DrawContext& ctx, const std::string& label, const std::string& value, float y, bool alert, float t);
void drawHud(DrawContext& ctx, const HudInfo& hud);

// The pause overlay over the play screen.
void drawPause(DrawContext& ctx, const MenuList& pauseList, int hero, float t);

// The act results panel, r seconds after the act was finished.
struct ResultsInfo {
    float r = 0;       // results timer
    float time = 0;    // total time t
    int hero = 0;
    int zone = 0, act = 1;
    int bossId = 0;    // 9 is the final boss
    float actTime = 0;
    int timeBonus = 0, gemBonus = 0;
    int score = 0;
};
std::vector<HudLabel> resultsLabels(const ResultsInfo& res);
void drawResults(DrawContext& ctx, const ResultsInfo& res);
