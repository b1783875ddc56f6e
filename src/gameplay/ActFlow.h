#pragma once
// The frame of an act in play, as plain data and pure steps: the act state,
// the pause and act-select lists, the camera, the side walls, the boss
// trigger, the goal sign, the act-clear bonuses and the way from one act to
// the next. The game object owns one ActState and runs these steps in
// updatePlaying (gameplay/Playing.cpp); tests drive them directly.

#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MenuList.h"
#include "level/Level.h"

struct Player;

// What kind of act is being played. Courses and multiplayer acts have no
// boss: their goal sign stands from the start.
enum class PlayMode : int { Story = 0, Course = 1, Multiplayer = 2 };

constexpr float kTitleCardTime = 2.6f;     // a story act's title card
constexpr float kLobbyTitleCardTime = 2.0f;  // a lobby act's, shorter
constexpr float kGoalClearDelay = 2.2f;    // seconds from touching the goal to the results
constexpr float kRespawnMercy = 1.0f;      // mercy time after the debug editor or a bonus stage
constexpr float kLoopAchievementAngle = 5.6548667f;  // 0.9 of a full turn
constexpr float kResultsMinTime = 1.2f;    // the results cannot be skipped before this
constexpr float kResultsAutoTime = 7.0f;   // and go on by themselves after this

// Everything about the act in play besides the level, the player, the boss
// and the effects. Reset at every act start except `score`.
struct ActState {
    std::int64_t score = 0;   // carried from act to act and stored in the save record
    float actTime = 0;        // seconds since the act started; stops at the goal
    MenuList pauseList;       // the pause menu (the paused flag is the game's)
    float titleCardTime = 0;      // counts down from titleCardLength
    float titleCardLength = 2.6f;  // 2.6 s in a story act, 2 s in a lobby's act
    float shakeTime = 0;      // screen shake left
    sf::Vector2f camera;      // view centre
    sf::Vector2f respawnPoint;
    bool bossStarted = false, bossActive = false, bossDefeated = false;
    bool goalPresent = false, goalReached = false;
    float goalX = 0, goalY = 0, goalSpin = 0, goalTime = 0;
    // A beaten boss's arena keeps its walls until its goal sign is touched.
    bool arenaHeld = false;
    int timeBonus = 0, gemBonus = 0;
    float resultsTime = 0;    // seconds on the results screen
    bool playingCourse = false;
    bool debugActive = false;

    // The line a mod script's "say" shows in the banner, and its time left.
    std::string speech;
    float speechTime = 0;
    // Time since the player state was last sent to the lobby.
    float netSendTimer = 0;
};

// ---- Progression ------------------------------------------------------------

// Acts counted through the story: zone * 2 - 1 + act (zone 0 act 1 is 0,
// zone 5 act 2 is 11). Also the index of the act's act-select button.
int actIndex(int zone, int act);

struct NextAct {
    int zone = 0, act = 1;
    bool ending = false;  // the final act was cleared: the ending follows
};
// The act after (zone, act): act 2 of the zone, then act 1 of the next zone;
// after zone 5 act 2 the ending.
NextAct nextActAfter(int zone, int act);

// ---- Scoring ------------------------------------------------------------------

// Under 60 s 10000, under 90 s 5000, under 120 s 3000, under 180 s 1000,
// under 240 s 500, else 0.
int timeBonusFor(float actTime);
int gemBonusFor(int gems);  // 100 a gem

constexpr int kGoalPoints = 500;
constexpr int kBossPoints = 1000;
constexpr float kSpeedrunTime = 90.0f;  // an act cleared faster earns "Speedrunner"

// ---- Menus ---------------------------------------------------------------------

struct PauseChoice {
    enum : int { Resume = 0, Restart = 1, ActSelect = 2, Leave = 3 };
};
// "Resume", "Restart", "Act Select" and "Back to Editor" (course), "Back to
// Lobby" (multiplayer) or "Quit to Title"; "Act Select" is disabled in a
// course and in multiplayer.
std::vector<MenuButton> pauseButtons(PlayMode mode);

constexpr int kActSelectBack = 12;
// Twelve act buttons and "Back". An act beyond furthestAct is "Locked" and
// disabled, unless every act is open (a "No Save" game).
std::vector<MenuButton> actSelectButtons(int furthestAct, bool allOpen);
// The zone and act of act-select button i (0..11).
int actSelectZone(int button);
int actSelectAct(int button);

// ---- Camera, walls, boss trigger, goal ------------------------------------------

struct CameraInput {
    bool up = false, down = false;
};
// The hero is kept at least this far inside the view's edges.
constexpr float kHeroViewMargin = 40.0f;

// One frame of the camera: lead, look, easing, clamps and the arena's pull.
// During a fight the arena sets the camera's height. Whatever the easing,
// the hero never comes closer than kHeroViewMargin to the view's edges; only
// a fall into a pit leaves through the bottom.
sf::Vector2f stepCamera(sf::Vector2f camera, const Player& player, const Level& level, bool bossFight,
                        CameraInput keys, float dt);

// Keeps the player inside [-380, endX - 18], or inside the arena during a
// boss fight; speeds pointing into a wall are stopped.
void applyWalls(Player& player, const Level& level, bool bossFight);
// The walls of the act in play: the arena's during a fight; after a fight,
// until the goal is touched, from the arena's left to 30 past the goal sign,
// so that a player holding Right meets the sign; else the act's.
void applyWalls(Player& player, const Level& level, const ActState& act);

// A story act's fight starts when the player passes arenaX + 140 and no fight
// has started or been won in this act.
bool bossTriggerDue(const ActState& act, const Level& level, const Player& player, PlayMode mode);
// The point the player respawns at once a fight has started.
sf::Vector2f arenaRespawnPoint(const Level& level);

// The goal of a course or multiplayer act: 160 before the arena's right end,
// 70 above the ground there (arenaY - 70 without ground).
void placeGoalForNoBossAct(ActState& act, const Level& level);
// The goal a beaten boss drops: high above the arena, it falls into place at
// bossX - 160, or, when the player already stands past that, 30 behind the
// player (at most bossX - 48). The arena is held until it is touched.
void dropGoalAfterBoss(ActState& act, const Level& level, float playerX);

struct GoalStep {
    bool touched = false;   // reached this frame: sound, 500 points, "finish"
    bool clearDue = false;  // 2.2 s after the touch: clear the act
};
// One frame of the goal sign while it is present.
GoalStep stepGoal(ActState& act, const Level& level, const Player& player, float dt);

// ---- Trails ------------------------------------------------------------------------------

// True when (time - dt, time] crosses a tick of rate per second whose index
// is a multiple of n.
bool everyNthTick(float time, float dt, float rate, int n);
